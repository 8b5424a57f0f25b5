// The short form of a hint: the part before the first "|" (the whole text
// when there is none). Tooltips and the tray icon's tip show this part.
// Platform-free.
#pragma once

#include <string_view>

std::wstring_view ShortHint(std::wstring_view hint);
