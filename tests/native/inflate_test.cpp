// The packed form the languages' texts are kept in: what zlib makes unpacks
// exactly, and data that is not whole never reads past its end or its limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/inflate.h"
#include "toolkit/texts.h"

namespace {

std::vector<unsigned char> Bytes(const char* hex)
{
    std::vector<unsigned char> out;
    for (const char* at = hex; at[0] != '\0' && at[1] != '\0'; at += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(std::string(at, 2), nullptr, 16)));
    return out;
}

} // namespace

TEST(Inflate, UnpacksWhatZlibPacksAndRefusesWhatIsNotWhole)
{
    const struct {
        const char* packed;  // raw DEFLATE, in hex
        std::size_t limit;
        const char* expected;  // nullptr: refused
    } cases[] = {
        {"010300fcff616263", 100, "abc"},                    // a stored block
        {"4b4c4a4e444200", 100, "abcabcabcabcabc"},           // fixed codes, a copy overlapping itself
        {"4b4c4a4e444200", 15, "abcabcabcabcabc"},            // exactly at the limit
        {"4b4c4a4e444200", 14, nullptr},                      // one byte over it
        {"010300fcff616263", 2, nullptr},                     // a stored block over it
        {"", 100, nullptr},                                   // nothing
        {"4b4c4a4e", 100, nullptr},                           // cut before its end code
        {"010300fcff6162", 100, nullptr},                     // stored, cut
        {"010300fdff616263", 100, nullptr},                   // stored, its length's complement wrong
        {"000300fcff616263", 100, nullptr},                   // not the last block, and nothing follows
        {"07", 100, nullptr},                                 // the reserved block type
        {"030200", 100, nullptr},                             // a copy from before the start
    };
    for (const auto& c : cases) {
        const auto packed = Bytes(c.packed);
        const auto unpacked = Inflate(packed, c.limit);
        if (c.expected == nullptr)
            EXPECT_FALSE(unpacked.has_value()) << c.packed << " limit " << c.limit;
        else
            EXPECT_EQ(unpacked.value_or("(refused)"), c.expected) << c.packed;
    }
}

TEST(Inflate, EveryLanguageSpeaksItsOwnTextsNotEnglishs)
{
    // A table that failed to unpack would read as English, text by text.
    for (const TLanguage& language : Languages()) {
        if (&language == &EnglishLanguage()) continue;
        std::size_t own = 0;
        for (std::size_t id = 0; id < kTextCount; ++id) {
            SetCurrentLanguage(EnglishLanguage());
            const std::wstring english = Text(static_cast<TText>(id));
            SetCurrentLanguage(language);
            own += Text(static_cast<TText>(id)) != english ? 1 : 0;
        }
        EXPECT_GT(own, kTextCount / 2) << ToUtf8(language.Tag);
    }
    SetCurrentLanguage(EnglishLanguage());
}
