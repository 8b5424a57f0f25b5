// The main window's behaviour: the one-second monitor tick (the program's
// main loop), the optimise run with its sliding progress strip, the settings
// slide, the tray, the autorun box and the About page.
#include "app/formmain.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/closerequest.h"
#include "app/heldrequest.h"
#include "app/language.h"
#include "app/optimizerequest.h"
#include "app/productinfo.h"
#include "app/recordedrun.h"
#include "app/singleinstance.h"
#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayfigureicon.h"
#include "controls/trayicon.h"
#include "engine/bytesize.h"
#include "engine/mem.h"
#include "engine/runreport.h"
#include "engine/systemmemory.h"
#include "resources/resource.h"
#include "settings/languagesetting.h"
#include "settings/regaccess.h"
#include "settings/runhistory.h"
#include "settings/settingsstore.h"
#include "settings/themesetting.h"
#include "settings/usersettings.h"
#include "toolkit/actions.h"
#include "toolkit/application.h"
#include "toolkit/checkbox.h"
#include "toolkit/edit.h"
#include "toolkit/globalhotkey.h"
#include "toolkit/hotkeyedit.h"
#include "toolkit/icon.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/modulepath.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/progressbar.h"
#include "toolkit/screen.h"
#include "toolkit/shell.h"
#include "toolkit/taskbartheme.h"
#include "toolkit/theme.h"
#include "toolkit/timer.h"
#include "toolkit/trackbar.h"

TMem* Mem = nullptr;

// The store keeps the areas' bits as the engine numbers them.
static_assert(kStoredAreasMask == kAllAreas && kStoredDefaultAreas == kDefaultAreas);

namespace {

// The slider's "812 MB".
std::wstring MegabytesText(int value)
{
    return Text(TText::SettingsMegabytes, {std::to_wstring(value)});
}

// "93%".
std::wstring PercentText(int value)
{
    return Text(TText::WindowPercent, {std::to_wstring(value)});
}

// Share of physical memory that is free, in whole percent (truncated).
int FreePercent(const TMemoryStatus& status)
{
    if (status.TotalPhys == 0) return 0;
    return static_cast<int>(std::trunc(static_cast<double>(status.AvailPhys) / static_cast<double>(status.TotalPhys) * 100.0));
}

// The monitor's free-memory text, "93.25 MB Available".
std::wstring AvailableText(std::uint64_t avail)
{
    return Text(TText::WindowAvailable, {FormatByteSize(std::to_wstring(avail))});
}

// What the shell shows for us, the tip and the balloons, laid out from
// right to left in Arabic and Hebrew: the shell has no switch for it, but a
// right-to-left mark first sets the direction of the text.
std::wstring ShellText(const std::wstring& text)
{
    return CurrentLanguage().RightToLeft ? L"\u200F" + text : text;
}

// Refresh period in milliseconds for a value in seconds: a value of 0 or
// below stops the ticks; large values are held at the timer's maximum.
unsigned RefreshInterval(std::int32_t seconds)
{
    if (seconds <= 0) return 0;
    const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
    return static_cast<unsigned>(std::min<std::int64_t>(ms, USER_TIMER_MAXIMUM));
}

// Restores the buttons and the cursor when a run ends, however it ends.
class TRunGuard {
public:
    TRunGuard(TFormMain& form, bool& running) : form_(form), running_(running)
    {
        running_ = true;
        Screen->SetCursor(crHourGlass);
        form_.SpeedButtonSettings->SetEnabled(false);
        form_.SpeedButtonOptimize->SetEnabled(false);
    }
    TRunGuard(const TRunGuard&) = delete;
    TRunGuard& operator=(const TRunGuard&) = delete;
    ~TRunGuard()
    {
        form_.SpeedButtonSettings->SetEnabled(true);
        form_.SpeedButtonOptimize->SetEnabled(true);
        Screen->SetCursor(crDefault);
        running_ = false;
    }

private:
    TFormMain& form_;
    bool& running_;
};

} // namespace

TFormMain::TFormMain(TComponent* owner) : TForm(owner)
{
    // Before the creation handler, whose errors end it early: a request or
    // the end of the session may come however the start went.
    Application->HookMainWindow(this, [this](TMessage& m) { return ApplicationMessage(m); });
    AcceptOptimizeRequests(Application->Handle());
    AcceptCloseRequests(*this);
    Clock = [] { return static_cast<std::uint64_t>(GetTickCount64()); };
    Elevated = ProcessIsElevated;
    WindowsVersion = RunningWindowsVersion;
    Wow64 = ProgramIs32BitOn64BitWindows;
    StartElevated = [this](const std::wstring& arguments) { return StartElevatedCopy(Handle(), arguments); };
    optimizeHotkey_ = std::make_unique<TGlobalHotkey>(OptimizeHotkeyId);
    heldRequest_ = std::make_unique<THeldRequest>([this] { return RunsHeldBack(); },
                                                  [this] { RunOptimize(TRunTrigger::rtRequest, true); });
    LoadLayout();
}

TFormMain::~TFormMain()
{
    Application->UnhookMainWindow(this);
    SettingsStore().OnNotKept = nullptr;
    // The engine outlives the window: it must not call back into it.
    if (Mem != nullptr) {
        Mem->OnBlockAllocated = nullptr;
        Mem->OnBlockReleased = nullptr;
        Mem->ProcessMessages = nullptr;
    }
}

void TFormMain::FormCreate(TObject*)
{
    // A portable copy that cannot keep its settings says so once, when it
    // is first seen.
    settingsNotKeptUntold_ = !SettingsStore().Keeps();
    SettingsStore().OnNotKept = [this] {
        settingsNotKeptUntold_ = true;
        TellNotKept();
    };
    ShowAutorunAtStart();

    Mem->OnBlockAllocated = Bind(this, &TFormMain::DoBlockAllocated);
    Mem->OnBlockReleased = Bind(this, &TFormMain::DoBlockReleased);
    Mem->ProcessMessages = [] { Application->ProcessMessages(); };

    TimerMem->SetInterval(1000);
    TimerMem->SetEnabled(true);
    SpinEditRefresh->SetValue(1);

    isNT_ = Mem->IsWindowsNT();
    if (isNT_) {
        ProgressBarCPU->SetEnabled(false);
        LabelCPUP->SetCaption(Text(TText::WindowNotAvailable));
    }

    // The slider spans 1 to half the physical memory in units of 10^6 bytes,
    // and never more than this process can take at once.
    const int maximum = RamToFreeMaximum(Mem->ReadStatus(), TMem::BlockSize);
    // A reader hears the figures as they are shown: the slider's "… MB" and
    // the monitor's percentage of free memory.
    TrackRAM->ValueText = [](int position) { return MegabytesText(position); };
    ProgressBarMEM->ValueText = [](std::int32_t position) { return PercentText(position); };
    TrackRAM->SetMin(1);
    TrackRAM->SetMax(maximum);
    TrackRAM->SetPosition(maximum / 2);

    ProgressBarCPU->SetMin(1);
    ProgressBarCPU->SetMax(100);
    ProgressBarMEM->SetMin(1);
    ProgressBarMEM->SetMax(100);
    ProgressBarFree->SetPosition(1);
    ProgressBarFree->SetMin(1);
    ProgressBarFree->SetMax(100);

    ApplyStoredSettings();
    HoldOptimizeHotkey();
    languageChoice_ = ReadLanguageSetting();
    CheckLanguageItem();
    themeChoice_ = ReadThemeSetting();
    ApplyTheme();

    LabelSlider->SetCaption(MegabytesText(TrackRAM->Position()));
    FitTexts();
    SetClientSize(ClientWidth(settingsOpen_), ScaleDesign(CompactClientHeight));
    CheckBoxAutoRun->SetChecked(Mem->MachineAutorunRegistered());

    // The settings page sits beyond the closed window's edge. Hidden, it
    // takes no keyboard focus there, and its windows (and the common
    // controls library) wait until it first opens.
    PageControlSettings->SetVisible(false);

    TimerMemTimer(this);
}

void TFormMain::TimerMemTimer(TObject*)
{
    const TMemoryStatus& status = Mem->ReadStatus();
    ShowStatus(status);

    // A run in progress (this tick is inside its message pumping) is never
    // doubled, and none starts under a box of ours that waits for the user.
    const bool armed = CheckBoxAutoOptimize->Checked() && !RunsHeldBack();
    const TAlarmDecision alarm = alarmRule_.Tick(Clock(), status.AvailPhys, AlarmBytes(), armed);
    if (alarm.Run) AlarmRun(alarm.Report);
    if (settingsNotKeptUntold_ || historyNotKeptUntold_) TellNotKept();

    Application->ProcessMessages();
}

bool TFormMain::RunsHeldBack() const
{
    return settingsOpen_ || optimizing_ || Application->MessageBoxOpen();
}

void TFormMain::ShowStatus(const TMemoryStatus& status)
{
    const std::uint64_t avail = status.AvailPhys;
    if (!isNT_) {
        const std::int32_t cpu = Mem->GetCpuUsage();
        LabelCPUP->SetCaption(PercentText(cpu));
        ProgressBarCPU->SetPosition(cpu);
    }

    const int pct = FreePercent(status);
    ProgressBarMEM->SetPosition(pct);
    LabelMEMP->SetCaption(PercentText(pct));
    // A run's report keeps the label until its time is up; the tip always
    // shows the free memory.
    const std::wstring freeText = AvailableText(avail);
    if (!TimerReport->Enabled()) LabelFree->SetCaption(freeText);

    if (TrayIcon->Active()) {
        ShowTrayFigure(status);
        TrayIcon->SetHint(ShellText(TrayTip(freeText)));
    }
}

void TFormMain::AlarmRun(bool report)
{
    TimerMem->SetEnabled(false);
    struct TTicksGoOn {
        TTimer* timer;
        ~TTicksGoOn() { timer->SetEnabled(true); }
    } ticksGoOn{TimerMem};
    const std::uint64_t asked = static_cast<std::uint64_t>(TrackRAM->Position()) * TMem::BlockSize;
    std::uint64_t freed = 0;
    try {
        freed = FreedBytes(RunOptimize(TRunTrigger::rtAlarm, report).Record);
    } catch (...) {
        // Nobody asked for this run, and the next tick may well fail the
        // same way: its failure is told once a fall, as quietly as its
        // report, never in a box. It counts as a run that freed nothing, and
        // the cool-down keeps it from failing again at once.
        const Exception error = CurrentError();
        if (alarmRule_.AlarmRunFailed(Clock(), asked))
            ShowRunReport(ErrorReportText(error.Message()), TBalloonStyle::bsQuiet);
        return;
    }
    alarmRule_.AlarmRunEnded(Clock(), asked, freed);
}

void TFormMain::ActionOptimizeExecute(TObject*)
{
    RunOptimize(TRunTrigger::rtManual, true);
}

TRecordedRun TFormMain::RunOptimize(TRunTrigger trigger, bool report)
{
    // The tray menu's item stays enabled during a run; a second run nested in
    // the first would double the memory held and end with the buttons enabled
    // while the outer run still goes on.
    if (optimizing_) return {};
    TRunGuard guard(*this, optimizing_);
    // However it ends, the interval counts from here.
    struct TCountFromTheEnd {
        TFormMain& form;
        ~TCountFromTheEnd() { form.intervalRule_.RunEnded(form.Clock()); }
    } countFromTheEnd{*this};
    SlideClient(OptimizeSlideSteps, 0, OptimizeSlideStep);
    TRunChoice choice;
    choice.Areas = AreasShown();
    choice.Excluded = NamesFromText(EditTrimExclude->Text());
    choice.Place = RunPlace();
    choice.SystemCall = SystemAreaCall;
    // The fill alone moves the strip block by block; more steps move it step
    // by step.
    stepProgress_ = choice.Areas != kAreaFill;
    choice.OnStep = [this](std::size_t step, std::size_t steps) {
        if (stepProgress_) ProgressBarFree->SetPosition(static_cast<std::int32_t>(1 + 99 * step / steps));
    };
    TRecordedRun recorded;
    try {
        recorded = RecordedRun(*Mem, trigger, TrackRAM->Position(), choice, [this](const TRunRecord& r) { RecordRun(r); });
    } catch (...) {
        // A failed run slides back too: left taller, the window would grow
        // by the strip's height with every failure, and alarm runs now
        // outlive theirs.
        SlideClient(OptimizeSlideSteps, 0, -OptimizeSlideStep);
        throw;
    }
    ProgressBarFree->SetPosition(ProgressBarFree->Max());
    SlideClient(OptimizeSlideSteps, 0, -OptimizeSlideStep);
    // A run nobody asked for makes no sound, and none during the user's
    // quiet time; one that is not reported shows only in the tip.
    const TRunRecord& run = recorded.Record;
    if (report)
        ShowRunReport(RunReport(run.FreeBeforeBytes, run.FreeAfterBytes, recorded.Refused),
                      trigger == TRunTrigger::rtAlarm ? TBalloonStyle::bsQuiet : TBalloonStyle::bsAnnounce);
    else if (TrayIcon->Active())
        TrayIcon->SetHint(ShellText(TrayTip(AvailableText(run.FreeAfterBytes))));
    return recorded;
}

std::wstring TFormMain::HistoryPath() const
{
    return HistoryFile.empty() ? RunHistoryPath() : HistoryFile;
}

void TFormMain::RecordRun(const TRunRecord& run)
{
    try {
        AppendRunHistory(HistoryPath(), run);
    } catch (...) {
        // The run goes on as if recorded. Said once: every later run would
        // only repeat it. A portable copy's folder that refuses it (a
        // read-only stick) is said quietly, after the run's report.
        if (historyErrorShown_) return;
        historyErrorShown_ = true;
        if (SettingsStore().Portable() && RunHistoryRefused(HistoryPath()))
            historyNotKeptUntold_ = true;
        else
            Application->HandleException(this);
    }
}

void TFormMain::ShowRunReport(const std::wstring& text, TBalloonStyle style)
{
    ShowRunReport(TRunReport{text, {text}}, style);
}

void TFormMain::ShowRunReport(const TRunReport& report, TBalloonStyle style)
{
    if (TrayIcon->Active()) {
        TrayIcon->ShowBalloon(ShellText(Application->Title()), ShellText(report.Full), style);
        return;
    }
    // The line is narrow: the whole report stands in its hint meanwhile.
    LabelFree->SetHint(report.Lines.size() > 1 ? report.Full : std::wstring());
    reportLinesLeft_.assign(report.Lines.rbegin(), report.Lines.rend());
    TimerReportTimer(this);
}

void TFormMain::TimerReportTimer(TObject*)
{
    // Restarted for each line, so a second report gets its full time too.
    TimerReport->SetEnabled(false);
    if (reportLinesLeft_.empty()) {
        LabelFree->SetHint({});
        LabelFree->SetCaption(AvailableText(Mem->ReadStatus().AvailPhys));
        return;
    }
    LabelFree->SetCaption(reportLinesLeft_.back());
    reportLinesLeft_.pop_back();
    TimerReport->SetEnabled(true);
}

void TFormMain::DoBlockAllocated(TObject*, std::int32_t index)
{
    if (!stepProgress_) ProgressBarFree->SetPosition(index);
}

void TFormMain::DoBlockReleased(TObject*, std::int32_t index)
{
    if (!stepProgress_) ProgressBarFree->SetPosition(ProgressBarFree->Position() + index);
}

void TFormMain::ActionSettingsExecute(TObject*)
{
    const bool closing = settingsOpen_;
    if (!closing) {
        ShowAreaRights();
        // Drawn when first needed: the common controls that draw it are
        // loaded for the settings page, never at the start.
        if (GradientButtonElevate->Visible() && GradientButtonElevate->Glyph().Empty()) ShowShield();
        PageControlSettings->SetVisible(true);
    }
    // Towards the width the texts need open or closed, wherever it starts.
    const RECT start = ClientRect();
    const int target = ClientWidth(!closing);
    for (int i = 1; i <= SettingsSlideSteps; ++i)
        SetClientSize(start.right + (target - start.right) * i / SettingsSlideSteps, start.bottom);
    if (closing) PageControlSettings->SetVisible(false);
    if (closing) {
        TimerMem->SetInterval(RefreshInterval(SpinEditRefresh->Value()));
        // Shown as they are kept.
        const TUserSettings shown = SettingsShown();
        EditTrimExclude->SetText(NamesToText(shown.TrimExclude));
        SpinEditInterval->SetValue(static_cast<std::int32_t>(shown.IntervalMinutes));
        for (const TAreaRow& row : AreaRows) row.Box->SetChecked((shown.MemoryAreas & AreaBit(row.Area)) != 0);
        SetIntervalMinutes(shown.IntervalMinutes);
    }
    SpeedButtonOptimize->SetEnabled(closing);
    settingsOpen_ = !settingsOpen_;
    if (closing && hotkeyRefused_) {
        hotkeyRefused_ = false;
        ShowHotkeyWord();
    }
    // Last, so that a store that cannot be written leaves the page closed
    // and its error in the default report.
    if (closing) SaveSettings();
}

void TFormMain::SlideClient(int steps, int dx, int dy)
{
    const RECT start = ClientRect();
    for (int i = 1; i <= steps; ++i) SetClientSize(start.right + ScaleDesign(dx * i), start.bottom + ScaleDesign(dy * i));
}

void TFormMain::DpiChangeDone()
{
    if (!GradientButtonElevate->Glyph().Empty()) ShowShield();
    // Texts do not scale exactly with the dpi: their room is made again.
    FitTexts();
    SetClientSize(ClientWidth(settingsOpen_), ClientRect().bottom);
}

void TFormMain::ApplyStoredSettings()
{
    // The controls hold their start values now; each is the default of its
    // setting when nothing usable is stored.
    const TUserSettings s = SettingsFromStore(ReadStoredSettings(), SettingsShown(), TrackRAM->Min(), TrackRAM->Max());
    TrackRAM->SetPosition(s.RamToFree);
    SpinEditAlarmMB->SetValue(s.AlarmLevel);
    CheckBoxAutoOptimize->SetChecked(s.AutoOptimize);
    SpinEditRefresh->SetValue(s.RefreshPeriod);
    TimerMem->SetInterval(RefreshInterval(s.RefreshPeriod));
    ShowFreeInIcon->SetChecked(s.TrayShowsFree);
    HotkeyOptimize->SetHotkey(s.OptimizeHotkey);
    for (const TAreaRow& row : AreaRows) row.Box->SetChecked((s.MemoryAreas & AreaBit(row.Area)) != 0);
    EditTrimExclude->SetText(NamesToText(s.TrimExclude));
    SpinEditInterval->SetValue(static_cast<std::int32_t>(s.IntervalMinutes));
    SetIntervalMinutes(s.IntervalMinutes);
}

TRunPlace TFormMain::RunPlace() const
{
    return {Elevated(), WindowsVersion(), Wow64()};
}

void TFormMain::ShowAreaRights()
{
    const TRunPlace place = RunPlace();
    for (const TAreaRow& row : AreaRows) {
        // As a run's plan has it: a run would skip what cannot be chosen.
        const TStepPlan plan = AreaPlan(row.Area, place);
        row.Box->SetEnabled(plan == TStepPlan::spRun);
        row.Why->SetCaption(Text(plan == TStepPlan::spSkipRights  ? TText::MemoryNeedsAdmin
                                 : plan == TStepPlan::spSkip64Bit ? TText::MemoryNeeds64bit
                                                                  : TText::MemoryNeedsWindows));
        row.Why->SetVisible(plan != TStepPlan::spRun);
    }
    GradientButtonElevate->SetVisible(!place.Elevated);
}

void TFormMain::ShowShield()
{
    LoadStockIconGlyph(GradientButtonElevate->Glyph(), IDI_SHIELD, ScaleDesign(16), GradientButtonElevate->ColorFace());
}

std::uint32_t TFormMain::AreasShown() const
{
    std::uint32_t areas = 0;
    for (const TAreaRow& row : AreaRows)
        if (row.Box->Checked()) areas |= AreaBit(row.Area);
    // Nothing to free would be no run at all: the fill, as with nothing stored.
    return areas != 0 ? areas : kDefaultAreas;
}

TUserSettings TFormMain::SettingsShown() const
{
    TUserSettings s;
    s.RamToFree = TrackRAM->Position();
    s.AlarmLevel = SpinEditAlarmMB->Value();
    s.AutoOptimize = CheckBoxAutoOptimize->Checked();
    s.RefreshPeriod = SpinEditRefresh->Value();
    s.TrayShowsFree = ShowFreeInIcon->Checked();
    s.OptimizeHotkey = HotkeyOptimize->Hotkey();
    s.MemoryAreas = AreasShown();
    s.TrimExclude = NamesFromText(EditTrimExclude->Text());
    s.IntervalMinutes = IntervalFromShown(SpinEditInterval->Value());
    return s;
}

void TFormMain::SaveSettings()
{
    WriteUserSettings(SettingsShown());
}

void TFormMain::HotkeyOptimizeChange(TObject*)
{
    // At once: the old key is free the moment another is chosen.
    hotkeyRefused_ = false;
    HoldOptimizeHotkey();
}

void TFormMain::HotkeyOptimizeRefuse(TObject*)
{
    hotkeyRefused_ = true;
    ShowHotkeyWord();
}

void TFormMain::HoldOptimizeHotkey()
{
    hotkeyHeld_ = optimizeHotkey_->Hold(Application->Handle(), HotkeyOptimize->Hotkey());
    ShowHotkeyWord();
    hotkeyTakenUntold_ = !hotkeyHeld_ && !hotkeyTakenTold_;
    TellHotkeyTaken();
}

void TFormMain::ShowHotkeyWord()
{
    // One place beside the field: a refused key is the newer news.
    LabelHotkeyTaken->SetCaption(Text(hotkeyRefused_ ? TText::SettingsHotkeyReserved : TText::SettingsHotkeyTaken));
    LabelHotkeyTaken->SetVisible(hotkeyRefused_ || !hotkeyHeld_);
}

void TFormMain::TellHotkeyTaken()
{
    // Only the tray can say it unasked; a window that is open says it on
    // its settings page. The program works on without the key.
    if (!hotkeyTakenUntold_ || !TrayIcon->Active()) return;
    hotkeyTakenUntold_ = false;
    hotkeyTakenTold_ = true;
    const std::wstring key = THotkeyEdit::HotkeyText(HotkeyOptimize->Hotkey());
    // Titled with the setting, as the program's own name is the tray's.
    TrayIcon->ShowBalloon(ShellText(Text(TText::SettingsHotkey)),
                          ShellText(Text(TText::SettingsHotkeyTakenTray, {key})), TBalloonStyle::bsQuiet);
}

void TFormMain::TrackRAMChange(TObject*)
{
    LabelSlider->SetCaption(MegabytesText(TrackRAM->Position()));
}

void TFormMain::ShowInTray()
{
    // The figure first, so the icon never shows the program's picture for a tick.
    ShowTrayFigure(Mem->ReadStatus());
    TrayIcon->SetActive(true);
    TellHotkeyTaken();
}

void TFormMain::GoToTray()
{
    ShowInTray();
    Hide();
}

std::uint64_t TFormMain::AlarmBytes() const
{
    // In bytes, so the comparison holds above 10^9 bytes too; the spin edit
    // is unbounded, and a value below 0 means no alarm.
    return static_cast<std::uint64_t>(std::max<std::int32_t>(SpinEditAlarmMB->Value(), 0)) * TMem::BlockSize;
}

void TFormMain::ShowTrayFigure(const TMemoryStatus& status)
{
    if (!ShowFreeInIcon->Checked()) {
        TrayFigure->Stop(Icon());
        return;
    }
    const TTrayFigure figure = TrayFigureFor(FreePercent(status), status.AvailPhys, status.TotalPhys,
                                             CheckBoxAutoOptimize->Checked(), AlarmBytes());
    TrayFigure->Show(figure, ProgressBarMEM->ForeColorGrad());
}

void TFormMain::ShowFreeInIconClick(TObject*)
{
    ShowFreeInIcon->SetChecked(!ShowFreeInIcon->Checked());
    if (TrayIcon->Active()) ShowTrayFigure(Mem->ReadStatus());
}

void TFormMain::LanguageClick(const std::wstring& tag)
{
    ChooseLanguageSetting(tag);
    languageChoice_ = tag;
    ApplyLanguage();
}

void TFormMain::ThemeClick(TThemeChoice choice)
{
    WriteThemeSetting(choice);
    themeChoice_ = choice;
    ApplyTheme();
}

void TFormMain::ApplyTheme()
{
    const bool dark = themeChoice_ == TThemeChoice::tcDark ||
                      (themeChoice_ == TThemeChoice::tcWindows && !AppsUseLightTheme());
    for (const auto& [item, choice] : themeItems_) item->SetChecked(choice == themeChoice_);
    // Every brush and colour is asked for again, as for new system colours;
    // a start in the light theme, or a word from Windows that changes
    // nothing, repaints nothing.
    if (SetDarkTheme(dark)) FollowSystemColors();
}

void TFormMain::ApplyLanguage()
{
    ApplyDirection();
    texts_.Apply();
    // The reasons beside the areas, in the new language; asked afresh when
    // the page opens.
    if (settingsOpen_) ShowAreaRights();
    NotifyLanguage(this);
    CheckLanguageItem();
    // The texts that carry a figure.
    LabelSlider->SetCaption(MegabytesText(TrackRAM->Position()));
    if (isNT_) LabelCPUP->SetCaption(Text(TText::WindowNotAvailable));
    ShowStatus(Mem->ReadStatus());
    FitTexts();
    SetClientSize(ClientWidth(settingsOpen_), ClientRect().bottom);
}

void TFormMain::CheckLanguageItem()
{
    // The item of the language the choice is spoken in, however its tag was
    // stored ("DE", "pt-br"); "Windows default" for no choice and for one
    // that names no language of ours, as Windows' own is spoken for both.
    const TLanguage* chosen = ChosenLanguage(languageChoice_);
    for (const auto& [item, tag] : languageItems_) item->SetChecked(ChosenLanguage(tag) == chosen);
}

void TFormMain::ApplyDirection()
{
    const bool rightToLeft = CurrentLanguage().RightToLeft;
    SetRightToLeft(rightToLeft);
    PopupMenuIcon->SetRightToLeft(rightToLeft);
}

void TFormMain::TakeOver(int left, int top)
{
    SetLeft(left);
    SetTop(top);
    if (!settingsOpen_) ActionSettingsExecute(this);
    PageControlSettings->SetActivePage(TabSheetMemory);
}

void TFormMain::GradientButtonElevateClick(TObject*)
{
    // The new copy starts from what is kept: the choices shown are kept first.
    SaveSettings();
    if (!StartElevated(TakeoverArguments({static_cast<std::uint32_t>(GetCurrentProcessId()), Left(), Top()}))) {
        // Refused at the system's prompt: nothing changes, nothing is said.
        return;
    }
    // It waits for this copy to end before it takes the lock, the tray and
    // this place.
    Close();
}

void TFormMain::GroupBoxMonitorDblClick(TObject*)
{
    GoToTray();
}

void TFormMain::GradientButton1Click(TObject*)
{
    GoToTray();
}

void TFormMain::OpenMainClick(TObject*)
{
    TrayIcon->SetActive(false);
    Show();
    SetForegroundWindow(Handle());
}

void TFormMain::RunHistoryClick(TObject*)
{
    // Before the first run there is no file yet: one with only its header
    // shows the user where runs will be written.
    const std::wstring path = HistoryPath();
    EnsureRunHistory(path);
    if (!ShellOpen(path.c_str())) ShowRunReport(Text(TText::ReportNotOpened), TBalloonStyle::bsQuiet);
}

void TFormMain::ExitClick(TObject*)
{
    Close();
}

void TFormMain::FormClose(TObject*, TCloseAction&)
{
    TimerMem->SetEnabled(false);
    TimerInterval->SetEnabled(false);
    // A store that cannot be written is reported, but never keeps the
    // program from ending.
    try {
        SaveSettings();
    } catch (...) {
        Application->HandleException(this);
    }
}

bool TFormMain::ApplicationMessage(TMessage& m)
{
    // Heard on the application window, which exists even while this window
    // does not (a start in the tray makes it only when first shown).
    if (m.Msg == OptimizeRequestMessage() && m.Msg != 0) {
        // Another copy's /optimize: a run in progress answers it.
        if (!optimizing_) heldRequest_->Arrived();
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_HOTKEY && static_cast<int>(m.WParam) == OptimizeHotkeyId) {
        // Held back, and silent, where the button and the alarm are (see
        // RunsHeldBack). On the settings page, pressing the key held in its
        // field only chooses it again.
        if (!RunsHeldBack()) ActionOptimizeExecute(this);
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_SETTINGCHANGE || m.Msg == WM_DISPLAYCHANGE) {
        // A new taskbar theme or icon size: the figure is drawn for it.
        if (TrayFigure) TrayFigure->SystemSettingsChanged(m.Msg, m.LParam);
        // Windows' app mode changed: a window that follows it follows now.
        if (IsColorSetChange(m.Msg, m.LParam) && themeChoice_ == TThemeChoice::tcWindows) ApplyTheme();
        return false;
    }
    if (m.Msg == WM_ENDSESSION && m.WParam != FALSE) {
        // Windows is ending the session: no close follows, and no one is
        // left to read an error about the store.
        try {
            SaveSettings();
        } catch (...) {
        }
    }
    return false;
}

void TFormMain::TabSheetAboutShow(TObject*)
{
    static constexpr wchar_t kVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    Label4->SetCaption(ReadRegString(kVersionKey, L"RegisteredOwner", HKEY_LOCAL_MACHINE));
    Label5->SetCaption(ReadRegString(kVersionKey, L"RegisteredOrganization", HKEY_LOCAL_MACHINE));
}

void TFormMain::GradientButton2Click(TObject*)
{
    // The shell's answer is deliberately ignored: there is nothing to retry.
    if (!ShellOpen(ProductWebAddress)) ShowRunReport(Text(TText::ReportNotOpened), TBalloonStyle::bsQuiet);
}
