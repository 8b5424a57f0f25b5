// The user's colours change under the running window. The colours are set for
// real with SetSysColors, which tells every top-level window; high contrast,
// which Wine cannot switch on, is answered through the toolkit's one question.
// The prefix's colours are put back after every test, failing or not.
#include "tests/app/formmain_fixture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/spinbutton.h"
#include "controls/spinedit.h"
#include "tests/controls/control_test_support.h"
#include "toolkit/groupbox.h"
#include "toolkit/highcontrast.h"
#include "toolkit/label.h"
#include "toolkit/pagecontrol.h"

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

private:
    std::vector<COLORREF> pixels_;
};

COLORREF ScreenAt(TWinControl* control, int x, int y)
{
    return static_cast<COLORREF>(ctltest::ScreenPixel(control->Handle(), x, y));
}

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

bool HighContrastOn()
{
    return true;
}

}  // namespace

class SystemColorsTest : public FormMainTest {
protected:
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
    const struct {
        const char* what;
        TWinControl* surface;
        int x, y;
    } backgrounds[] = {
        {"window", form, 156, 100},
        {"monitor group", form->GroupBoxMonitor, 20, 100},
        {"settings page", form->TabSheetSettings, 100, 209},
        {"RAM group", form->GroupBoxRam, 300, 50},
    };
    const COLORREF oldFace = GetSysColor(COLOR_BTNFACE);
    // A run killed before its clean-up may have left the black scheme behind.
    ASSERT_NE(oldFace, RGB(0, 0, 0)) << "the prefix is still in the black scheme";
    for (const auto& b : backgrounds) EXPECT_EQ(ScreenAt(b.surface, b.x, b.y), oldFace) << b.what << " before";

    UseBlackScheme();
    for (const auto& b : backgrounds) EXPECT_EQ(ScreenAt(b.surface, b.x, b.y), RGB(0, 0, 0)) << b.what;
}

// Under high contrast the custom controls draw in the user's colours, and
// every text reads at 4.5 : 1 or better against what is behind it.
TEST_F(SystemColorsTest, HighContrastDrawsInTheUsersColours)
{
    ShowWithSettingsOpen();
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

    const struct {
        const char* what;
        TWinControl* surface;
        RECT area;
    } texts[] = {
        {"free memory", form->GroupBoxMonitor, form->LabelFree->BoundsRect()},
        {"percentage", form->GroupBoxMonitor, form->LabelMEMP->BoundsRect()},
        {"button caption", form->GradientButton2, {2, 2, 148, 18}},
    };
    for (const auto& t : texts) {
        const auto [background, text] = TScreenArea(t.surface->Handle(), t.area).TwoMostCommon();
        EXPECT_GE(ContrastRatio(text, background), 4.5) << t.what << std::hex << ": text " << text << " on " << background;
    }
}
