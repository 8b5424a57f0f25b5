// The main window as laid out: every windowed control's class, place, parent,
// visibility and tab order against one table; where hints show; and chosen
// pixels of the design-size window.
#include "tests/app/formmain_fixture.h"

#include <string>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayicon.h"
#include "toolkit/checkbox.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/progressbar.h"
#include "toolkit/trackbar.h"

namespace {

struct TPlace {
    const wchar_t* name;
    const wchar_t* windowClass;
    const wchar_t* parent;
    int left, top, width, height;
    bool visible;
    int tabOrder;
};

// Design positions, relative to the parent's client area (a group box's is
// its whole rectangle). Tab sheets take their rectangles from the page control.
const TPlace kWindowed[] = {
    {L"GroupBoxMonitor", L"QuenfelWindow", L"FormMain", 3, 3, 150, 195, true, 0},
    {L"ProgressBarCPU", L"msctls_progress32", L"GroupBoxMonitor", 10, 30, 17, 125, false, 0},
    {L"ProgressBarMEM2", L"msctls_progress32", L"GroupBoxMonitor", 39, 30, 17, 125, false, 1},
    {L"GroupBoxOptimizing", L"QuenfelWindow", L"FormMain", 4, 307, 149, 38, true, 1},
    {L"ProgressBarFree2", L"msctls_progress32", L"GroupBoxOptimizing", 5, 11, 83, 11, false, 0},
    {L"PageControlSettings", L"SysTabControl32", L"FormMain", 159, 11, 331, 286, true, 2},
    {L"GroupBoxRam", L"QuenfelWindow", L"TabSheetSettings", 5, 12, 315, 65, true, 0},
    {L"TrackRAM", L"msctls_trackbar32", L"GroupBoxRam", 3, 18, 246, 35, true, 0},
    {L"GroupBoxAlarm", L"QuenfelWindow", L"TabSheetSettings", 5, 84, 315, 61, true, 1},
    {L"CheckBoxAutoOptimize", L"Button", L"GroupBoxAlarm", 10, 29, 219, 17, true, 0},
    {L"SpinEditAlarmMB", L"Edit", L"GroupBoxAlarm", 231, 26, 51, 22, true, 1},
    {L"GroupBoxMisc", L"QuenfelWindow", L"TabSheetSettings", 5, 152, 315, 54, true, 2},
    {L"SpinEditRefresh", L"Edit", L"GroupBoxMisc", 94, 20, 51, 22, true, 0},
    {L"CheckBoxAutoRun2", L"Button", L"GroupBoxMisc", 160, 21, 145, 17, true, 1},
    {L"CheckBoxAutoRun", L"Button", L"GroupBoxMisc", 160, 8, 97, 17, false, 2},
    {L"GroupBox1", L"QuenfelWindow", L"TabSheetAbout", 8, 8, 305, 217, true, 0},
    {L"GroupBox2", L"QuenfelWindow", L"GroupBox1", 16, 56, 273, 73, true, 0},
    {L"SpeedButtonOptimize", L"QuenfelWindow", L"FormMain", 3, 202, 150, 27, true, 3},
    {L"SpeedButtonSettings", L"QuenfelWindow", L"FormMain", 3, 232, 150, 20, true, 4},
    {L"GradientButton1", L"QuenfelWindow", L"FormMain", 3, 254, 150, 20, true, 5},
    {L"GradientButton2", L"QuenfelWindow", L"FormMain", 3, 276, 150, 20, true, 6},
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

COLORREF PixelOf(TWinControl* control, int x, int y)
{
    HWND window = control->Handle();
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

} // namespace

class LayoutTest : public FormMainTest {
protected:
    TWinControl* Windowed(const std::wstring& name)
    {
        if (name == L"FormMain") return form;
        return dynamic_cast<TWinControl*>(form->FindComponent(name));
    }
};

TEST_F(LayoutTest, EveryWindowedControlSitsWhereDesigned)
{
    Create();
    for (const TPlace& p : kWindowed) {
        SCOPED_TRACE(ToUtf8(p.name));
        TWinControl* control = Windowed(p.name);
        ASSERT_NE(control, nullptr);
        TWinControl* parent = Windowed(p.parent);
        ASSERT_NE(parent, nullptr);
        HWND window = control->Handle();
        EXPECT_EQ(GetParent(window), parent->Handle());
        EXPECT_EQ(_wcsicmp(ClassOf(window).c_str(), p.windowClass), 0) << ToUtf8(ClassOf(window));
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, parent->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, p.left);
        EXPECT_EQ(r.top, p.top);
        EXPECT_EQ(r.right - r.left, p.width);
        EXPECT_EQ(r.bottom - r.top, p.height);
        EXPECT_EQ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0, p.visible);
        EXPECT_EQ(control->TabOrder(), p.tabOrder);
    }
    // The pages fill the page control's page area; only the first shows.
    EXPECT_EQ(form->PageControlSettings->ActivePage(), form->TabSheetSettings);
    EXPECT_TRUE(form->TabSheetSettings->Visible());
    EXPECT_FALSE(form->TabSheetAbout->Visible());
}

TEST_F(LayoutTest, CompactWindowClipsThePageControlWithoutScrollBars)
{
    Create();
    EXPECT_EQ(form->Width(), 164);
    const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_LT(client.right, 159 + 331);  // the page control is cut off
}

TEST_F(LayoutTest, HintShowsOverTheMonitorGroupAndNowhereElse)
{
    Create();
    const std::wstring hint = L"Double click to tray";
    EXPECT_EQ(TForm::HintFor(form->GroupBoxMonitor), hint);
    EXPECT_EQ(TForm::HintFor(form->LabelMEMP), hint);
    EXPECT_EQ(TForm::HintFor(form->LabelFree), hint);
    EXPECT_EQ(TForm::HintFor(form->ProgressBarMEM), hint);
    EXPECT_EQ(TForm::HintFor(form->GroupBoxRam), L"");
    EXPECT_EQ(TForm::HintFor(form->TrackRAM), L"");
    EXPECT_EQ(TForm::HintFor(form->SpeedButtonOptimize), L"");
    EXPECT_EQ(TForm::HintFor(form), L"");
}

TEST_F(LayoutTest, DoubleClickOnTheGroupBoxGoesToTrayButNotOnItsBar)
{
    Create();
    form->Show();
    HWND box = form->GroupBoxMonitor->Handle();
    // On the bar: the bar has no handler, so nothing happens.
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(70, 100));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(70, 100));
    EXPECT_FALSE(form->TrayIcon->Active());
    // On the group box's own surface: to the tray.
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 100));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(20, 100));
    EXPECT_TRUE(form->TrayIcon->Active());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(LayoutTest, DesignSizeWindowShowsGradientButtonsAndBars)
{
    status = Machine(4'000'000'000ull, 2'000'000'000ull);  // 50 % free
    Create();
    form->SetWidth(164 + 336);
    form->Show();
    Application->ProcessMessages();

    // "&Optimize Now", 150 x 27: border, gradient row 2, light and dark bevel.
    EXPECT_EQ(PixelOf(form->SpeedButtonOptimize, 0, 0), RGB(0x37, 0x6F, 0x15));
    EXPECT_EQ(PixelOf(form->SpeedButtonOptimize, 75, 2), RGB(225, 247, 212));
    EXPECT_EQ(PixelOf(form->SpeedButtonOptimize, 1, 10), RGB(0xDB, 0xF5, 0xCB));
    EXPECT_EQ(PixelOf(form->SpeedButtonOptimize, 75, 25), RGB(0x5C, 0xB9, 0x24));

    // The monitor bar (22 x 139 at 64,30 in its group box) at 50 %: border,
    // and the fill gradient's column 10 below the leading edge (top row 70).
    EXPECT_EQ(PixelOf(form->GroupBoxMonitor, 64, 30), RGB(0x37, 0x6F, 0x15));
    EXPECT_EQ(PixelOf(form->GroupBoxMonitor, 64 + 10, 30 + 100), RGB(164, 221, 128));
    EXPECT_NE(PixelOf(form->GroupBoxMonitor, 64 + 10, 30 + 20), RGB(164, 221, 128));
}
