// The free memory drawn as the tray icon's picture: the icons read back pixel
// by pixel at every small-icon size on both taskbars, the shell asked to
// change the picture only when it changes, and no drawing object or icon
// left behind by a long run of changes.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/contrast.h"
#include "controls/trayfigureicon.h"
#include "controls/trayicon.h"
#include "resources/resource.h"
#include "tests/controls/control_test_support.h"
#include "tests/support/user_values.h"

namespace {

using enum TFreeLevel;

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr TColor kMonitorGreen = 0x0028C162;  // the monitor bar's colour

// An icon's colour image as 0xAARRGGBB, top row first.
struct TIconPixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Argb;
    std::uint32_t At(int x, int y) const { return Argb.at(static_cast<size_t>(y) * Width + x); }
};

TIconPixels ReadIcon(HICON icon)
{
    TIconPixels p;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return p;
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    p.Width = bm.bmWidth;
    p.Height = bm.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.Width;
    bi.bmiHeader.biHeight = -p.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    p.Argb.resize(static_cast<size_t>(p.Width) * p.Height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, p.Height, p.Argb.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return p;
}

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// The colour's hue in degrees (0 red, 40 amber, about 100 the monitor's green).
double Hue(std::uint32_t rgb)
{
    const double r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi == lo) return -1;  // grey has none
    double h = hi == r ? 60 * (g - b) / (hi - lo) : hi == g ? 120 + 60 * (b - r) / (hi - lo) : 240 + 60 * (r - g) / (hi - lo);
    return h < 0 ? h + 360 : h;
}

bool HueIsLevel(double hue, TFreeLevel level)
{
    switch (level) {
    case flNormal: return hue >= 75 && hue <= 140;
    case flNear: return hue >= 25 && hue <= 55;
    case flBelow: return hue >= 0 && (hue <= 12 || hue >= 348);
    }
    return false;
}

// Text on the taskbar: near-white on a dark one, near-black on a light one.
bool IsTaskbarText(std::uint32_t argb, bool light)
{
    if ((argb >> 24) != 0xFF) return false;
    const int r = Channel(argb, 16), g = Channel(argb, 8), b = Channel(argb, 0);
    return light ? r <= 0x30 && g <= 0x30 && b <= 0x30 : r >= 0xF0 && g >= 0xF0 && b >= 0xF0;
}

// Counts of this process's icons, as ctltest::GdiObjects counts drawing objects.
int IconObjects()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<int>(n);
    int n = 0;
    for (UINT_PTR i = 0x20; i < 0x10000; i += 2) {
        ICONINFO info{};
        if (!GetIconInfo(reinterpret_cast<HICON>(i), &info)) continue;
        ++n;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return n;
}

bool IconAlive(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// Counts the changes of picture on their way to the real shell, and checks
// at each one that the picture being replaced is still alive then.
class TCountingTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    int Modifies = 0;
    std::vector<HICON> Handed;  // every picture the shell was given, in order
    bool OldGoneTooEarly = false;

protected:
    bool NotifyShell(DWORD message, NOTIFYICONDATAW& data) override
    {
        if (message == NIM_MODIFY) ++Modifies;
        if (message != NIM_DELETE && (Handed.empty() || Handed.back() != data.hIcon)) {
            if (!Handed.empty() && !IconAlive(Handed.back())) OldGoneTooEarly = true;
            Handed.push_back(data.hIcon);
        }
        return TTrayIcon::NotifyShell(message, data);
    }
};

class TrayFigureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme");
        program.LoadFromResourceID(GetModuleHandleW(nullptr), IDI_QUENFEL);
        tray->SetHint(L"512 MB Available");
        tray->SetIcon(&program);
        ASSERT_TRUE(tray->IconAdded());
    }
    void TearDown() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme"); }

    TIcon program;
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TCountingTrayIcon* tray = new TCountingTrayIcon(owner.get());
    TTrayFigureIcon figure{*tray};
};

} // namespace

TEST(TrayFigureDrawing, EachSizeAndTaskbarShowsTheNumberOnTheLevelsColour)
{
    const struct {
        int percent;
        TFreeLevel level;
    } figures[] = {{0, flBelow}, {7, flNear}, {42, flNormal}, {99, flNear}};
    for (const auto& f : figures) {
        for (int size : {16, 20, 24, 32}) {
            for (bool light : {false, true}) {
                SCOPED_TRACE(std::to_string(f.percent) + "% at " + std::to_string(size) + (light ? " light" : " dark"));
                const TTrayFigureLook look{{f.percent, f.level}, size, light, 0x0062C128};
                const TUniqueIcon icon = CreateTrayFigureIcon(look);
                ASSERT_TRUE(icon);
                const TIconPixels p = ReadIcon(icon.Get());
                ASSERT_EQ(p.Width, size);
                ASSERT_EQ(p.Height, size);

                // Opaque inside, see-through past the rounded corners, and
                // partly covered pixels between: a smooth edge on any taskbar.
                int opaque = 0, partial = 0, text = 0;
                std::map<std::uint32_t, int> background;
                for (std::uint32_t c : p.Argb) {
                    const std::uint32_t alpha = c >> 24;
                    if (alpha == 0xFF) ++opaque;
                    else if (alpha != 0) ++partial;
                    if (IsTaskbarText(c, light)) ++text;
                    else if (alpha == 0xFF) ++background[c & 0xFFFFFF];
                }
                EXPECT_EQ(p.At(0, 0) >> 24, 0u);
                EXPECT_EQ(p.At(size - 1, size - 1) >> 24, 0u);
                EXPECT_EQ(p.At(size / 2, 0) >> 24, 0xFFu);
                EXPECT_GE(opaque, size * size * 85 / 100);
                EXPECT_GE(partial, 4);

                // The digits in the taskbar's own text colour: more than a
                // lone "7" of thin strokes, less than half the picture.
                EXPECT_GE(text, size * size * 5 / 100);
                EXPECT_LE(text, size * size * 45 / 100);

                // The most common other colour is the badge: the level's hue,
                // and the digits stand out from it.
                ASSERT_FALSE(background.empty());
                auto fill = background.begin();
                for (auto it = background.begin(); it != background.end(); ++it)
                    if (it->second > fill->second) fill = it;
                EXPECT_TRUE(HueIsLevel(Hue(fill->first), f.level)) << std::hex << fill->first;
                EXPECT_GE(ContrastRatio(fill->first, light ? 0x1A1A1A : 0xFFFFFF), 4.5) << std::hex << fill->first;
            }
        }
    }
}

TEST_F(TrayFigureTest, TheShellIsAskedOnlyWhenTheNumberOrTheLevelChanges)
{
    const struct {
        int percent;
        TFreeLevel level;
        bool modify;
    } ticks[] = {
        {42, flNormal, true},  {42, flNormal, false}, {42, flNormal, false}, {41, flNormal, true},
        {41, flNear, true},    {41, flNear, false},   {7, flBelow, true},    {7, flBelow, false},
    };
    int expected = tray->Modifies;
    for (size_t i = 0; i < std::size(ticks); ++i) {
        figure.Show({ticks[i].percent, ticks[i].level}, kMonitorGreen);
        if (ticks[i].modify) ++expected;
        EXPECT_EQ(tray->Modifies, expected) << "tick " << i;
    }
    EXPECT_EQ(figure.Size(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(ReadIcon(tray->Icon().Handle()).Width, figure.Size());

    // Another setting changed: the same picture stays.
    figure.SystemSettingsChanged(WM_SETTINGCHANGE, reinterpret_cast<LPARAM>(L"Environment"));
    EXPECT_EQ(tray->Modifies, expected);
    // The user switched to a light taskbar: drawn once for it.
    testsupport::SetUserDword(kPersonalize, L"SystemUsesLightTheme", 1);
    figure.SystemSettingsChanged(WM_SETTINGCHANGE, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_TRUE(figure.LightTaskbar());
    EXPECT_EQ(tray->Modifies, ++expected);
    figure.Show({7, flBelow}, kMonitorGreen);
    EXPECT_EQ(tray->Modifies, expected);

    // Each picture replaced was alive when the shell got the next one, and
    // is gone now; only the one on show is left.
    EXPECT_FALSE(tray->OldGoneTooEarly);
    ASSERT_GE(tray->Handed.size(), 6u);
    for (size_t i = 1; i + 1 < tray->Handed.size(); ++i) EXPECT_FALSE(IconAlive(tray->Handed[i])) << "picture " << i;
    EXPECT_TRUE(IconAlive(tray->Handed.back()));

    // Off: the program's own picture again, exactly.
    figure.Stop(program);
    EXPECT_FALSE(figure.Showing());
    EXPECT_EQ(tray->Icon().Handle(), program.Handle());
    EXPECT_EQ(tray->Modifies, ++expected);
    EXPECT_FALSE(IconAlive(tray->Handed[tray->Handed.size() - 2]));
    figure.Stop(program);
    EXPECT_EQ(tray->Modifies, expected);
}

TEST_F(TrayFigureTest, AThousandChangesLeaveNoDrawingObjectOrIconBehind)
{
    auto change = [&](int i) {
        figure.Show({i % 100, static_cast<TFreeLevel>(i % 3)}, kMonitorGreen);
    };
    for (int i = 0; i < 10; ++i) change(i);  // whatever the system keeps after its first use
    const int gdi = ctltest::GdiObjects(), icons = IconObjects();
    for (int i = 10; i < 1010; ++i) change(i);
    EXPECT_EQ(ctltest::GdiObjects(), gdi);
    EXPECT_EQ(IconObjects(), icons);
    EXPECT_GE(tray->Modifies, 1000);
}
