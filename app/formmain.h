// The program's only window: the memory monitor, the buttons, the settings
// and About pages, and the tray icon. The layout (formmain_layout.cpp) builds
// the components below; the handlers (formmain.cpp) are its behaviour.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/recordedrun.h"
#include "engine/alarmrule.h"
#include "engine/intervalrule.h"
#include "engine/memoryareas.h"
#include "engine/runreport.h"
#include "engine/systemmemory.h"
#include "settings/historyformat.h"
#include "settings/themesetting.h"
#include "toolkit/forms.h"
#include "toolkit/texts.h"

class TMem;
class TLabel;
class TGroupBox;
class TCheckBox;
class TPageControl;
class TTabSheet;
class TTrackBar;
class TProgressBar;
class TSpeedButton;
class TActionList;
class TAction;
class TTimer;
class TPopupMenu;
class TMenuItem;
class TGradientButton;
class TGradientProgressBar;
class TTrayIcon;
class TSpinEdit;
class THotkeyEdit;
class TEdit;
class TGlobalHotkey;
class THeldRequest;
enum class TBalloonStyle : std::uint8_t;
class TTrayFigureIcon;
struct TMemoryStatus;
struct TUserSettings;

// The one memory engine, created by the program entry before the window.
extern TMem* Mem;

class TFormMain : public TForm {
public:
    explicit TFormMain(TComponent* owner);
    ~TFormMain() override;

    // In design units (pixels at 96 dpi), which the form turns into pixels
    // for its dpi: the compact window's client area (only the left column
    // shows; the frame around it is the system's), and the two slides.
    static constexpr int CompactClientWidth = 158;
    static constexpr int CompactClientHeight = 307;
    static constexpr int SettingsSlideSteps = 42;
    static constexpr int SettingsSlideStep = 8;
    static constexpr int OptimizeSlideSteps = 45;
    static constexpr int OptimizeSlideStep = 1;
    // WM_HOTKEY's id, on the application window, for the key that starts a run.
    static constexpr int OptimizeHotkeyId = 1;
    // How long a run's report stands in place of the free-memory text (ms).
    static constexpr unsigned ReportShowTime = 3000;

    // Components, all owned by the form (through the component tree); the
    // pointers here are not owning.
    TSpeedButton* SpeedButtonSettings2 = nullptr;
    TSpeedButton* SpeedButtonOptimize2 = nullptr;
    TGroupBox* GroupBoxMonitor = nullptr;
    TLabel* LabelCPU = nullptr;
    TLabel* LabelMEM = nullptr;
    TLabel* LabelMEMP = nullptr;
    TLabel* LabelCPUP = nullptr;
    TLabel* LabelFree = nullptr;
    TGradientProgressBar* ProgressBarMEM = nullptr;
    TProgressBar* ProgressBarCPU = nullptr;
    TProgressBar* ProgressBarMEM2 = nullptr;
    TGroupBox* GroupBoxOptimizing = nullptr;
    TGradientProgressBar* ProgressBarFree = nullptr;
    TProgressBar* ProgressBarFree2 = nullptr;
    TPageControl* PageControlSettings = nullptr;
    TTabSheet* TabSheetSettings = nullptr;
    TGroupBox* GroupBoxRam = nullptr;
    TLabel* LabelSlider = nullptr;
    TTrackBar* TrackRAM = nullptr;
    TGroupBox* GroupBoxAlarm = nullptr;
    TLabel* LabelMB = nullptr;
    TCheckBox* CheckBoxAutoOptimize = nullptr;
    TSpinEdit* SpinEditAlarmMB = nullptr;
    TGroupBox* GroupBoxMisc = nullptr;
    TLabel* LabelRefresh = nullptr;
    TSpinEdit* SpinEditRefresh = nullptr;
    TCheckBox* CheckBoxAutoRun2 = nullptr;
    TCheckBox* CheckBoxAutoRun = nullptr;
    TGroupBox* GroupBoxHotkey = nullptr;
    THotkeyEdit* HotkeyOptimize = nullptr;
    TLabel* LabelHotkeyTaken = nullptr;
    // The memory page: the areas a run frees, the programs never trimmed,
    // the interval.
    TTabSheet* TabSheetMemory = nullptr;
    TGroupBox* GroupBoxAreas = nullptr;
    // A box for each area, in the run's order, each with the reason beside
    // it when it cannot be chosen.
    struct TAreaRow {
        TMemoryArea Area = TMemoryArea::maFill;
        TCheckBox* Box = nullptr;
        TLabel* Why = nullptr;
    };
    std::array<TAreaRow, 7> AreaRows{};
    TGradientButton* GradientButtonElevate = nullptr;
    TGroupBox* GroupBoxTrim = nullptr;
    TEdit* EditTrimExclude = nullptr;
    TGroupBox* GroupBoxInterval = nullptr;
    TLabel* LabelInterval = nullptr;
    TSpinEdit* SpinEditInterval = nullptr;
    TLabel* LabelIntervalMinutes = nullptr;
    TTabSheet* TabSheetAbout = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TGradientButton* SpeedButtonOptimize = nullptr;
    TGradientButton* SpeedButtonSettings = nullptr;
    TGradientButton* GradientButton1 = nullptr;
    TGradientButton* GradientButton2 = nullptr;
    TActionList* ActionListMenu = nullptr;
    TAction* ActionSettings = nullptr;
    TAction* ActionOptimize = nullptr;
    TTimer* TimerMem = nullptr;
    TTimer* TimerReport = nullptr;
    TTimer* TimerInterval = nullptr;
    TPopupMenu* PopupMenuIcon = nullptr;
    TMenuItem* OpenMain = nullptr;
    TMenuItem* OptimizeNow = nullptr;
    TMenuItem* RunHistory = nullptr;
    TMenuItem* ShowFreeInIcon = nullptr;
    TMenuItem* LanguageMenu = nullptr;
    TMenuItem* ThemeMenu = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* Exit = nullptr;
    TTrayIcon* TrayIcon = nullptr;
    // Draws the free memory into TrayIcon's picture while ShowFreeInIcon is checked.
    std::unique_ptr<TTrayFigureIcon> TrayFigure;

    // Handlers, bound by the layout.
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void TimerMemTimer(TObject* sender);
    void ActionOptimizeExecute(TObject* sender);
    void ActionSettingsExecute(TObject* sender);
    void TrackRAMChange(TObject* sender);
    void CheckBoxAutoRun2Click(TObject* sender);
    void HotkeyOptimizeChange(TObject* sender);
    void HotkeyOptimizeRefuse(TObject* sender);
    void GroupBoxMonitorDblClick(TObject* sender);
    void GradientButton1Click(TObject* sender);
    void GradientButton2Click(TObject* sender);
    void OpenMainClick(TObject* sender);
    void ExitClick(TObject* sender);
    void RunHistoryClick(TObject* sender);
    void TabSheetAboutShow(TObject* sender);
    void GradientButtonElevateClick(TObject* sender);
    void DoBlockAllocated(TObject* sender, std::int32_t index);
    void DoBlockReleased(TObject* sender, std::int32_t index);
    void TimerReportTimer(TObject* sender);
    void TimerIntervalTimer(TObject* sender);
    void ShowFreeInIconClick(TObject* sender);
    // A language of the tray menu's list; empty: Windows' own.
    void LanguageClick(const std::wstring& tag);
    // A theme of the tray menu's list.
    void ThemeClick(TThemeChoice choice);

    // Puts the icon in the notification area, already showing the figure
    // when it is wanted; the window stays as it is.
    void ShowInTray();
    // Takes the place of the copy that started this one with administrator
    // rights: its window's place, with the memory page open.
    void TakeOver(int left, int top);

    bool IsNT() const noexcept { return isNT_; }
    bool SettingsOpen() const noexcept { return settingsOpen_; }
    bool Optimizing() const noexcept { return optimizing_; }

    // Milliseconds from a clock that never goes back (GetTickCount64); the
    // alarm's cool-down is measured on it.
    std::function<std::uint64_t()> Clock;
    // Where runs are recorded; empty: the user's history file.
    std::wstring HistoryFile;
    // Whether this copy runs with administrator rights, and which Windows it
    // runs on: asked when the memory page opens and when a run is planned.
    std::function<bool()> Elevated;
    std::function<TWindowsVersion()> WindowsVersion;
    // Whether this is the 32-bit program on a 64-bit Windows, asked with them.
    std::function<bool()> Wow64;
    // In place of Windows' own calls for the system-wide areas; empty:
    // Windows'. Replaceable so that a test can be Windows refusing one.
    std::function<TStepCall(TMemoryArea area)> SystemAreaCall;
    // Starts a copy with administrator rights that takes over from this one;
    // false when the user refused. Replaceable so that a test can be the copy.
    std::function<bool(const std::wstring& arguments)> StartElevated;
    // Asks whether this copy may take the Run entry from the copy at
    // otherCopy; unset: a box of ours asks. Replaceable so that a test answers.
    std::function<bool(const std::wstring& otherCopy)> AskTakeAutorun;

private:
    // A request from another copy, or the end of the session.
    bool ApplicationMessage(TMessage& message);
    void LoadLayout();
    // Shows the memory status: the bar, the figures, the tip.
    void ShowStatus(const TMemoryStatus& status);
    // Re-labels the window, the settings page and the tray in the language
    // now spoken.
    void ApplyLanguage();
    // Checks the Language menu's item for the stored choice.
    void CheckLanguageItem();
    // The window and the tray menu read from right to left in Arabic and
    // Hebrew, from left to right otherwise.
    void ApplyDirection();
    // Shows the chosen theme, or Windows' app mode when the choice follows
    // it, repainting at once.
    void ApplyTheme();
    // Makes room for every text in the language spoken, at the window's dpi,
    // from the design's places (formmain_layout.cpp).
    void FitTexts();
    // The client width with the settings open or closed, with the room the
    // texts need.
    int ClientWidth(bool settingsOpen) const;
    void DpiChangeDone() override;
    void GoToTray();
    void ApplyStoredSettings();
    // Which areas can be chosen with the rights held on this Windows, each
    // with its reason beside it when it cannot.
    void ShowAreaRights();
    // The elevate button's shield, at the size for the window's dpi.
    void ShowShield();
    // The areas checked; the fill when none is.
    std::uint32_t AreasShown() const;
    // Where a run is planned: the rights, the Windows, the program's bitness.
    TRunPlace RunPlace() const;
    // The interval (formmain_interval.cpp): its timer set to the next run
    // that is due, no later than a minute from now so that the tip's
    // minutes stay true; off while the interval is.
    void ScheduleInterval();
    // The interval as chosen, counted from now when it is switched on.
    void SetIntervalMinutes(std::uint32_t minutes);
    // The run the interval started: told only in the tip, but a failure once.
    void IntervalRun();
    // The tray's tip: the free memory, and when the interval's next run is.
    std::wstring TrayTip(const std::wstring& freeText) const;
    // The kept settings as the controls show them.
    TUserSettings SettingsShown() const;
    void SaveSettings();
    // Holds the control's key system-wide for a run, in place of the one
    // held before; a key another program holds is said beside the control
    // and, once, by the tray.
    void HoldOptimizeHotkey();
    void TellHotkeyTaken();
    // What a portable copy's folder cannot keep, said once each, quietly.
    void TellNotKept();
    // The autorun box shows whether the Run entry starts this copy; it is
    // set so without choosing.
    void ShowAutorunAtStart();
    void ShowAutorun(bool starts);
    void ShowHotkeyWord();
    // A run is held back from the button, the alarm, the hotkey and another
    // copy's request alike: during a run, on the settings page, under a box
    // of ours. Its end would enable the button under the open page, and its
    // failure would open a box inside a box.
    bool RunsHeldBack() const;
    // A run of the slider's amount, recorded in the history and reported
    // when asked; returns its record, empty when a run was in progress.
    TRecordedRun RunOptimize(TRunTrigger trigger, bool report);
    // A run the alarm started; its failure never leaves it.
    void AlarmRun(bool report);
    // A report: a balloon in the tray; in the window,
    // its lines in turn in place of the free memory, the whole in the
    // line's hint.
    void ShowRunReport(const TRunReport& report, TBalloonStyle style);
    void ShowRunReport(const std::wstring& text, TBalloonStyle style);
    void RecordRun(const TRunRecord& run);
    std::wstring HistoryPath() const;
    // The tray icon's picture: the figure for status, or the program's icon.
    void ShowTrayFigure(const TMemoryStatus& status);
    // The alarm level in bytes (0: none).
    std::uint64_t AlarmBytes() const;
    // Slides the client area by steps of (dx, dy) design units, each step a
    // separate resize. Every step lands where the total so far lands, so no
    // rounding builds up at any dpi.
    void SlideClient(int steps, int dx, int dy);

    bool isNT_ = false;
    bool settingsOpen_ = false;
    // A release run is in progress; its message pumping must not start another.
    bool optimizing_ = false;
    TAlarmRule alarmRule_;
    // The window's texts from the tables.
    TTextBindings texts_;
    // The language menu's items and the tags they choose; the stored choice.
    std::vector<std::pair<TMenuItem*, std::wstring>> languageItems_;
    std::wstring languageChoice_;
    // The theme menu's items and the choices they make; the stored choice.
    std::vector<std::pair<TMenuItem*, TThemeChoice>> themeItems_;
    TThemeChoice themeChoice_ = TThemeChoice::tcWindows;
    // How much wider than designed, in pixels, the texts make the left
    // column and the settings page.
    int columnGrowth_ = 0;
    int pageGrowth_ = 0;
    // The history could not be written and the user has been told once.
    bool historyErrorShown_ = false;
    // The key held for a run from anywhere (owned); heard on the application
    // window, which outlives this window.
    std::unique_ptr<TGlobalHotkey> optimizeHotkey_;
    // The key was found taken and the tray is yet to say so; it says so once
    // in a program's life.
    bool hotkeyTakenUntold_ = false;
    bool hotkeyTakenTold_ = false;
    // A portable copy's settings, or its history, cannot be kept, and nobody
    // has been told.
    bool settingsNotKeptUntold_ = false;
    bool historyNotKeptUntold_ = false;
    bool hotkeyHeld_ = true;
    TIntervalRule intervalRule_;
    // An interval run's failure was told; not again until one succeeds.
    bool intervalFailureTold_ = false;
    // The report's lines still to show in the window, after the one shown.
    std::vector<std::wstring> reportLinesLeft_;
    // A run of more than the fill shows its steps on the strip, not its blocks.
    bool stepProgress_ = false;
    // A reserved key was pressed in the field since the last choice.
    bool hotkeyRefused_ = false;
    // Another copy's request, run at once or when runs are no longer held
    // back (owned).
    std::unique_ptr<THeldRequest> heldRequest_;
};
