// The main window as designed: every component with its place, size, texts,
// colours and stored settings, in creation order, each container before its
// children. Reads top to bottom like the design tables; the behaviour is in
// formmain.cpp.
#include "app/formmain.h"
#include "app/formmemory.h"
#include "app/memorysampling.h"
#include "app/productinfo.h"

#include <commctrl.h>

#include "controls/gradientbutton.h"
#include "engine/bytesize.h"
#include "engine/runreport.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayfigureicon.h"
#include "controls/trayicon.h"
#include "resources/resource.h"
#include "settings/settingsstore.h"
#include "settings/storedsettings.h"
#include "toolkit/actions.h"
#include "toolkit/application.h"
#include "toolkit/checkbox.h"
#include "toolkit/dpi.h"
#include "toolkit/groupbox.h"
#include "toolkit/edit.h"
#include "toolkit/hotkeyedit.h"
#include "toolkit/label.h"
#include "toolkit/loader.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/progressbar.h"
#include "toolkit/screen.h"
#include "toolkit/speedbutton.h"
#include "toolkit/textfit.h"
#include "toolkit/timer.h"
#include "toolkit/trackbar.h"

using enum TAlign;
using enum TAlignment;
using enum TFormBorderStyle;
using enum TProgressBarOrientation;
using enum TButtonLayout;

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

template <class T>
T* Place(TFormMain* form, TWinControl* parent, const wchar_t* name, int left, int top, int width, int height)
{
    T* control = CreateComponent<T>(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// The designed face in English. Another language's script may not be in
// it: there the system's message font, which Windows picks for the language,
// at the design's proportions.
void SetWindowFont(const TForm* form, TFont& font, int height, TFontStyles style, TColor color)
{
    constexpr int kDesignedHeight = -11;
    const TFontFace face = IsEnglish() ? TFontFace{L"MS Sans Serif", kDesignedHeight} : MessageFontFace();
    font.SetName(face.Name);
    font.SetHeight(form->ScaleDesign(MulDiv(height, face.DesignHeight, kDesignedHeight)));
    font.SetStyle(style);
    font.SetColor(color);
    font.SetCharset(DEFAULT_CHARSET);
}

// The look all four gradient buttons store: the csNeoGrass colours.
void StoreButtonLook(TGradientButton* b)
{
    b->SetColorFace(0x00DDF9E8);
    b->SetColorGrad(0x005EDF8E);
    b->SetColorDark(0x0024B95C);
    b->SetColorLight(0x00CBF5DB);
    b->SetColorBorder(0x00156F37);
    b->SetColorText(clBlack);
    b->SetOverColorFace(0x00BFF2D2);
    b->SetOverColorGrad(0x003DD877);
    b->SetOverColorDark(0x0023B459);
    b->SetOverColorLight(0x00B5F0CB);
    b->SetOverColorBorder(0x0017793D);
    b->SetOverColorText(clBlack);
    b->SetDownColorFace(0x004EDC83);
    b->SetDownColorGrad(0x0080E6A6);
    b->SetDownColorDark(0x0089E7AC);
    b->SetDownColorLight(0x00177D3E);
    b->SetDownColorBorder(0x00167439);
    b->SetDownColorText(clBlack);
    b->SetDisabledColorFace(0x00EEEEEE);
    b->SetDisabledColorGrad(clWhite);
    b->SetDisabledColorDark(0x00D2D2D2);
    b->SetDisabledColorLight(clWhite);
    b->SetDisabledColorBorder(clGray);
    b->SetDisabledColorText(clGray);
    b->SetColorFocusRect(0x0024B95C);
    b->SetColorScheme(TGradientButton::TColorScheme::csNeoGrass);
    b->SetCtl3D(true);
    b->SetLayout(blGlyphLeft);
}

void StoreButtonFlags(TGradientButton* b, int spacing)
{
    b->SetSpacing(spacing);
    b->SetTransparentGlyph(true);
    b->SetGradient(true);
    b->SetHotTrack(true);
}

// The look both gradient bars store: the csGrass colours.
void StoreBarLook(TGradientProgressBar* bar)
{
    bar->SetColorBorder(0x00156F37);
    bar->SetBackColorFace(0x00CBF5DC);
    bar->SetBackColorGrad(clWhite);
    bar->SetForeColorFace(0x00C9F5DB);
    bar->SetForeColorGrad(0x0028C162);
    bar->SetColorScheme(TGradientProgressBar::TColorScheme::csGrass);
}

// A bitmap of the program's resources, for a setter that copies it.
class TResourceBitmap {
public:
    // As drawn for the system's dpi, which the form is laid out at: loaded
    // once, not at 100 % and again. A window on a monitor of another dpi
    // picks its own size later.
    explicit TResourceBitmap(int id) { bitmap_.LoadArtwork(Module(), id, SystemDpi()); }
    operator const TBitmap&() const noexcept { return bitmap_; }

private:
    TBitmap bitmap_;
};

} // namespace

void TFormMain::LoadLayout()
{
    TLoadSession load(this);
    // Texts come from the tables, and come again when the language changes.
    auto Caption = [this](auto* control, TText id) {
        texts_.Bind([control](const std::wstring& text) { control->SetCaption(text); }, id);
    };
    auto Restyle = [this](std::function<void()> apply) { texts_.Restyle(std::move(apply)); };
    auto Hint = [this](auto* control, TText id) {
        texts_.Bind([control](const std::wstring& text) { control->SetHint(text); }, id);
    };

    // The window.
    SetName(L"FormMain");
    SetLeft(332);
    SetTop(165);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetBorderStyle(bsDialog);
    Caption(this, TText::WindowCaption);
    SetClientHeight(346);
    SetClientWidth(497);
    SetColor(clBtnFace);
    Restyle([this] { SetWindowFont(this, Font(), -11, {}, clWindowText); });
    Icon().LoadFromResourceID(Module(), IDI_QUENFEL);

    // Two invisible speed buttons: further clients of the two actions.
    SpeedButtonSettings2 = Place<TSpeedButton>(this, this, L"SpeedButtonSettings2", 219, 260, 94, 22);
    SpeedButtonSettings2->SetFlat(true);
    SpeedButtonSettings2->SetTransparent(false);
    SpeedButtonSettings2->SetGlyph(TResourceBitmap(IDB_SPEED_SETTINGS));
    SpeedButtonSettings2->SetVisible(false);
    load.Fixup([this] { SpeedButtonSettings2->SetAction(ActionSettings); });

    SpeedButtonOptimize2 = Place<TSpeedButton>(this, this, L"SpeedButtonOptimize2", 323, 258, 94, 22);
    SpeedButtonOptimize2->SetFlat(true);
    SpeedButtonOptimize2->SetTransparent(false);
    SpeedButtonOptimize2->SetGlyph(TResourceBitmap(IDB_SPEED_OPTIMIZE));
    SpeedButtonOptimize2->SetVisible(false);
    load.Fixup([this] { SpeedButtonOptimize2->SetAction(ActionOptimize); });

    // The memory monitor.
    GroupBoxMonitor = Place<TGroupBox>(this, this, L"GroupBoxMonitor", 3, 3, 150, 195);
    Caption(GroupBoxMonitor, TText::WindowMonitor);
    GroupBoxMonitor->SetParentShowHint(false);
    GroupBoxMonitor->SetShowHint(true);
    Hint(GroupBoxMonitor, TText::WindowMonitorHint);
    GroupBoxMonitor->SetTabOrder(0);
    GroupBoxMonitor->OnDblClick = Bind(this, &TFormMain::GroupBoxMonitorDblClick);

    LabelCPU = Place<TLabel>(this, GroupBoxMonitor, L"LabelCPU", 7, 17, 22, 13);
    Caption(LabelCPU, TText::WindowCpu);
    LabelCPU->SetVisible(false);

    LabelMEM = Place<TLabel>(this, GroupBoxMonitor, L"LabelMEM", 51, 17, 25, 13);
    Caption(LabelMEM, TText::WindowMem);
    LabelMEM->SetVisible(false);

    LabelMEMP = Place<TLabel>(this, GroupBoxMonitor, L"LabelMEMP", 64, 16, 41, 13);
    LabelMEMP->SetAutoSize(false);
    LabelMEMP->SetCaption(L"100%");

    LabelCPUP = Place<TLabel>(this, GroupBoxMonitor, L"LabelCPUP", 7, 160, 26, 13);
    LabelCPUP->SetAutoSize(false);
    LabelCPUP->SetCaption(L"100%");
    LabelCPUP->SetVisible(false);

    LabelFree = Place<TLabel>(this, GroupBoxMonitor, L"LabelFree", 2, 176, 146, 17);
    LabelFree->SetAlign(alBottom);
    LabelFree->SetAlignment(taCenter);
    LabelFree->SetAutoSize(false);
    LabelFree->SetCaption(L"Quenfel");
    LabelFree->SetParentFont(false);
    Restyle([this] { SetWindowFont(this, LabelFree->Font(), -11, {}, clNavy); });

    ProgressBarMEM = Place<TGradientProgressBar>(this, GroupBoxMonitor, L"ProgressBarMEM", 64, 30, 22, 139);
    StoreBarLook(ProgressBarMEM);
    ProgressBarMEM->SetMax(1024);
    ProgressBarMEM->SetMin(1);
    ProgressBarMEM->SetPosition(0);
    ProgressBarMEM->SetStep(10);
    ProgressBarMEM->SetOrientation(pbVertical);

    ProgressBarCPU = Place<TProgressBar>(this, GroupBoxMonitor, L"ProgressBarCPU", 10, 30, 17, 125);
    ProgressBarCPU->SetOrientation(pbVertical);
    ProgressBarCPU->SetSmooth(true);
    ProgressBarCPU->SetTabOrder(0);
    ProgressBarCPU->SetVisible(false);

    ProgressBarMEM2 = Place<TProgressBar>(this, GroupBoxMonitor, L"ProgressBarMEM2", 39, 30, 17, 125);
    ProgressBarMEM2->SetMax(128);
    ProgressBarMEM2->SetOrientation(pbVertical);
    ProgressBarMEM2->SetSmooth(true);
    ProgressBarMEM2->SetTabOrder(1);
    ProgressBarMEM2->SetVisible(false);

    // The progress strip, shown while a run slides the window taller.
    GroupBoxOptimizing = Place<TGroupBox>(this, this, L"GroupBoxOptimizing", 4, 307, 149, 38);
    Caption(GroupBoxOptimizing, TText::WindowOptimizing);
    GroupBoxOptimizing->SetTabOrder(1);

    ProgressBarFree = Place<TGradientProgressBar>(this, GroupBoxOptimizing, L"ProgressBarFree", 5, 16, 140, 11);
    StoreBarLook(ProgressBarFree);
    ProgressBarFree->SetMax(100);
    ProgressBarFree->SetMin(0);
    ProgressBarFree->SetPosition(0);
    ProgressBarFree->SetStep(10);
    ProgressBarFree->SetOrientation(pbHorizontal);

    ProgressBarFree2 = Place<TProgressBar>(this, GroupBoxOptimizing, L"ProgressBarFree2", 5, 11, 83, 11);
    ProgressBarFree2->SetTabOrder(0);
    ProgressBarFree2->SetVisible(false);

    // The settings and About pages, revealed when the window widens.
    PageControlSettings = Place<TPageControl>(this, this, L"PageControlSettings", 159, 11, 331, 286);
    PageControlSettings->SetHotTrack(true);
    PageControlSettings->SetTabOrder(2);
    load.Fixup([this] { PageControlSettings->SetActivePage(TabSheetSettings); });

    // A page of the page control, in the order made.
    auto Page = [&](const wchar_t* name, TText caption) {
        auto* page = CreateComponent<TTabSheet>(this);
        page->SetName(name);
        page->SetPageControl(PageControlSettings);
        Caption(page, caption);
        return page;
    };
    TabSheetSettings = Page(L"TabSheetSettings", TText::SettingsTab);

    GroupBoxRam = Place<TGroupBox>(this, TabSheetSettings, L"GroupBoxRam", 5, 12, 315, 65);
    Caption(GroupBoxRam, TText::SettingsRam);
    Hint(GroupBoxRam, TText::SettingsRam);
    GroupBoxRam->SetTabOrder(0);

    LabelSlider = Place<TLabel>(this, GroupBoxRam, L"LabelSlider", 259, 22, 33, 13);
    LabelSlider->SetCaption(L"%d MB");

    TrackRAM = Place<TTrackBar>(this, GroupBoxRam, L"TrackRAM", 3, 18, 246, 35);
    TrackRAM->SetCursor(crHandPoint);
    TrackRAM->SetLineSize(100);
    TrackRAM->SetMax(1024);
    TrackRAM->SetMin(10);
    TrackRAM->SetFrequency(100);
    TrackRAM->SetPosition(10);
    TrackRAM->SetTabOrder(0);
    TrackRAM->OnChange = Bind(this, &TFormMain::TrackRAMChange);

    GroupBoxAlarm = Place<TGroupBox>(this, TabSheetSettings, L"GroupBoxAlarm", 5, 84, 315, 61);
    Caption(GroupBoxAlarm, TText::SettingsAlarm);
    GroupBoxAlarm->SetTabOrder(1);

    LabelMB = Place<TLabel>(this, GroupBoxAlarm, L"LabelMB", 288, 29, 16, 13);
    Caption(LabelMB, TText::SettingsMb);

    CheckBoxAutoOptimize = Place<TCheckBox>(this, GroupBoxAlarm, L"CheckBoxAutoOptimize", 10, 29, 219, 17);
    Caption(CheckBoxAutoOptimize, TText::SettingsAutoOptimize);
    CheckBoxAutoOptimize->SetTabOrder(0);

    SpinEditAlarmMB = Place<TSpinEdit>(this, GroupBoxAlarm, L"SpinEditAlarmMB", 231, 26, 51, 22);
    SpinEditAlarmMB->SetMaxValue(0);
    SpinEditAlarmMB->SetMinValue(0);
    SpinEditAlarmMB->SetTabOrder(1);
    SpinEditAlarmMB->SetValue(0);

    GroupBoxMisc = Place<TGroupBox>(this, TabSheetSettings, L"GroupBoxMisc", 5, 152, 315, 54);
    Caption(GroupBoxMisc, TText::SettingsMisc);
    GroupBoxMisc->SetTabOrder(2);

    LabelRefresh = Place<TLabel>(this, GroupBoxMisc, L"LabelRefresh", 11, 23, 74, 13);
    Caption(LabelRefresh, TText::SettingsRefresh);

    SpinEditRefresh = Place<TSpinEdit>(this, GroupBoxMisc, L"SpinEditRefresh", 94, 20, 51, 22);
    SpinEditRefresh->SetMaxValue(0);
    SpinEditRefresh->SetMinValue(0);
    SpinEditRefresh->SetTabOrder(0);
    SpinEditRefresh->SetValue(0);

    // Loaded checked before its handler is bound, so loading runs no handler.
    CheckBoxAutoRun2 = Place<TCheckBox>(this, GroupBoxMisc, L"CheckBoxAutoRun2", 160, 21, 145, 17);
    CheckBoxAutoRun2->SetAlignment(taLeftJustify);
    // A portable copy's box says which program it starts.
    Caption(CheckBoxAutoRun2, SettingsStore().Portable() ? TText::SettingsAutorunPortable : TText::SettingsAutorun);
    CheckBoxAutoRun2->SetChecked(true);
    CheckBoxAutoRun2->SetTabOrder(1);
    CheckBoxAutoRun2->OnClick = Bind(this, &TFormMain::CheckBoxAutoRun2Click);

    CheckBoxAutoRun = Place<TCheckBox>(this, GroupBoxMisc, L"CheckBoxAutoRun", 160, 8, 97, 17);
    CheckBoxAutoRun->SetCaption(L"CheckBoxAutoRun");
    CheckBoxAutoRun->SetTabOrder(2);
    CheckBoxAutoRun->SetVisible(false);

    // The key that starts a run from anywhere. Ctrl or Alt is always part
    // of it; the text beside it shows while another program holds the key.
    GroupBoxHotkey = Place<TGroupBox>(this, TabSheetSettings, L"GroupBoxHotkey", 5, 212, 315, 44);
    Caption(GroupBoxHotkey, TText::SettingsHotkey);
    GroupBoxHotkey->SetTabOrder(3);

    HotkeyOptimize = Place<THotkeyEdit>(this, GroupBoxHotkey, L"HotkeyOptimize", 10, 16, 134, 21);
    HotkeyOptimize->SetRules(HKCOMB_NONE | HKCOMB_S, HOTKEYF_CONTROL | HOTKEYF_ALT);
    HotkeyOptimize->SetHotkey(kDefaultOptimizeHotkey);
    HotkeyOptimize->SetTabOrder(0);
    HotkeyOptimize->OnChange = Bind(this, &TFormMain::HotkeyOptimizeChange);
    HotkeyOptimize->OnRefuse = Bind(this, &TFormMain::HotkeyOptimizeRefuse);

    LabelHotkeyTaken = Place<TLabel>(this, GroupBoxHotkey, L"LabelHotkeyTaken", 152, 20, 153, 13);
    // Says why the key chosen is not held, or that a key pressed is
    // reserved: set by ShowHotkeyWord.
    Restyle([this] { ShowHotkeyWord(); });

    TabSheetMemory = Page(L"TabSheetMemory", TText::MemoryTab);

    // One box per area, in the order a run takes them; the reason one cannot
    // be chosen stands beside it.
    GroupBoxAreas = Place<TGroupBox>(this, TabSheetMemory, L"GroupBoxAreas", 5, 4, 315, 164);
    Caption(GroupBoxAreas, TText::MemoryAreas);
    GroupBoxAreas->SetTabOrder(0);
    const struct {
        TMemoryArea area;
        const wchar_t* name;
        TText hint;
    } areas[] = {
        {TMemoryArea::maWorkingSets, L"WorkingSets", TText::MemoryWorkingsetsHint},
        {TMemoryArea::maFileCache, L"FileCache", TText::MemoryFilecacheHint},
        {TMemoryArea::maFill, L"Fill", TText::MemoryFillHint},
        {TMemoryArea::maModified, L"Modified", TText::MemoryModifiedHint},
        {TMemoryArea::maStandbyLow, L"StandbyLow", TText::MemoryStandbylowHint},
        {TMemoryArea::maStandby, L"Standby", TText::MemoryStandbyHint},
        {TMemoryArea::maCombine, L"Combine", TText::MemoryCombineHint},
    };
    for (std::size_t i = 0; i < std::size(areas); ++i) {
        const int top = 15 + 17 * static_cast<int>(i);
        TAreaRow& row = AreaRows[i];
        row.Area = areas[i].area;
        const std::wstring box = std::wstring(L"CheckBoxArea") + areas[i].name;
        const std::wstring why = std::wstring(L"LabelAreaWhy") + areas[i].name;
        row.Box = Place<TCheckBox>(this, GroupBoxAreas, box.c_str(), 10, top, 156, 17);
        Caption(row.Box, AreaCaption(areas[i].area));
        Hint(row.Box, areas[i].hint);
        row.Box->SetTabOrder(static_cast<int>(i));
        row.Why = Place<TLabel>(this, GroupBoxAreas, why.c_str(), 170, top + 2, 135, 13);
        // The reason it is shown with: ShowAreaRights says which.
        Caption(row.Why, TText::MemoryNeedsAdmin);
        row.Why->SetVisible(false);
    }
    GradientButtonElevate = Place<TGradientButton>(this, GroupBoxAreas, L"GradientButtonElevate", 10, 137, 185, 21);
    StoreButtonLook(GradientButtonElevate);
    StoreButtonFlags(GradientButtonElevate, 4);
    Caption(GradientButtonElevate, TText::MemoryRestartAdmin);
    GradientButtonElevate->SetTabOrder(static_cast<int>(std::size(areas)));
    GradientButtonElevate->OnClick = Bind(this, &TFormMain::GradientButtonElevateClick);

    GroupBoxTrim = Place<TGroupBox>(this, TabSheetMemory, L"GroupBoxTrim", 5, 172, 315, 40);
    Caption(GroupBoxTrim, TText::MemoryTrimExclude);
    GroupBoxTrim->SetTabOrder(1);
    EditTrimExclude = Place<TEdit>(this, GroupBoxTrim, L"EditTrimExclude", 10, 14, 295, 21);
    Hint(EditTrimExclude, TText::MemoryTrimExcludeHint);
    EditTrimExclude->SetTabOrder(0);

    GroupBoxInterval = Place<TGroupBox>(this, TabSheetMemory, L"GroupBoxInterval", 5, 216, 315, 40);
    Caption(GroupBoxInterval, TText::MemoryInterval);
    GroupBoxInterval->SetTabOrder(2);
    LabelInterval = Place<TLabel>(this, GroupBoxInterval, L"LabelInterval", 11, 18, 78, 13);
    Caption(LabelInterval, TText::MemoryIntervalEvery);
    SpinEditInterval = Place<TSpinEdit>(this, GroupBoxInterval, L"SpinEditInterval", 94, 14, 51, 22);
    SpinEditInterval->SetMinValue(0);
    SpinEditInterval->SetMaxValue(static_cast<std::int32_t>(kMaxIntervalMinutes));
    SpinEditInterval->SetValue(0);
    SpinEditInterval->SetTabOrder(0);
    LabelIntervalMinutes = Place<TLabel>(this, GroupBoxInterval, L"LabelIntervalMinutes", 152, 18, 150, 13);
    Caption(LabelIntervalMinutes, TText::MemoryIntervalMinutes);

    TabSheetAbout = Page(L"TabSheetAbout", TText::AboutTab);
    TabSheetAbout->SetImageIndex(1);
    TabSheetAbout->OnShow = Bind(this, &TFormMain::TabSheetAboutShow);

    GroupBox1 = Place<TGroupBox>(this, TabSheetAbout, L"GroupBox1", 8, 8, 305, 217);
    GroupBox1->SetTabOrder(0);

    Label1 = Place<TLabel>(this, GroupBox1, L"Label1", 16, 16, 73, 16);
    Label1->SetCaption(L"Quenfel");
    Label1->SetParentFont(false);
    Restyle([this] { SetWindowFont(this, Label1->Font(), -13, {fsBold}, clWindowText); });

    Label2 = Place<TLabel>(this, GroupBox1, L"Label2", 16, 32, 78, 16);
    Caption(Label2, TText::AboutVersion);
    Label2->SetParentFont(false);
    Restyle([this] { SetWindowFont(this, Label2->Font(), -13, {fsBold}, clWindowText); });

    GroupBox2 = Place<TGroupBox>(this, GroupBox1, L"GroupBox2", 16, 56, 273, 73);
    Caption(GroupBox2, TText::AboutLicensed);
    GroupBox2->SetTabOrder(0);

    Label4 = Place<TLabel>(this, GroupBox2, L"Label4", 16, 24, 32, 13);
    Label4->SetCaption(L"Label4");

    Label5 = Place<TLabel>(this, GroupBox2, L"Label5", 16, 48, 32, 13);
    Label5->SetCaption(L"Label5");

    // The four gradient buttons of the left column.
    SpeedButtonOptimize = Place<TGradientButton>(this, this, L"SpeedButtonOptimize", 3, 202, 150, 27);
    StoreButtonLook(SpeedButtonOptimize);
    SpeedButtonOptimize->SetGlyph(TResourceBitmap(IDB_BUTTON_OPTIMIZE));
    StoreButtonFlags(SpeedButtonOptimize, 0);
    Caption(SpeedButtonOptimize, TText::WindowOptimizeNow);
    SpeedButtonOptimize->SetParentFont(false);
    Restyle([this] { SetWindowFont(this, SpeedButtonOptimize->Font(), -11, {fsBold}, clWindowText); });
    SpeedButtonOptimize->SetTabOrder(3);
    load.Fixup([this] { SpeedButtonOptimize->SetAction(ActionOptimize); });

    SpeedButtonSettings = Place<TGradientButton>(this, this, L"SpeedButtonSettings", 3, 232, 150, 20);
    StoreButtonLook(SpeedButtonSettings);
    SpeedButtonSettings->SetGlyph(TResourceBitmap(IDB_BUTTON_SETTINGS));
    StoreButtonFlags(SpeedButtonSettings, 0);
    Caption(SpeedButtonSettings, TText::WindowSettingsMenu);
    SpeedButtonSettings->SetTabOrder(4);
    load.Fixup([this] { SpeedButtonSettings->SetAction(ActionSettings); });

    GradientButton1 = Place<TGradientButton>(this, this, L"GradientButton1", 3, 254, 150, 20);
    StoreButtonLook(GradientButton1);
    GradientButton1->SetGlyph(TResourceBitmap(IDB_BUTTON_TRAY));
    StoreButtonFlags(GradientButton1, 2);
    Caption(GradientButton1, TText::WindowMinimizeTray);
    GradientButton1->SetTabOrder(5);
    GradientButton1->OnClick = Bind(this, &TFormMain::GradientButton1Click);

    GradientButton2 = Place<TGradientButton>(this, this, L"GradientButton2", 3, 276, 150, 20);
    StoreButtonLook(GradientButton2);
    StoreButtonFlags(GradientButton2, 4);
    Caption(GradientButton2, TText::WindowCheckUpdate);
    GradientButton2->SetTabOrder(6);
    GradientButton2->OnClick = Bind(this, &TFormMain::GradientButton2Click);

    // Non-visual components.
    ActionListMenu = CreateComponent<TActionList>(this);
    ActionListMenu->SetName(L"ActionListMenu");

    ActionSettings = CreateComponent<TAction>(this);
    ActionSettings->SetName(L"ActionSettings");
    ActionSettings->SetActionList(ActionListMenu);
    Caption(ActionSettings, TText::ActionSettings);
    ActionSettings->OnExecute = Bind(this, &TFormMain::ActionSettingsExecute);

    ActionOptimize = CreateComponent<TAction>(this);
    ActionOptimize->SetName(L"ActionOptimize");
    ActionOptimize->SetActionList(ActionListMenu);
    Caption(ActionOptimize, TText::MenuOptimize);
    ActionOptimize->OnExecute = Bind(this, &TFormMain::ActionOptimizeExecute);

    TimerMem = CreateComponent<TTimer>(this);
    TimerMem->SetName(L"TimerMem");
    TimerMem->SetEnabled(false);
    TimerMem->SetInterval(10);
    // Each tick also samples how memory divides, for the memory window,
    // from the start whether that window is open or not.
    TimerMem->OnTimer = [this](TObject* sender) {
        TimerMemTimer(sender);
        SampleMemory(*Mem);
    };

    TimerReport = CreateComponent<TTimer>(this);
    TimerReport->SetName(L"TimerReport");
    TimerReport->SetEnabled(false);
    TimerReport->SetInterval(ReportShowTime);
    TimerReport->OnTimer = Bind(this, &TFormMain::TimerReportTimer);

    // The interval's own time, whatever the monitor's refresh; off while the
    // interval is.
    TimerInterval = CreateComponent<TTimer>(this);
    TimerInterval->SetName(L"TimerInterval");
    TimerInterval->SetEnabled(false);
    TimerInterval->OnTimer = Bind(this, &TFormMain::TimerIntervalTimer);

    PopupMenuIcon = CreateComponent<TPopupMenu>(this);
    PopupMenuIcon->SetName(L"PopupMenuIcon");

    OpenMain = CreateComponent<TMenuItem>(this);
    OpenMain->SetName(L"OpenMain");
    Caption(OpenMain, TText::MenuOpenMain);
    OpenMain->SetDefault(true);
    OpenMain->SetBitmap(TResourceBitmap(IDB_MENU_OPEN_MAIN));
    OpenMain->OnClick = Bind(this, &TFormMain::OpenMainClick);
    PopupMenuIcon->Items().Add(OpenMain);

    OptimizeNow = CreateComponent<TMenuItem>(this);
    OptimizeNow->SetName(L"OptimizeNow");
    OptimizeNow->SetBitmap(TResourceBitmap(IDB_MENU_OPTIMIZE));
    PopupMenuIcon->Items().Add(OptimizeNow);
    load.Fixup([this] { OptimizeNow->SetAction(ActionOptimize); });

    RunHistory = CreateComponent<TMenuItem>(this);
    RunHistory->SetName(L"RunHistory");
    Caption(RunHistory, TText::MenuHistory);
    RunHistory->OnClick = Bind(this, &TFormMain::RunHistoryClick);
    PopupMenuIcon->Items().Add(RunHistory);

    // The memory window, from the tray and from the monitor's own menu (a
    // right click, the menu key or Shift+F10 on it).
    auto openDetails = [this](TObject*) { TFormMemory::Open(this, HistoryPath()); };
    auto* details = CreateComponent<TMenuItem>(this);
    details->SetName(L"MemoryDetails");
    Caption(details, TText::MenuDetails);
    details->OnClick = openDetails;
    PopupMenuIcon->Items().Add(details);
    auto* monitorMenu = CreateComponent<TPopupMenu>(this);
    monitorMenu->SetName(L"PopupMenuMonitor");
    auto* monitorDetails = CreateComponent<TMenuItem>(this);
    Caption(monitorDetails, TText::MenuDetails);
    monitorDetails->OnClick = openDetails;
    monitorMenu->Items().Add(monitorDetails);
    GroupBoxMonitor->OnContextPopup = [monitorMenu](TObject*, POINT at) {
        monitorMenu->SetRightToLeft(CurrentLanguage().RightToLeft);
        monitorMenu->Popup(at.x, at.y);
    };

    ShowFreeInIcon = CreateComponent<TMenuItem>(this);
    ShowFreeInIcon->SetName(L"ShowFreeInIcon");
    Caption(ShowFreeInIcon, TText::MenuShowFree);
    ShowFreeInIcon->SetChecked(true);
    ShowFreeInIcon->OnClick = Bind(this, &TFormMain::ShowFreeInIconClick);
    PopupMenuIcon->Items().Add(ShowFreeInIcon);

    // "Windows default", then each language named in itself.
    LanguageMenu = CreateComponent<TMenuItem>(this);
    LanguageMenu->SetName(L"LanguageMenu");
    Caption(LanguageMenu, TText::MenuLanguage);
    PopupMenuIcon->Items().Add(LanguageMenu);
    auto addLanguage = [this](const wchar_t* tag) {
        auto* item = CreateComponent<TMenuItem>(this);
        item->OnClick = [this, tag](TObject*) { LanguageClick(tag); };
        LanguageMenu->Add(item);
        languageItems_.emplace_back(item, tag);
        return item;
    };
    Caption(addLanguage(L""), TText::LanguagesWindowsDefault);
    for (const TLanguage& language : Languages()) addLanguage(language.Tag)->SetCaption(language.Name);

    // Windows' own mode, or light or dark whatever Windows says.
    ThemeMenu = CreateComponent<TMenuItem>(this);
    ThemeMenu->SetName(L"ThemeMenu");
    Caption(ThemeMenu, TText::MenuTheme);
    PopupMenuIcon->Items().Add(ThemeMenu);
    auto addTheme = [this, &Caption](TThemeChoice choice, TText text) {
        auto* item = CreateComponent<TMenuItem>(this);
        item->OnClick = [this, choice](TObject*) { ThemeClick(choice); };
        Caption(item, text);
        ThemeMenu->Add(item);
        themeItems_.emplace_back(item, choice);
    };
    addTheme(TThemeChoice::tcWindows, TText::ThemesWindows);
    addTheme(TThemeChoice::tcLight, TText::ThemesLight);
    addTheme(TThemeChoice::tcDark, TText::ThemesDark);

    N1 = CreateComponent<TMenuItem>(this);
    N1->SetName(L"N1");
    N1->SetCaption(L"-");
    PopupMenuIcon->Items().Add(N1);

    Exit = CreateComponent<TMenuItem>(this);
    Exit->SetName(L"Exit");
    Caption(Exit, TText::MenuExit);
    Exit->OnClick = Bind(this, &TFormMain::ExitClick);
    PopupMenuIcon->Items().Add(Exit);

    TrayIcon = CreateComponent<TTrayIcon>(this);
    TrayIcon->SetName(L"TrayIcon");
    TrayIcon->SetActive(false);
    Hint(TrayIcon, TText::TrayTip);
    ApplyDirection();
    TrayIcon->SetIcon(&Icon());
    load.Fixup([this] { TrayIcon->SetPopupMenu(PopupMenuIcon); });
    TrayFigure = std::make_unique<TTrayFigureIcon>(*TrayIcon);

    OnCreate = Bind(this, &TFormMain::FormCreate);
    OnClose = Bind(this, &TFormMain::FormClose);
    load.Finish();
}

void TFormMain::FitTexts()
{
    const int dpi = Dpi();
    // A control at its design place scaled to dpi, left edge and width given
    // in pixels; top and height as designed.
    auto place = [this, dpi](TControl* c, int left, int width) {
        const RECT d = DesignBounds(c);
        const int top = DesignToPixels(d.top, dpi);
        // A label that sizes itself to its text only moves.
        if (auto* label = dynamic_cast<TLabel*>(c); label != nullptr && label->AutoSize())
            c->SetBounds(left, top, c->Width(), c->Height());
        else
            c->SetBounds(left, top, width, DesignToPixels(d.bottom, dpi) - top);
    };
    auto designLeft = [this, dpi](TControl* c) { return DesignToPixels(DesignBounds(c).left, dpi); };
    auto designWidth = [this](TControl* c) { return DesignBounds(c).right - DesignBounds(c).left; };
    auto overflow = [&](TControl* c, int needed) {
        return Overflow(DesignBounds(c).left, designWidth(c), dpi, needed);
    };
    auto widen = [&](TControl* c, int by) {
        place(c, designLeft(c), DesignToPixels(DesignBounds(c).right, dpi) - designLeft(c) + by);
    };

    // The left column: its group boxes and buttons share one width. The
    // monitor's label shows the free memory or a report, at their longest.
    const std::wstring largest = FormatByteSize(L"1099500000000");
    int column = 0;
    for (const std::wstring& text :
         {Text(TText::WindowAvailable, {largest}), Text(TText::ReportFreed, {largest}),
          Text(TText::ReportNothingFreed), ErrorReportText(Text(TText::ErrorOutOfMemory)),
          Text(TText::ReportSettingsNotKept), Text(TText::ReportHistoryNotKept), Text(TText::ReportRefusedShort)})
        column = std::max(column, overflow(LabelFree, LabelFree->TextWidth(text)));
    TControl* const columnBoxes[] = {GroupBoxMonitor, SpeedButtonOptimize, SpeedButtonSettings, GradientButton1,
                                     GradientButton2, GroupBoxOptimizing};
    for (TControl* c : columnBoxes) column = std::max(column, overflow(c, c->TextWidthNeeded()));
    for (TControl* c : columnBoxes) widen(c, column);
    widen(ProgressBarFree, column);
    // What the monitor centres stays centred.
    for (TControl* c : {static_cast<TControl*>(LabelMEMP), static_cast<TControl*>(ProgressBarMEM)})
        place(c, designLeft(c) + column / 2, DesignToPixels(DesignBounds(c).right, dpi) - designLeft(c));

    // The settings page: each row of a group box left to right, the boxes
    // one width, the page as wide as they need.
    const int sliderText = LabelSlider->TextWidth(Text(TText::SettingsMegabytes, {std::to_wstring(TrackRAM->Max())}));
    const int hotkeyWord = std::max(LabelHotkeyTaken->TextWidth(Text(TText::SettingsHotkeyTaken)),
                                    LabelHotkeyTaken->TextWidth(Text(TText::SettingsHotkeyReserved)));
    // Beside an area's box, any reason.
    int areaWhy = 0;
    for (TText why : {TText::MemoryNeedsAdmin, TText::MemoryNeeds64bit, TText::MemoryNeedsWindows})
        areaWhy = std::max(areaWhy, AreaRows[0].Why->TextWidth(Text(why)));
    std::vector<std::pair<TGroupBox*, std::vector<TControl*>>> rows = {
        {GroupBoxRam, {TrackRAM, LabelSlider}},
        {GroupBoxAlarm, {CheckBoxAutoOptimize, SpinEditAlarmMB, LabelMB}},
        {GroupBoxMisc, {LabelRefresh, SpinEditRefresh, CheckBoxAutoRun2}},
        {GroupBoxHotkey, {HotkeyOptimize, LabelHotkeyTaken}},
    };
    for (const TAreaRow& area : AreaRows) rows.push_back({GroupBoxAreas, {area.Box, area.Why}});
    rows.push_back({GroupBoxAreas, {GradientButtonElevate}});
    rows.push_back({GroupBoxTrim, {EditTrimExclude}});
    rows.push_back({GroupBoxInterval, {LabelInterval, SpinEditInterval, LabelIntervalMinutes}});
    const auto needed = [&](const TControl* c) {
        if (c == LabelSlider) return sliderText;
        if (c == LabelHotkeyTaken) return hotkeyWord;
        for (const TAreaRow& area : AreaRows)
            if (c == area.Why) return areaWhy;
        return c->TextWidthNeeded();
    };
    int page = 0;
    std::vector<std::vector<TFitPlace>> places;
    for (const auto& [box, row] : rows) {
        std::vector<TFitItem> items;
        for (TControl* c : row) {
            const RECT d = DesignBounds(c);
            items.push_back({static_cast<int>(d.left), static_cast<int>(d.right - d.left), needed(c)});
        }
        places.emplace_back(items.size());
        page = std::max({page, FitRow(items, dpi, places.back()), overflow(box, box->TextWidthNeeded())});
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        widen(rows[r].first, page);
        for (std::size_t i = 0; i < rows[r].second.size(); ++i)
            place(rows[r].second[i], places[r][i].Left, places[r][i].Width);
    }
    // The list of names takes the whole width of its box.
    widen(EditTrimExclude, page);
    // The About page's boxes, to the same width.
    page = std::max(page, overflow(GroupBox2, GroupBox2->TextWidthNeeded()));
    widen(GroupBox1, page);
    widen(GroupBox2, page);
    place(PageControlSettings, designLeft(PageControlSettings) + column,
          DesignToPixels(DesignBounds(PageControlSettings).right, dpi) - designLeft(PageControlSettings) + page);

    columnGrowth_ = column;
    pageGrowth_ = page;
}

int TFormMain::ClientWidth(bool settingsOpen) const
{
    int width = ScaleDesign(CompactClientWidth) + columnGrowth_;
    if (settingsOpen) width += ScaleDesign(SettingsSlideSteps * SettingsSlideStep) + pageGrowth_;
    return width;
}
