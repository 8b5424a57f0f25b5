// The user's colours change under the running window. The colours are set for
// real with SetSysColors, which tells every top-level window; high contrast,
// which Wine cannot switch on, is answered through the toolkit's one question.
// The prefix's colours are put back after every test, failing or not.
#include "tests/app/formmain_fixture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/spinbutton.h"
#include "controls/spinedit.h"
#include "tests/controls/control_test_support.h"
#include "toolkit/groupbox.h"
#include "toolkit/highcontrast.h"
#include "toolkit/hotkeyedit.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/theme.h"
#include "toolkit/trackbar.h"
#include "toolkit/checkbox.h"

namespace {

// A black high-contrast scheme, as the system's own is laid out, but for a
// window colour of its own: a trough that paints nothing must not pass for
// one painted in the window colour over the black face behind it.
const std::pair<int, COLORREF> kBlackScheme[] = {
    {COLOR_BTNFACE, RGB(0, 0, 0)},          {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_WINDOW, RGB(0, 0, 48)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(26, 235, 255)},   {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_GRAYTEXT, RGB(63, 242, 63)},     {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)},  {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
    {COLOR_3DLIGHT, RGB(192, 192, 192)},
};

// WCAG 2 relative luminance and contrast ratio.
double Luminance(COLORREF c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double ContrastRatio(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixels of part of a window's surface as it stands (no paint asked for).
class TScreenArea {
public:
    TScreenArea(HWND window, const RECT& r)
    {
        HDC dc = GetDC(window);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) pixels_.push_back(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
    }
    // The colour most of the area shows, and the next most common one.
    std::pair<COLORREF, COLORREF> TwoMostCommon() const
    {
        std::map<COLORREF, int> counts;
        for (COLORREF c : pixels_) ++counts[c];
        std::vector<std::pair<int, COLORREF>> ranked;
        for (const auto& [colour, n] : counts) ranked.push_back({n, colour});
        std::sort(ranked.rbegin(), ranked.rend());
        return {ranked.at(0).second, ranked.size() > 1 ? ranked[1].second : ranked[0].second};
    }

    // The colour most of the area shows, and the one that stands out most
    // from it: on a gradient face the second most common is another band.
    std::pair<COLORREF, COLORREF> BackgroundAndText() const
    {
        const COLORREF background = TwoMostCommon().first;
        COLORREF text = background;
        for (COLORREF c : pixels_)
            if (ContrastRatio(c, background) > ContrastRatio(text, background)) text = c;
        return {background, text};
    }

private:
    std::vector<COLORREF> pixels_;
};

COLORREF ScreenAt(TWinControl* control, int x, int y)
{
    return static_cast<COLORREF>(ctltest::ScreenPixel(control->Handle(), x, y));
}

bool HighContrastOn()
{
    return true;
}

}  // namespace

// A pixel of a surface, and an area of one holding a text.
struct TSurfacePoint {
    const char* what;
    TWinControl* surface;
    int x, y;
};
struct TTextArea {
    const char* what;
    TWinControl* surface;
    RECT area;
};

class SystemColorsTest : public FormMainTest {
protected:
    // Backgrounds of the window, a group box, the settings page and a group on it.
    std::vector<TSurfacePoint> Backgrounds() const
    {
        return {{"window", form, 156, 100},
                {"monitor group", form->GroupBoxMonitor, 20, 100},
                {"settings page", form->TabSheetSettings, 100, 209},
                {"RAM group", form->GroupBoxRam, 300, 50}};
    }

    void SetUp() override
    {
        FormMainTest::SetUp();
        for (const auto& [index, colour] : kBlackScheme) {
            indices_.push_back(index);
            saved_.push_back(GetSysColor(index));
        }
    }

    void TearDown() override
    {
        FormMainTest::TearDown();
        SetHighContrastSource(nullptr);
        RefreshHighContrast();
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), saved_.data());
        SetDarkTheme(false);  // the program's own state: every test leaves it light
    }

    // The main window shown with its settings open and everything painted.
    void ShowWithSettingsOpen()
    {
        status = Machine(4'000'000'000ull, 2'000'000'000ull);  // 50 % free
        Create();
        form->Show();
        form->ActionSettingsExecute(form);
        ctltest::Pump();
    }

    static void UseBlackScheme()
    {
        std::vector<int> indices;
        std::vector<COLORREF> colours;
        for (const auto& [index, colour] : kBlackScheme) {
            indices.push_back(index);
            colours.push_back(colour);
        }
        ASSERT_TRUE(SetSysColors(static_cast<int>(indices.size()), indices.data(), colours.data()));
        ctltest::Pump();
    }

private:
    std::vector<int> indices_;
    std::vector<COLORREF> saved_;
};

// Every background painted before the change, in the old face colour, shows
// the new one afterwards: no brush keeps the colour of its first use.
TEST_F(SystemColorsTest, BackgroundsTakeTheNewFaceColour)
{
    ShowWithSettingsOpen();
    const std::vector<TSurfacePoint> backgrounds = Backgrounds();
    const COLORREF oldFace = GetSysColor(COLOR_BTNFACE);
    // A run killed before its clean-up may have left the black scheme behind.
    ASSERT_NE(oldFace, RGB(0, 0, 0)) << "the prefix is still in the black scheme";
    for (const auto& b : backgrounds) EXPECT_EQ(ScreenAt(b.surface, b.x, b.y), oldFace) << b.what << " before";

    UseBlackScheme();
    for (const auto& b : backgrounds) EXPECT_EQ(ScreenAt(b.surface, b.x, b.y), RGB(0, 0, 0)) << b.what;
}

// Under high contrast the custom controls draw in the user's colours, and
// every text reads at 4.5 : 1 or better against what is behind it. High
// contrast wins over a dark theme chosen before it.
TEST_F(SystemColorsTest, HighContrastDrawsInTheUsersColours)
{
    ShowWithSettingsOpen();
    form->ThemeClick(TThemeChoice::tcDark);
    UseBlackScheme();
    // Switched on after the colours, as a user would; the window hears of it
    // as the system tells it.
    SetHighContrastSource(&HighContrastOn);
    SendMessageW(form->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    ctltest::Pump();

    TSpinButton* spin = form->SpinEditAlarmMB->Button();
    const struct {
        const char* what;
        TWinControl* surface;
        int x, y;
        int systemColour;
    } points[] = {
        {"button face", form->GradientButton1, 75, 2, COLOR_BTNFACE},
        {"button frame", form->GradientButton1, 0, 0, COLOR_BTNTEXT},
        {"disabled button frame", form->SpeedButtonOptimize, 0, 0, COLOR_GRAYTEXT},
        {"memory bar frame", form->GroupBoxMonitor, 64, 30, COLOR_WINDOWTEXT},
        {"memory bar trough", form->GroupBoxMonitor, 64 + 10, 30 + 20, COLOR_WINDOW},
        {"memory bar fill", form->GroupBoxMonitor, 64 + 10, 30 + 100, COLOR_HIGHLIGHT},
        {"spin arrow", spin, spin->UpButton()->Left() + 7, spin->UpButton()->Top() + 5, COLOR_BTNTEXT},
    };
    for (const auto& p : points) EXPECT_EQ(ScreenAt(p.surface, p.x, p.y), GetSysColor(p.systemColour)) << p.what;

    const TTextArea texts[] = {
        {"free memory", form->GroupBoxMonitor, form->LabelFree->BoundsRect()},
        {"percentage", form->GroupBoxMonitor, form->LabelMEMP->BoundsRect()},
        {"button caption", form->GradientButton2, {2, 2, 148, 18}},
    };
    for (const auto& t : texts) {
        const auto [background, text] = TScreenArea(t.surface->Handle(), t.area).TwoMostCommon();
        EXPECT_GE(ContrastRatio(text, background), 4.5) << t.what << std::hex << ": text " << text << " on " << background;
    }
}

// The dark theme, chosen in the tray menu or followed from Windows' app
// mode.
class DarkThemeTest : public SystemColorsTest {
protected:
    void TearDown() override
    {
        SystemColorsTest::TearDown();
        SetAppsUseLightTheme(std::nullopt);
    }

    static void SetAppsUseLightTheme(std::optional<DWORD> value)
    {
        constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
        if (!value) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
            return;
        }
        RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", REG_DWORD, &*value, sizeof *value);
    }

    // As Windows tells every top-level window when the user switches modes.
    static void TellColorSetChanged()
    {
        SendMessageW(Application->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
        ctltest::Pump();
    }

    // Dark: no brighter than a mid-dark grey (#595959).
    static bool IsDark(COLORREF c) { return Luminance(c) < 0.1; }
};

// In the dark theme every surface is dark, and every text on it reads at
// 4.5 : 1 or better.
TEST_F(DarkThemeTest, EverySurfaceIsDarkAndEveryTextReads)
{
    ShowWithSettingsOpen();
    form->ThemeClick(TThemeChoice::tcDark);
    ctltest::Pump();

    TSpinButton* spin = form->SpinEditAlarmMB->Button();
    TPageControl* pages = form->PageControlSettings;
    std::vector<TSurfacePoint> surfaces = Backgrounds();
    surfaces.insert(surfaces.end(), {
        {"button face", form->GradientButton1, 140, 10},
        {"memory bar trough", form->GroupBoxMonitor, 64 + 10, 30 + 2},
        {"spin button", spin, spin->UpButton()->Left() + 2, spin->UpButton()->Top() + 2},
        {"spin edit", form->SpinEditAlarmMB, 4, 4},
        {"tab strip", pages, pages->Width() - 4, 4},
        {"chosen tab", pages, 6, 6},
        {"check box", form->CheckBoxAutoOptimize, form->CheckBoxAutoOptimize->Width() - 2, 2},
        {"check box's box", form->CheckBoxAutoOptimize, 6, form->CheckBoxAutoOptimize->Height() / 2},
        {"slider", form->TrackRAM, 2, 2},
        {"hotkey", form->HotkeyOptimize, 2, 2},
    });
    for (const auto& s : surfaces) {
        const COLORREF c = ScreenAt(s.surface, s.x, s.y);
        EXPECT_TRUE(IsDark(c)) << s.what << std::hex << ": " << c;
    }

    const TTextArea texts[] = {
        {"free memory", form->GroupBoxMonitor, form->LabelFree->BoundsRect()},
        {"percentage", form->GroupBoxMonitor, form->LabelMEMP->BoundsRect()},
        {"button caption", form->GradientButton2, {2, 2, 148, 18}},
        {"group caption", form->GroupBoxRam, {6, 0, 90, 12}},
        {"label", form->GroupBoxMisc, form->LabelRefresh->BoundsRect()},
        {"check box", form->CheckBoxAutoOptimize, {20, 0, 200, form->CheckBoxAutoOptimize->Height()}},
        {"tab", pages, {4, 2, 50, 18}},
        {"hotkey", form->HotkeyOptimize, {1, 1, 100, 15}},
    };
    for (const auto& t : texts) {
        const auto [background, text] = TScreenArea(t.surface->Handle(), t.area).BackgroundAndText();
        EXPECT_TRUE(IsDark(background)) << t.what << std::hex << ": " << background;
        EXPECT_GE(ContrastRatio(text, background), 4.5) << t.what << std::hex << ": text " << text << " on " << background;
    }
}

namespace {

// What the open menu showed: its background and the text that stands out
// most from it, read while the menu loop runs; then the menu is closed.
std::pair<COLORREF, COLORREF> g_menuColours{};
bool g_menuRead = false;
void CALLBACK ReadMenuColours(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, id);
    RECT client{};
    GetClientRect(menu, &client);
    g_menuColours = TScreenArea(menu, client).BackgroundAndText();
    g_menuRead = true;
    EndMenu();
}

}  // namespace

// The tray menu is dark too, its items readable.
TEST_F(DarkThemeTest, TrayMenuIsDark)
{
    Create();
    form->Show();
    auto open = [this] {
        g_menuRead = false;
        SetTimer(nullptr, 0, 50, &ReadMenuColours);
        form->PopupMenuIcon->Popup(100, 100);
        return g_menuRead;
    };
    // Opened light first: the menu made then is not the one shown dark,
    // though nothing in it changed when Windows went dark.
    ASSERT_TRUE(open()) << "the menu never showed";
    EXPECT_FALSE(IsDark(g_menuColours.first)) << std::hex << g_menuColours.first;
    SetAppsUseLightTheme(0);
    TellColorSetChanged();
    ASSERT_TRUE(open()) << "the menu never showed";
    const auto [background, text] = g_menuColours;
    EXPECT_TRUE(IsDark(background)) << std::hex << background;
    EXPECT_GE(ContrastRatio(text, background), 4.5) << std::hex << "text " << text << " on " << background;
}

// Following Windows, the open window turns with the user's app mode, and
// back: no brush keeps the colour it was made in.
TEST_F(DarkThemeTest, FollowsWindowsAppModeBothWays)
{
    ShowWithSettingsOpen();
    const COLORREF lightFace = GetSysColor(COLOR_BTNFACE);
    ASSERT_EQ(ScreenAt(form, 156, 100), lightFace);

    SetAppsUseLightTheme(0);
    TellColorSetChanged();
    EXPECT_TRUE(IsDark(ScreenAt(form, 156, 100)));
    EXPECT_TRUE(IsDark(ScreenAt(form->TabSheetSettings, 100, 209)));

    SetAppsUseLightTheme(1);
    TellColorSetChanged();
    EXPECT_EQ(ScreenAt(form, 156, 100), lightFace);
    EXPECT_EQ(ScreenAt(form->TabSheetSettings, 100, 209), lightFace);
    EXPECT_EQ(ScreenAt(form->CheckBoxAutoOptimize, form->CheckBoxAutoOptimize->Width() - 2, 2), lightFace);

    // Switching back and forth leaves no drawing object behind: the window's
    // and the menu's are remade, never added to.
    auto switchTo = [this](DWORD light) {
        SetAppsUseLightTheme(light);
        TellColorSetChanged();
        form->PopupMenuIcon->Handle();
    };
    switchTo(0);
    switchTo(1);
    const int objects = ctltest::GdiObjects();
    for (int i = 0; i < 3; ++i) {
        switchTo(0);
        switchTo(1);
    }
    EXPECT_EQ(ctltest::GdiObjects(), objects);

    // A choice of its own holds whatever Windows says.
    form->ThemeClick(TThemeChoice::tcLight);
    SetAppsUseLightTheme(0);
    TellColorSetChanged();
    EXPECT_EQ(ScreenAt(form, 156, 100), lightFace);
}

// The choice is kept, and read back at the next start; a stored value that
// is not one of the three follows Windows.
TEST_F(DarkThemeTest, ChoiceSurvivesARestartAndABadValueFollowsWindows)
{
    Create();
    form->ThemeClick(TThemeChoice::tcDark);
    form->Free();
    form = nullptr;
    SetDarkTheme(false);
    ShowWithSettingsOpen();
    EXPECT_TRUE(IsDark(ScreenAt(form, 156, 100)));
    // The menu shows which of the three is chosen.
    HMENU themes = GetSubMenu(form->PopupMenuIcon->Handle(), form->ThemeMenu->MenuIndex());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ((GetMenuState(themes, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0, i == 2) << i;
    form->Free();
    form = nullptr;

    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
    } bad[] = {
        {"out of range", REG_DWORD, {3, 0, 0, 0}},
        {"a string", REG_SZ, {'2', 0, 0, 0}},
        {"too short", REG_BINARY, {2, 0}},
        {"too long", REG_QWORD, {2, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& b : bad) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quenfel", L"Theme", b.type, b.data.data(),
                        static_cast<DWORD>(b.data.size()));
        EXPECT_EQ(ReadThemeSetting(), TThemeChoice::tcWindows) << b.what;
    }
}
