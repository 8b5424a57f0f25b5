// The README's pictures of the main window are taken from the real program
// by scripts/screenshots. A change that resizes the window leaves them
// showing a window that no longer exists; this fails until they are taken
// again.
#include "tests/app/formmain_fixture.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "app/language.h"
#include "settings/languagesetting.h"
#include "settings/themesetting.h"
#include "toolkit/texts.h"
#include "toolkit/theme.h"

namespace {

struct TPicture {
    const char* file;
    const wchar_t* language;  // the stored choice; "" for Windows' own
    bool dark;
};

// As scripts/screenshots sets each one up: 96 dpi, the settings page open.
const TPicture kPictures[] = {
    {"window-settings.png", L"", false},
    {"dark.png", L"", true},
    {"arabic.png", L"ar", false},
};

// The width and height a PNG file gives in its header (IHDR), the first
// chunk after the signature; nothing when the file is missing or no PNG.
std::optional<SIZE> PngSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return std::nullopt;
    constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(head, kSignature, sizeof kSignature) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return std::nullopt;
    auto number = [&head](int at) {
        return static_cast<LONG>(std::uint32_t{head[at]} << 24 | std::uint32_t{head[at + 1]} << 16 |
                                 std::uint32_t{head[at + 2]} << 8 | std::uint32_t{head[at + 3]});
    };
    return SIZE{number(16), number(20)};
}

class ReadmePicturesTest : public FormMainTest {
protected:
    void TearDown() override
    {
        FormMainTest::TearDown();
        SetCurrentLanguage(EnglishLanguage());
        SetDarkTheme(false);
    }
};

} // namespace

TEST_F(ReadmePicturesTest, EachIsTheSizeOfTheWindowItShows)
{
    for (const TPicture& picture : kPictures) {
        SCOPED_TRACE(picture.file);
        ClearAutorunValues();
        // English as the script's Windows speaks it, whatever this one's.
        SetCurrentLanguage(EnglishLanguage());
        if (*picture.language != 0) {
            WriteLanguageSetting(picture.language);
            SpeakChosenLanguage();  // as a start does
        }
        if (picture.dark) WriteThemeSetting(TThemeChoice::tcDark);
        Create();
        form->Show();
        form->ActionSettingsExecute(form);

        const std::string path = std::string(QUENFEL_README_IMAGES) + "/" + picture.file;
        const std::optional<SIZE> size = PngSize(path);
        ASSERT_TRUE(size) << path << " is missing or no PNG: run scripts/screenshots";
        EXPECT_TRUE(size->cx == form->Width() && size->cy == form->Height())
            << path << " is " << size->cx << "x" << size->cy << ", the window it shows is " << form->Width() << "x"
            << form->Height() << ": run scripts/screenshots to take the README's pictures again";
        form->Free();
        form = nullptr;
    }
}
