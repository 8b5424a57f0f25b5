#include "toolkit/iconfile.h"

#include <limits>

#include "toolkit/errors.h"

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Write16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Write32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Write16(out, v & 0xFFFF);
    Write16(out, v >> 16);
}

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic(L"Icon image is not valid");
}

}  // namespace

std::vector<TIconFileImage> ParseIconFile(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize) Invalid();
    if (Read16(bytes, 0) != 0 || Read16(bytes, 2) != 1) Invalid();
    const std::size_t count = Read16(bytes, 4);
    if (count == 0) Invalid();
    if (bytes.size() < kHeaderSize + count * kEntrySize) Invalid();
    std::vector<TIconFileImage> images;
    images.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = kHeaderSize + i * kEntrySize;
        TIconFileImage image;
        image.Width = bytes[e] == 0 ? 256 : bytes[e];
        image.Height = bytes[e + 1] == 0 ? 256 : bytes[e + 1];
        image.ColorCount = bytes[e + 2];
        image.BitCount = Read16(bytes, e + 6);
        const std::uint32_t size = Read32(bytes, e + 8);
        const std::uint32_t offset = Read32(bytes, e + 12);
        // Sizes are checked by subtraction so that a huge offset cannot wrap.
        if (size < 40 || offset > bytes.size() || size > bytes.size() - offset) Invalid();
        image.Data.assign(bytes.begin() + offset, bytes.begin() + offset + size);
        images.push_back(std::move(image));
    }
    return images;
}

std::vector<std::uint8_t> BuildIconFile(const std::vector<TIconFileImage>& images)
{
    if (images.empty() || images.size() > 0xFFFF) throw EInvalidGraphic(L"Icon has no image");
    std::vector<std::uint8_t> out;
    Write16(out, 0);
    Write16(out, 1);
    Write16(out, static_cast<std::uint32_t>(images.size()));
    std::uint64_t offset = kHeaderSize + images.size() * kEntrySize;
    for (const auto& image : images) {
        if (image.Width < 1 || image.Width > 256 || image.Height < 1 || image.Height > 256 ||
            offset + image.Data.size() > std::numeric_limits<std::uint32_t>::max())
            throw EInvalidGraphic(L"Icon image is too large");
        out.push_back(static_cast<std::uint8_t>(image.Width == 256 ? 0 : image.Width));
        out.push_back(static_cast<std::uint8_t>(image.Height == 256 ? 0 : image.Height));
        out.push_back(static_cast<std::uint8_t>(image.ColorCount));
        out.push_back(0);
        Write16(out, 1);
        Write16(out, static_cast<std::uint32_t>(image.BitCount));
        Write32(out, static_cast<std::uint32_t>(image.Data.size()));
        Write32(out, static_cast<std::uint32_t>(offset));
        offset += image.Data.size();
    }
    for (const auto& image : images) out.insert(out.end(), image.Data.begin(), image.Data.end());
    return out;
}
