// The icon-file layout (an ICONDIR header, its directory entries and the image
// data), read and written without platform calls so that the parser runs
// under the sanitizers and the fuzzer too.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct TIconFileImage {
    int Width = 0;          // 0 in the file means 256
    int Height = 0;
    int ColorCount = 0;     // palette entries, 0 for true colour
    int BitCount = 0;
    std::vector<std::uint8_t> Data;  // the image as stored: a DIB (header, colours, XOR, AND) or PNG
};

// Parses an icon file. Raises EInvalidGraphic for anything malformed: a wrong
// header, no images, a directory or image reaching past the end of the data.
std::vector<TIconFileImage> ParseIconFile(std::span<const std::uint8_t> bytes);

// Writes images in the icon-file layout. Raises EInvalidGraphic when there are
// none or one is larger than the layout can describe.
std::vector<std::uint8_t> BuildIconFile(const std::vector<TIconFileImage>& images);
