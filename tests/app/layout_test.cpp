// The main window as laid out: every control's place, parent and visibility,
// the windowed ones' classes and tab order, the labels' fonts and colours,
// every caption, the track bar's settings, the popup menu, the hints, and
// chosen pixels of the design-size window. What the creation handler rewrites
// is checked as it stood before that handler touched it.
#include "tests/app/formmain_fixture.h"
#include "tests/app/layout_design.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayicon.h"
#include "toolkit/checkbox.h"
#include "toolkit/groupbox.h"
#include "toolkit/actions.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/progressbar.h"
#include "toolkit/speedbutton.h"
#include "toolkit/timer.h"
#include "toolkit/texts.h"
#include "toolkit/trackbar.h"

using enum TAlign;
using enum TAlignment;
using enum TProgressBarOrientation;

namespace {

struct TLabelLook {
    const wchar_t* name;
    bool autoSize;
    TAlignment alignment;
    TAlign align;
    bool parentFont;
    int fontHeight;  // pixels, negative: character height
    int fontSize;    // points at 96 pixels per inch
    TFontStyles style;
    TColor fontColor;
};

const TLabelLook kLabels[] = {
    {L"LabelCPU", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelMEM", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelMEMP", false, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelCPUP", false, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelFree", false, taCenter, alBottom, false, -11, 8, 0, clNavy},
    {L"LabelSlider", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelMB", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"LabelRefresh", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"Label1", true, taLeftJustify, alNone, false, -13, 10, fsBold, clWindowText},
    {L"Label2", true, taLeftJustify, alNone, false, -13, 10, fsBold, clWindowText},
    {L"Label4", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
    {L"Label5", true, taLeftJustify, alNone, true, -11, 8, 0, clWindowText},
};

// Every caption as designed; the creation handler rewrites LabelMEMP,
// LabelFree and LabelSlider later, and LabelCPUP before the first reading on
// the NT family ("n.a.").
const std::pair<const wchar_t*, const wchar_t*> kCaptions[] = {
    {L"FormMain", L"Quenfel ver 1.5"},
    {L"SpeedButtonSettings2", L"&Settings"},
    {L"SpeedButtonOptimize2", L"&Optimize"},
    {L"GroupBoxMonitor", L"Memory Monitor"},
    {L"LabelCPU", L"CPU"},
    {L"LabelMEM", L"MEM"},
    {L"LabelMEMP", L"100%"},
    {L"LabelFree", L"Quenfel"},
    {L"GroupBoxOptimizing", L"Optimizing"},
    {L"TabSheetSettings", L"Settings"},
    {L"GroupBoxRam", L"Select RAM to Free"},
    {L"LabelSlider", L"%d MB"},
    {L"GroupBoxAlarm", L"Alarm Level"},
    {L"LabelMB", L"MB"},
    {L"CheckBoxAutoOptimize", L"Automatic RAM Optimization when reach"},
    {L"GroupBoxMisc", L"Misc"},
    {L"LabelRefresh", L"Refresh (in sec)"},
    {L"CheckBoxAutoRun2", L"Autorun on Windows start"},
    {L"CheckBoxAutoRun", L"CheckBoxAutoRun"},
    {L"TabSheetAbout", L"About"},
    {L"GroupBox1", L""},  // a plain frame
    {L"Label1", L"Quenfel"},
    {L"Label2", L"Version 1.5"},
    {L"GroupBox2", L"This product is licensed to:"},
    {L"Label4", L"Label4"},
    {L"Label5", L"Label5"},
    {L"SpeedButtonOptimize", L"&Optimize Now"},
    {L"SpeedButtonSettings", L"&Settings Menu"},
    {L"GradientButton1", L"Minimize Tray"},
    {L"GradientButton2", L"Check for Latest Update"},
};

// The designed state as it stands when the creation handler first reads the
// memory status: by then it has only reconciled the autorun box, bound the
// engine, started the timer, narrowed the window and marked the CPU figure
// unavailable; slider, bars and labels are still as loaded.
struct TDesignSnapshot {
    struct TControlState {
        std::wstring caption;
        RECT bounds;
        bool visible;
    };
    std::map<std::wstring, TControlState> controls;
    int trackMin = 0, trackMax = 0, trackPosition = 0;
    int memMin = 0, memMax = 0, memPosition = 0;
    int freeMin = 0, freeMax = 0, freePosition = 0;
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
    TControl* Control(const std::wstring& name)
    {
        if (name == L"FormMain") return form;
        return dynamic_cast<TControl*>(form->FindComponent(name));
    }

    // Creates the window, keeping what it looked like at the first reading.
    TDesignSnapshot CreateWithSnapshot()
    {
        auto snapshot = std::make_shared<TDesignSnapshot>();
        auto taken = std::make_shared<bool>(false);
        engine->StatusSource = [this, snapshot, taken] {
            if (!*taken) {
                *taken = true;
                auto* loading = dynamic_cast<TFormMain*>(Application->FindComponent(L"FormMain"));
                if (loading != nullptr) Take(*loading, *snapshot);
            }
            return status;
        };
        Create();
        EXPECT_TRUE(*taken);
        return *snapshot;
    }

private:
    static void Take(TFormMain& f, TDesignSnapshot& s)
    {
        for (const auto& [name, caption] : kCaptions) {
            auto* c = name == std::wstring(L"FormMain") ? &f : dynamic_cast<TControl*>(f.FindComponent(name));
            if (c != nullptr) s.controls[name] = {c->Caption(), c->BoundsRect(), c->Visible()};
        }
        for (const auto& g : kGraphic) {
            auto* c = dynamic_cast<TControl*>(f.FindComponent(g.name));
            if (c != nullptr) s.controls[g.name] = {c->Caption(), c->BoundsRect(), c->Visible()};
        }
        s.trackMin = f.TrackRAM->Min();
        s.trackMax = f.TrackRAM->Max();
        s.trackPosition = f.TrackRAM->Position();
        s.memMin = f.ProgressBarMEM->Min();
        s.memMax = f.ProgressBarMEM->Max();
        s.memPosition = f.ProgressBarMEM->Position();
        s.freeMin = f.ProgressBarFree->Min();
        s.freeMax = f.ProgressBarFree->Max();
        s.freePosition = f.ProgressBarFree->Position();
    }
};

TEST_F(LayoutTest, EveryWindowedControlSitsWhereDesigned)
{
    Create();
    form->ActionSettingsExecute(form);  // the settings page shows only while open
    const TRoomForTexts room(*form, 96);
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
        const RECT expected = room.Place(p.name);
        EXPECT_EQ(r.left, expected.left);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.right, expected.right);
        EXPECT_EQ(r.bottom, expected.bottom);
        EXPECT_EQ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0, p.visible);
        EXPECT_EQ(control->TabOrder(), p.tabOrder);
    }
    // The pages fill the page control's page area; only the first shows.
    EXPECT_EQ(form->PageControlSettings->ActivePage(), form->TabSheetSettings);
    EXPECT_TRUE(form->TabSheetSettings->Visible());
    EXPECT_FALSE(form->TabSheetAbout->Visible());
}

TEST_F(LayoutTest, EveryGraphicControlSitsWhereDesigned)
{
    const TDesignSnapshot design = CreateWithSnapshot();
    for (const TGraphicPlace& g : kGraphic) {
        SCOPED_TRACE(ToUtf8(g.name));
        TControl* control = Control(g.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(dynamic_cast<TWinControl*>(control), nullptr);  // drawn by its parent
        ASSERT_NE(control->Parent(), nullptr);
        EXPECT_EQ(control->Parent(), Windowed(g.parent));
        ASSERT_EQ(design.controls.count(g.name), 1u);
        const RECT r = design.controls.at(g.name).bounds;
        EXPECT_EQ(r.left, g.left);
        EXPECT_EQ(r.top, g.top);
        // A label that sizes itself has the stored size only in the design
        // font; elsewhere it takes the size of its design text.
        auto* label = dynamic_cast<TLabel*>(control);
        if (label != nullptr && label->AutoSize()) {
            const SIZE text = TextSize(label->Font(), design.controls.at(g.name).caption);
            EXPECT_EQ(r.right - r.left, text.cx);
            EXPECT_EQ(r.bottom - r.top, text.cy);
        } else {
            EXPECT_EQ(r.right - r.left, g.width);
            EXPECT_EQ(r.bottom - r.top, g.height);
        }
        EXPECT_EQ(control->Visible(), g.visible);
    }
}

TEST_F(LayoutTest, LabelsKeepTheirDesignedFontsAndColours)
{
    Create();
    for (const TLabelLook& l : kLabels) {
        SCOPED_TRACE(ToUtf8(l.name));
        auto* label = dynamic_cast<TLabel*>(form->FindComponent(l.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->AutoSize(), l.autoSize);
        EXPECT_EQ(label->Alignment(), l.alignment);
        EXPECT_EQ(label->Align(), l.align);
        EXPECT_TRUE(label->Transparent());
        EXPECT_EQ(label->ParentFont(), l.parentFont);
        EXPECT_EQ(label->Font().Name(), L"MS Sans Serif");
        EXPECT_EQ(label->Font().Height(), l.fontHeight);
        EXPECT_EQ(label->Font().Size(), l.fontSize);
        EXPECT_EQ(label->Font().Style(), l.style);
        EXPECT_EQ(label->Font().Color(), l.fontColor);
        EXPECT_EQ(label->Font().Charset(), DEFAULT_CHARSET);
        EXPECT_EQ(label->Color(), clBtnFace);
    }
    // The window's own font, which the others inherit.
    EXPECT_EQ(form->Font().Name(), L"MS Sans Serif");
    EXPECT_EQ(form->Font().Height(), -11);
    EXPECT_EQ(form->Font().Style(), 0);
    EXPECT_EQ(form->Font().Color(), clWindowText);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->SpeedButtonOptimize->Font().Style(), fsBold);
    EXPECT_EQ(form->SpeedButtonOptimize->Font().Height(), -11);
    EXPECT_FALSE(form->SpeedButtonOptimize->ParentFont());
    EXPECT_TRUE(form->SpeedButtonSettings->ParentFont());
}

// GroupBox1's caption is empty by design; a toolkit that copies a component's
// name into an empty caption shows "GroupBox1" there.
TEST_F(LayoutTest, EveryControlCarriesItsDesignedCaption)
{
    const TDesignSnapshot design = CreateWithSnapshot();
    for (const auto& [name, caption] : kCaptions) {
        SCOPED_TRACE(ToUtf8(name));
        ASSERT_EQ(design.controls.count(name), 1u);
        EXPECT_EQ(design.controls.at(name).caption, caption);
    }
    // On the NT family the CPU percentage reads "n.a." from the start.
    EXPECT_EQ(form->LabelCPUP->Caption(), L"n.a.");
    // What the window shows in its title bar.
    wchar_t title[64] = {};
    GetWindowTextW(form->Handle(), title, 64);
    EXPECT_STREQ(title, L"Quenfel ver 1.5");
    EXPECT_EQ(form->ActionSettings->Caption(), L"&Settings");
    EXPECT_EQ(form->ActionOptimize->Caption(), L"&Optimize");
    EXPECT_EQ(form->TrayIcon->Hint(), L"Olbrind");
}

TEST_F(LayoutTest, PopupMenuItemsInOrderWithOpenMainAsDefault)
{
    Create();
    const struct {
        TMenuItem* item;
        const wchar_t* caption;
        bool isDefault;
        TBasicAction* action;
        bool hasBitmap;
    } items[] = {
        {form->OpenMain, L"Open &Main Window", true, nullptr, true},
        {form->OptimizeNow, L"&Optimize", false, form->ActionOptimize, true},
        {form->RunHistory, L"Run &History", false, nullptr, false},
        {static_cast<TMenuItem*>(form->FindComponent(L"MemoryDetails")), L"Memory &details\u2026", false, nullptr, false},
        {form->ShowFreeInIcon, L"Show &Free Memory in Icon", false, nullptr, false},
        {form->LanguageMenu, L"&Language", false, nullptr, false},
        {form->ThemeMenu, L"&Theme", false, nullptr, false},
        {form->N1, L"-", false, nullptr, false},
        {form->Exit, L"E&xit", false, nullptr, false},
    };
    TMenuItem& root = form->PopupMenuIcon->Items();
    ASSERT_EQ(root.Count(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(i);
        const auto& e = items[i];
        EXPECT_EQ(root.Items(i), e.item);
        EXPECT_EQ(e.item->Caption(), e.caption);
        EXPECT_EQ(e.item->Default(), e.isDefault);
        EXPECT_EQ(e.item->Action(), e.action);
        EXPECT_TRUE(e.item->Enabled());
        EXPECT_TRUE(e.item->Visible());
        EXPECT_EQ(!e.item->Bitmap().Empty(), e.hasBitmap);
        if (e.hasBitmap) {
            EXPECT_EQ(e.item->Bitmap().Width(), 16);
            EXPECT_EQ(e.item->Bitmap().Height(), 16);
        }
    }
    EXPECT_TRUE(form->N1->IsLine());
    EXPECT_EQ(form->PopupMenuIcon->DefaultItem(), form->OpenMain);
    EXPECT_EQ(form->TrayIcon->PopupMenu(), form->PopupMenuIcon);

    // The system menu the tray icon opens: same items, the first one default.
    HMENU menu = form->PopupMenuIcon->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 9);
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
    const wchar_t* shown[] = {L"Open &Main Window", L"&Optimize", L"Run &History", L"Memory &details\u2026",
                              L"Show &Free Memory in Icon", L"&Language", L"&Theme", L"", L"E&xit"};
    for (int i = 0; i < 9; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, shown[i]) << "item " << i;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, 7, TRUE, &info);
    EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);

    // The languages: Windows' own, checked while nothing else is chosen,
    // then each named in itself, English first.
    HMENU languages = GetSubMenu(menu, 5);
    ASSERT_NE(languages, nullptr);
    ASSERT_EQ(GetMenuItemCount(languages), static_cast<int>(1 + Languages().size()));
    const auto germanItem = static_cast<int>(1 + (FindLanguage(L"de") - Languages().data()));
    const std::pair<int, const wchar_t*> named[] = {{0, L"Windows default"}, {1, L"English"}, {germanItem, L"Deutsch"}};
    for (const auto& [i, name] : named) {
        wchar_t text[64] = {};
        GetMenuStringW(languages, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, name);
        EXPECT_EQ(GetMenuState(languages, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED, i == 0 ? MF_CHECKED : 0u);
    }
}

TEST_F(LayoutTest, TrackBarAndBarsKeepTheirStoredSettings)
{
    const TDesignSnapshot design = CreateWithSnapshot();
    // As loaded, before the creation handler sets the real range.
    EXPECT_EQ(design.trackMin, 10);
    EXPECT_EQ(design.trackMax, 1024);
    EXPECT_EQ(design.trackPosition, 10);
    EXPECT_EQ(design.memMin, 1);
    EXPECT_EQ(design.memMax, 1024);
    EXPECT_EQ(design.memPosition, 0);
    EXPECT_EQ(design.freeMin, 0);
    EXPECT_EQ(design.freeMax, 100);
    EXPECT_EQ(design.freePosition, 0);

    // The rest survives creation, in the component and in the system control.
    TTrackBar* track = form->TrackRAM;
    EXPECT_EQ(track->LineSize(), 100);
    EXPECT_EQ(track->PageSize(), 2);
    EXPECT_EQ(track->Frequency(), 100);
    EXPECT_EQ(track->ThumbLength(), 20);
    EXPECT_EQ(track->Cursor(), crHandPoint);
    HWND h = track->Handle();
    EXPECT_EQ(SendMessageW(h, TBM_GETLINESIZE, 0, 0), 100);
    EXPECT_EQ(SendMessageW(h, TBM_GETPAGESIZE, 0, 0), 2);
    EXPECT_EQ(SendMessageW(h, TBM_GETRANGEMIN, 0, 0), track->Min());
    EXPECT_EQ(SendMessageW(h, TBM_GETRANGEMAX, 0, 0), track->Max());
    EXPECT_EQ(SendMessageW(h, TBM_GETPOS, 0, 0), track->Position());
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_EQ(style & TBS_VERT, 0);          // horizontal
    EXPECT_EQ(style & TBS_TOP, 0);           // ticks below the channel
    EXPECT_NE(style & TBS_AUTOTICKS, 0);
    EXPECT_EQ(style & TBS_NOTICKS, 0);
    // A tick every 100 units from the minimum.
    EXPECT_EQ(SendMessageW(h, TBM_GETTIC, 0, 0), track->Min() + 100);

    EXPECT_EQ(form->ProgressBarMEM->Orientation(), pbVertical);
    EXPECT_EQ(form->ProgressBarMEM->Step(), 10);
    EXPECT_EQ(form->ProgressBarFree->Orientation(), pbHorizontal);
    EXPECT_EQ(form->ProgressBarFree->Step(), 10);
    const LONG cpuStyle = GetWindowLongW(form->ProgressBarCPU->Handle(), GWL_STYLE);
    EXPECT_NE(cpuStyle & PBS_VERTICAL, 0);
    EXPECT_NE(cpuStyle & PBS_SMOOTH, 0);
    EXPECT_EQ(SendMessageW(form->ProgressBarMEM2->Handle(), PBM_GETRANGE, FALSE, 0), 128);
    EXPECT_EQ(SendMessageW(form->ProgressBarMEM2->Handle(), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(GetWindowLongW(form->ProgressBarFree2->Handle(), GWL_STYLE) & (PBS_SMOOTH | PBS_VERTICAL), 0);
    EXPECT_EQ(SendMessageW(form->ProgressBarFree2->Handle(), PBM_GETRANGE, FALSE, 0), 100);

    EXPECT_EQ(form->SpinEditAlarmMB->MinValue(), 0);
    EXPECT_EQ(form->SpinEditAlarmMB->MaxValue(), 0);
    EXPECT_EQ(form->SpinEditAlarmMB->Value(), 0);
    EXPECT_EQ(form->TabSheetAbout->ImageIndex(), 1);
    EXPECT_TRUE(form->PageControlSettings->HotTrack());
    EXPECT_EQ(form->CheckBoxAutoRun2->Alignment(), taLeftJustify);
    EXPECT_FALSE(form->CheckBoxAutoOptimize->Checked());
}

TEST_F(LayoutTest, OnlyTheMonitorGroupStoresAShownHint)
{
    Create();
    const struct {
        TControl* control;
        const wchar_t* hint;
        bool showHint;
        bool parentShowHint;
    } hints[] = {
        {form, L"", false, true},
        {form->GroupBoxMonitor, L"Double click to tray", true, false},
        {form->LabelMEMP, L"", true, true},
        {form->ProgressBarMEM, L"", true, true},
        {form->GroupBoxRam, L"Select RAM to Free", false, true},
        {form->TrackRAM, L"", false, true},
        {form->SpeedButtonOptimize, L"", false, true},
        {form->PageControlSettings, L"", false, true},
    };
    for (const auto& h : hints) {
        SCOPED_TRACE(ToUtf8(h.control->Name()));
        EXPECT_EQ(h.control->Hint(), h.hint);
        EXPECT_EQ(h.control->ShowHint(), h.showHint);
        EXPECT_EQ(h.control->ParentShowHint(), h.parentShowHint);
    }
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
