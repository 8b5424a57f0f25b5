#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "controls/iconlist_stream.h"
#include "toolkit/errors.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Int32(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<Bytes> ReadAll(const Bytes& data)
{
    std::vector<Bytes> entries;
    ReadIconListStream(data, [&](std::span<const std::uint8_t> e) { entries.emplace_back(e.begin(), e.end()); });
    return entries;
}

} // namespace

TEST(IconListStream, IconAndEmptyIconRoundTrip)
{
    const Bytes icon = {0, 0, 1, 0, 1, 0, 32, 32, 0xAB};
    const Bytes stored = WriteIconListStream({icon, {}});
    EXPECT_EQ(stored, Cat({Int32(2), Int32(9), icon, Int32(0)}));
    EXPECT_EQ(ReadAll(stored), (std::vector<Bytes>{icon, {}}));
    EXPECT_EQ(WriteIconListStream({}), Int32(0));
}

TEST(IconListStream, CountOfZeroOrLessIsAnEmptyList)
{
    EXPECT_TRUE(ReadAll(Int32(0)).empty());
    EXPECT_TRUE(ReadAll(Int32(-5)).empty());
    EXPECT_TRUE(ReadAll(Cat({Int32(INT32_MIN), Int32(4)})).empty());
}

TEST(IconListStream, NonPositiveSizeIsANullEntry)
{
    EXPECT_EQ(ReadAll(Cat({Int32(2), Int32(-1), Int32(1), Bytes{7}})), (std::vector<Bytes>{{}, {7}}));
}

TEST(IconListStream, TruncatedDataKeepsEarlierEntriesAndFailsClearly)
{
    const Bytes first = {1, 2, 3};
    struct Case { const char* what; Bytes data; size_t before; };
    const Case cases[] = {
        {"empty", {}, 0},
        {"short count", {1, 0}, 0},
        {"missing size", Cat({Int32(2), Int32(3), first}), 1},
        {"short data", Cat({Int32(2), Int32(3), first, Int32(5), Bytes{9, 9}}), 1},
        {"huge size", Cat({Int32(1), Int32(INT32_MAX), first}), 0},
        {"huge count", Cat({Int32(INT32_MAX), Int32(0), Int32(0)}), 2},
    };
    for (const auto& c : cases) {
        size_t delivered = 0;
        try {
            ReadIconListStream(c.data, [&](std::span<const std::uint8_t>) { ++delivered; });
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), L"Icon list data are truncated") << c.what;
        }
        EXPECT_EQ(delivered, c.before) << c.what;
    }
}

TEST(IconListStream, TrailingBytesAreLeftAlone)
{
    EXPECT_EQ(ReadAll(Cat({Int32(1), Int32(1), Bytes{5}, Bytes{1, 2, 3}})), (std::vector<Bytes>{{5}}));
}

TEST(IconListStream, ErrorOfTheIconLoaderPassesThrough)
{
    const Bytes stored = Cat({Int32(3), Int32(1), Bytes{1}, Int32(1), Bytes{2}, Int32(1), Bytes{3}});
    int calls = 0;
    EXPECT_THROW(ReadIconListStream(stored,
                                    [&](std::span<const std::uint8_t> e) {
                                        ++calls;
                                        if (e[0] == 2) throw EInvalidGraphic(L"Icon image is not valid");
                                    }),
                 EInvalidGraphic);
    EXPECT_EQ(calls, 2);
}

#ifdef QUENFEL_ICONLIST_CORPUS
#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolkit/iconfile.h"

namespace {

// The fuzzer's seeds must carry real icon images, or its runs never get past
// the framing into the image parser.
TEST(IconListSeeds, EverySeedFramesAndHoldsParsableIconImages)
{
    int seeds = 0, images = 0;
    for (const auto& file : std::filesystem::directory_iterator(QUENFEL_ICONLIST_CORPUS)) {
        std::ifstream in(file.path(), std::ios::binary);
        const Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(file.path().filename().string());
        ++seeds;
        for (const Bytes& entry : ReadAll(data)) {
            if (entry.empty()) continue;
            const auto parsed = ParseIconFile(entry);
            ASSERT_FALSE(parsed.empty());
            for (const auto& image : parsed) {
                EXPECT_GE(image.Width, 16);
                EXPECT_GE(image.BitCount, 1);
            }
            images += static_cast<int>(parsed.size());
        }
    }
    EXPECT_GE(seeds, 3);
    EXPECT_GE(images, 5);
}

}  // namespace
#endif
