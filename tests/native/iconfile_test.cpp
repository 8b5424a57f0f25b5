// The icon-file layout parser: round trip and refusal of damaged data.
#include <gtest/gtest.h>

#include "toolkit/errors.h"
#include "toolkit/iconfile.h"

namespace {

TIconFileImage Image(int w, std::size_t size)
{
    TIconFileImage i;
    i.Width = w;
    i.Height = w;
    i.BitCount = 32;
    i.Data.assign(size, 0);
    for (std::size_t k = 0; k < size; ++k) i.Data[k] = static_cast<std::uint8_t>(k * 7);
    return i;
}

TEST(IconFile, BuildAndParseRoundTrip)
{
    const auto bytes = BuildIconFile({Image(16, 60), Image(256, 100)});
    EXPECT_EQ(bytes.size(), 6u + 2 * 16 + 160);
    EXPECT_EQ(bytes[6 + 16], 0);  // 256 is stored as 0
    const auto images = ParseIconFile(bytes);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].Width, 16);
    EXPECT_EQ(images[1].Width, 256);
    EXPECT_EQ(images[1].BitCount, 32);
    EXPECT_EQ(images[1].Data, Image(256, 100).Data);
}

TEST(IconFile, DamagedDataIsRefused)
{
    auto bytes = BuildIconFile({Image(32, 60)});
    EXPECT_THROW(ParseIconFile(std::span(bytes).first(5)), EInvalidGraphic);
    EXPECT_THROW(ParseIconFile(std::span(bytes).first(bytes.size() - 1)), EInvalidGraphic);
    auto noImages = bytes;
    noImages[4] = 0;
    EXPECT_THROW(ParseIconFile(noImages), EInvalidGraphic);
    auto farOffset = bytes;
    farOffset[6 + 12] = 0xFF;
    farOffset[6 + 15] = 0xFF;  // an offset near 4 GiB must not wrap around
    EXPECT_THROW(ParseIconFile(farOffset), EInvalidGraphic);
    auto hugeSize = bytes;
    hugeSize[6 + 11] = 0xFF;
    EXPECT_THROW(ParseIconFile(hugeSize), EInvalidGraphic);
    auto manyImages = bytes;
    manyImages[4] = 200;  // the directory would run past the data
    EXPECT_THROW(ParseIconFile(manyImages), EInvalidGraphic);
    EXPECT_THROW(BuildIconFile({}), EInvalidGraphic);
}

}  // namespace
