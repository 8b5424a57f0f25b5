// Which of the drawn sizes of a picture a dpi shows. Pictures are drawn at
// 100, 125, 150 and 200 % (96, 120, 144 and 192 dpi); a bitmap is never
// stretched, so a dpi shows the drawn size nearest it, the larger of two
// equally near (a picture a little too large reads better than one too
// small). Platform-free.
#pragma once

#include <string>

// The drawn scale for dpi, in percent.
int ArtworkScale(int dpi);
// The resource of that size: an identifier plus 1000, 2000 or 3000, a name
// plus "_125", "_150" or "_200"; the plain one at 100 %.
int ArtworkResourceId(int id, int dpi);
std::wstring ArtworkResourceName(const std::wstring& name, int dpi);
