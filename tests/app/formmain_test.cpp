// The main window driven in-process: the engine and the form are real, the
// handlers are called as the controls would call them, and the results are
// read back from the controls, the window rectangles and the registry.
#include "tests/app/formmain_fixture.h"
#include "tests/app/layout_design.h"

#include <commctrl.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayicon.h"
#include "settings/regaccess.h"
#include "toolkit/actions.h"
#include "toolkit/checkbox.h"
#include "toolkit/commandline.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/modulepath.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/progressbar.h"
#include "toolkit/screen.h"
#include "toolkit/timer.h"
#include "toolkit/trackbar.h"

namespace {

// Allocation that fails once `limit` blocks are held.
TBlockSource FailingAfter(int limit)
{
    auto held = std::make_shared<int>(0);
    TBlockSource heap = ProcessHeapBlocks();
    return {[=](std::size_t size) -> void* {
                if (*held >= limit) return nullptr;
                ++*held;
                return heap.Allocate(size);
            },
            [=](void* block) {
                --*held;
                heap.Free(block);
            }};
}

// Records the window's outer size after every move or resize, so a slide
// can be checked step by step.
class TSizeRecorder {
public:
    explicit TSizeRecorder(HWND window) : window_(window) { SetWindowSubclass(window_, Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
    TSizeRecorder(const TSizeRecorder&) = delete;
    TSizeRecorder& operator=(const TSizeRecorder&) = delete;
    ~TSizeRecorder() { RemoveWindowSubclass(window_, Proc, 1); }

    std::vector<SIZE> sizes;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        if (message == WM_WINDOWPOSCHANGED) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((pos->flags & SWP_NOSIZE) == 0) reinterpret_cast<TSizeRecorder*>(data)->sizes.push_back({pos->cx, pos->cy});
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND window_;
};

// A message only a pump removes from the queue.
constexpr UINT kProbeMessage = WM_APP + 77;

bool ProbePending(HWND window)
{
    MSG msg;
    return PeekMessageW(&msg, window, kProbeMessage, kProbeMessage, PM_NOREMOVE) != FALSE;
}

// Pumps messages until condition holds or timeout passes.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeout) return false;
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

void SetMachineString(const wchar_t* path, const wchar_t* name, const std::wstring* value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value == nullptr)
        RegDeleteValueW(key, name);
    else
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace

TEST_F(FormMainTest, LoadedWindowShowsOwnCaptionsAndRanNoHandlerWhileLoading)
{
    status = Machine(4'000'000'000ull, 0);  // 0 % free: the monitor bar keeps its loaded position
    Create();
    EXPECT_EQ(form->Caption(), L"Quenfel ver 1.5");
    EXPECT_EQ(form->SpeedButtonOptimize->Caption(), L"&Optimize Now");
    EXPECT_EQ(form->SpeedButtonSettings->Caption(), L"&Settings Menu");
    EXPECT_EQ(form->OptimizeNow->Caption(), L"&Optimize");
    EXPECT_EQ(form->SpeedButtonSettings2->Caption(), L"&Settings");
    EXPECT_EQ(form->SpeedButtonOptimize2->Caption(), L"&Optimize");
    EXPECT_FALSE(form->SpeedButtonOptimize2->Visible());
    // The stored colours were read first, then the named schemes over them.
    EXPECT_EQ(form->SpeedButtonOptimize->ColorScheme(), TGradientButton::TColorScheme::csNeoGrass);
    EXPECT_EQ(form->GradientButton2->ColorScheme(), TGradientButton::TColorScheme::csNeoGrass);
    EXPECT_EQ(form->ProgressBarFree->ColorScheme(), TGradientProgressBar::TColorScheme::csGrass);
    // Loaded as Max 1024, Min 1, Position 0: the position was refused by its guard,
    // and a tick at 0 % free is refused again.
    EXPECT_EQ(form->ProgressBarMEM->Position(), 0);
    EXPECT_EQ(form->ProgressBarMEM->Min(), 1);
    EXPECT_EQ(form->ProgressBarMEM->Max(), 100);
    // The autorun box shows that Windows starts no copy, without running its
    // handler: a first start writes nothing.
    EXPECT_FALSE(form->CheckBoxAutoRun2->Checked());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quenfel", 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(FormMainTest, SliderSpansHalfThePhysicalMemoryInMillionsOfBytes)
{
    status = Machine(256'000'000ull, 100'000'000ull);
    Create();
    EXPECT_EQ(form->TrackRAM->Min(), 1);
    EXPECT_EQ(form->TrackRAM->Max(), 128);
    EXPECT_EQ(form->TrackRAM->Position(), 64);
    EXPECT_EQ(form->LabelSlider->Caption(), L"64 MB");
}

TEST_F(FormMainTest, SliderNeverOffersMoreThanTheAddressSpaceHolds)
{
    status = Machine(64'000'000'000ull, 32'000'000'000ull);
    status.AvailVirtual = 2'000ull * TMem::BlockSize + 5;
    Create();
    EXPECT_EQ(form->TrackRAM->Max(), 2000);
    EXPECT_EQ(form->TrackRAM->Position(), 1000);
}

TEST_F(FormMainTest, MonitorShowsTruncatedPercentAndFreeText)
{
    status = Machine(3'000'000'000ull, 999'999'999ull);  // 33.33 %
    Create();
    EXPECT_EQ(form->LabelMEMP->Caption(), L"33%");
    EXPECT_EQ(form->ProgressBarMEM->Position(), 33);
    EXPECT_EQ(form->LabelFree->Caption(), L"953.67 MB Available");

    status = Machine(8'000'000'000ull, 6'442'450'944ull);  // beyond 32 bits
    form->TimerMemTimer(form);
    EXPECT_EQ(form->LabelMEMP->Caption(), L"80%");
    EXPECT_EQ(form->LabelFree->Caption(), L"6.00 GB Available");
}

TEST_F(FormMainTest, CreationBindsTheEngineAndSetsTheMonitorUp)
{
    Create();
    EXPECT_TRUE(engine->OnBlockAllocated);
    EXPECT_TRUE(engine->OnBlockReleased);
    EXPECT_TRUE(engine->ProcessMessages);
    EXPECT_TRUE(form->TimerMem->Enabled());
    EXPECT_EQ(form->TimerMem->Interval(), 1000u);
    EXPECT_EQ(form->SpinEditRefresh->Value(), 1);
    // Wine, like every Windows the program meets today, is of the NT family:
    // no CPU figure.
    EXPECT_TRUE(form->IsNT());
    EXPECT_FALSE(form->ProgressBarCPU->Enabled());
    EXPECT_EQ(form->LabelCPUP->Caption(), L"n.a.");

    // The bars' working ranges; the strip starts at its new minimum.
    EXPECT_EQ(form->ProgressBarCPU->Min(), 1);
    EXPECT_EQ(form->ProgressBarCPU->Max(), 100);
    EXPECT_EQ(SendMessageW(form->ProgressBarCPU->Handle(), PBM_GETRANGE, TRUE, 0), 1);
    EXPECT_EQ(form->ProgressBarMEM->Min(), 1);
    EXPECT_EQ(form->ProgressBarMEM->Max(), 100);
    EXPECT_EQ(form->ProgressBarFree->Min(), 1);
    EXPECT_EQ(form->ProgressBarFree->Max(), 100);
    EXPECT_EQ(form->ProgressBarFree->Position(), 1);
}

TEST_F(FormMainTest, TheTimerTicksTheMonitor)
{
    Create();
    ASSERT_EQ(form->LabelFree->Caption(), L"953.67 MB Available");
    status.AvailPhys = 2'000'000'000ull;
    EXPECT_TRUE(PumpUntil([&] { return form->LabelFree->Caption() == L"1.86 GB Available"; }, 5000));
    EXPECT_EQ(form->LabelMEMP->Caption(), L"50%");
}

TEST_F(FormMainTest, TicksAndRunsHandlePendingMessages)
{
    Create();
    PostMessageW(form->Handle(), kProbeMessage, 0, 0);
    form->TimerMemTimer(form);
    EXPECT_FALSE(ProbePending(form->Handle()));

    form->TrackRAM->SetPosition(2);
    PostMessageW(form->Handle(), kProbeMessage, 0, 0);
    form->ActionOptimizeExecute(form);
    EXPECT_FALSE(ProbePending(form->Handle()));
}

TEST_F(FormMainTest, MachineAutorunEntryShowsInTheHiddenBox)
{
    engine->SetMachineAutorun(true);
    Create();
    EXPECT_TRUE(form->CheckBoxAutoRun->Checked());
    form->Free();
    form = nullptr;

    engine->SetMachineAutorun(false);
    Create();
    EXPECT_FALSE(form->CheckBoxAutoRun->Checked());
}

TEST_F(FormMainTest, CreationBringsTheRunEntryInLineWithTheFlag)
{
    const std::wstring flagKey = L"Software\\Quenfel";
    const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto write = [](const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    };
    const struct {
        const wchar_t* flag;
        bool checked;
        const wchar_t* flagAfter;
        bool runEntry;  // the Run entry holds this program's path afterwards
    } cases[] = {
        {L"1", true, L"1", true},
        {L"0", false, L"0", false},
        {L"true", false, L"true", false},
        {L"1 ", false, L"1 ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.flag));
        ClearAutorunValues();
        write(flagKey, L"loadwithwin", c.flag);
        write(runKey, L"Quenfel", L"C:\\stale\\Quenfel.exe");
        Create();
        EXPECT_EQ(form->CheckBoxAutoRun2->Checked(), c.checked);
        EXPECT_EQ(ReadRegString(flagKey, L"loadwithwin", HKEY_CURRENT_USER), c.flagAfter);
        const std::wstring entry = ReadRegString(runKey, L"Quenfel", HKEY_CURRENT_USER);
        if (c.runEntry)
            EXPECT_EQ(entry, CommandForPath(ExecutablePath()));
        else if (std::wstring(c.flag) == L"0")
            EXPECT_EQ(entry, L"");
        else
            EXPECT_EQ(entry, L"C:\\stale\\Quenfel.exe");  // left alone
        form->Free();
        form = nullptr;
    }
}

TEST_F(FormMainTest, SliderLabelFollowsThePosition)
{
    status = Machine(256'000'000ull, 100'000'000ull);
    Create();
    form->TrackRAM->SetPosition(7);
    EXPECT_EQ(form->LabelSlider->Caption(), L"7 MB");
    form->TrackRAM->SetMax(5);  // pushes the position down
    EXPECT_EQ(form->LabelSlider->Caption(), L"5 MB");
    form->Free();
    form = nullptr;

    // 40 MB: the range 1 to 20 and the start position 10 leave the stored
    // position 10 where it was, so no change is reported; the label is
    // still written.
    status = Machine(40'000'000ull, 10'000'000ull);
    Create();
    EXPECT_EQ(form->TrackRAM->Max(), 20);
    EXPECT_EQ(form->TrackRAM->Position(), 10);
    EXPECT_EQ(form->LabelSlider->Caption(), L"10 MB");
}

TEST_F(FormMainTest, WindowSizesThroughSettingsAndOptimizeSlides)
{
    status = Machine(256'000'000ull, 200'000'000ull);
    Create();
    // The compact client area in this 96-dpi prefix's frame.
    EXPECT_EQ(OuterWidth(), 164);
    EXPECT_EQ(OuterHeight(), 332);

    {
        // The page as much wider as its texts need in this prefix's fonts,
        // its share of that in each step.
        const int page = TRoomForTexts(*form, 96).Page();
        TSizeRecorder recorder(form->Handle());
        form->ActionSettingsExecute(form);
        EXPECT_TRUE(form->SettingsOpen());
        EXPECT_EQ(OuterWidth(), 164 + 336 + page);
        EXPECT_FALSE(form->SpeedButtonOptimize->Enabled());
        form->ActionSettingsExecute(form);
        EXPECT_FALSE(form->SettingsOpen());
        EXPECT_EQ(OuterWidth(), 164);
        EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());
        // 42 visible steps of 8 pixels each way.
        std::vector<SIZE> expected;
        for (int i = 1; i <= 42; ++i) expected.push_back({164 + 8 * i + page * i / 42, 332});
        for (int i = 1; i <= 42; ++i) expected.push_back({164 + 336 + page - 8 * i - page * i / 42, 332});
        ASSERT_EQ(recorder.sizes.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(recorder.sizes[i].cx, expected[i].cx) << "step " << i;
            EXPECT_EQ(recorder.sizes[i].cy, expected[i].cy) << "step " << i;
        }
    }

    form->TrackRAM->SetPosition(3);
    std::vector<int> heights;
    std::vector<bool> buttonsEnabled;
    std::vector<TCursor> cursors;
    const TBlockEvent bound = engine->OnBlockAllocated;
    ASSERT_TRUE(bound);
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        heights.push_back(OuterHeight());
        buttonsEnabled.push_back(form->SpeedButtonOptimize->Enabled() || form->SpeedButtonSettings->Enabled());
        cursors.push_back(Screen->Cursor());
        bound(s, i);
    };
    TSizeRecorder recorder(form->Handle());
    form->ActionOptimizeExecute(form);
    ASSERT_EQ(heights.size(), 3u);
    for (int h : heights) EXPECT_EQ(h, 332 + 45);
    for (bool enabled : buttonsEnabled) EXPECT_FALSE(enabled);
    for (TCursor c : cursors) EXPECT_EQ(c, crHourGlass);
    EXPECT_EQ(OuterHeight(), 332);
    EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());
    EXPECT_TRUE(form->SpeedButtonSettings->Enabled());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // One pixel per step, 45 down and 45 back.
    ASSERT_EQ(recorder.sizes.size(), 90u);
    for (int i = 0; i < 45; ++i) {
        EXPECT_EQ(recorder.sizes[static_cast<std::size_t>(i)].cy, 333 + i);
        EXPECT_EQ(recorder.sizes[static_cast<std::size_t>(45 + i)].cy, 376 - i);
    }
}

// Beyond the closed window's edge the page would only hide the focus; and
// it costs its windows, and the common controls, only once it opens.
TEST_F(FormMainTest, TheSettingsPageIsHiddenAndWindowlessUntilItOpens)
{
    Create();
    form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(form->PageControlSettings->Visible());
    for (TWinControl* c : std::initializer_list<TWinControl*>{form->PageControlSettings, form->TrackRAM,
                                                              form->SpinEditAlarmMB, form->CheckBoxAutoRun2,
                                                              form->ProgressBarCPU, form->ProgressBarFree2})
        EXPECT_FALSE(c->HandleAllocated()) << ToUtf8(c->Name());
    // The first control to take the focus is one the user can see.
    ASSERT_NE(form->ActiveControl(), nullptr);
    EXPECT_EQ(form->ActiveControl(), form->SpeedButtonOptimize);

    form->ActionSettingsExecute(form);
    ASSERT_TRUE(form->TrackRAM->HandleAllocated());
    HWND track = form->TrackRAM->WindowHandle();
    EXPECT_TRUE(IsWindowVisible(track));
    EXPECT_EQ(SendMessageW(track, TBM_GETPOS, 0, 0), form->TrackRAM->Position());

    // Closed with the keyboard in the page: the focus leaves it.
    form->SpinEditAlarmMB->SetFocus();
    form->ActionSettingsExecute(form);
    EXPECT_FALSE(form->PageControlSettings->Visible());
    EXPECT_FALSE(IsWindowVisible(track));
    ASSERT_NE(GetFocus(), nullptr);
    EXPECT_TRUE(IsWindowVisible(GetFocus()));
    EXPECT_NE(form->ActiveControl(), form->SpinEditAlarmMB);

    // Opened again: the same windows.
    form->ActionSettingsExecute(form);
    EXPECT_EQ(form->TrackRAM->WindowHandle(), track);
    EXPECT_TRUE(IsWindowVisible(track));
}

TEST_F(FormMainTest, ProgressStripFollowsTheRun)
{
    Create();
    form->TrackRAM->SetPosition(3);
    std::vector<int> positions;
    // The handlers the window bound, watched from outside.
    const TBlockEvent allocated = engine->OnBlockAllocated;
    const TBlockEvent released = engine->OnBlockReleased;
    ASSERT_TRUE(allocated);
    ASSERT_TRUE(released);
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        allocated(s, i);
        positions.push_back(form->ProgressBarFree->Position());
    };
    engine->OnBlockReleased = [&](TObject* s, std::int32_t i) {
        released(s, i);
        positions.push_back(form->ProgressBarFree->Position());
    };
    form->ActionOptimizeExecute(form);
    // Index 0 lies below the strip's minimum 1 and is refused; the release pass
    // adds each index to the position.
    EXPECT_EQ(positions, (std::vector<int>{1, 1, 2, 2, 3, 5}));
    EXPECT_EQ(form->ProgressBarFree->Position(), 100);
}

TEST_F(FormMainTest, FailedRunRestoresButtonsCursorAndTheWindowsHeight)
{
    Create();
    form->TrackRAM->SetPosition(5);
    engine->BlockSource = FailingAfter(2);
    for (int failure = 1; failure <= 2; ++failure) {
        EXPECT_THROW(form->ActionOptimizeExecute(form), EOutOfMemory);
        EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());
        EXPECT_TRUE(form->SpeedButtonSettings->Enabled());
        EXPECT_EQ(Screen->Cursor(), crDefault);
        EXPECT_EQ(OuterHeight(), 332) << "after failure " << failure;
        EXPECT_FALSE(form->Optimizing());
    }
}

TEST_F(FormMainTest, AlarmRunsOnlyStrictlyBelowTheLevelWithThePanelClosed)
{
    Create();
    form->TrackRAM->SetPosition(1);
    int runs = 0;
    std::vector<bool> timerDuringRun;
    engine->OnBlockReleased = [&](TObject*, std::int32_t) { ++runs; };
    engine->OnBlockAllocated = [&](TObject*, std::int32_t) { timerDuringRun.push_back(form->TimerMem->Enabled()); };
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(100);

    status.AvailPhys = 100ull * TMem::BlockSize;  // equal: no run
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 0);

    status.AvailPhys = 100ull * TMem::BlockSize - 1;  // below
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(timerDuringRun, std::vector<bool>{false});  // stopped around the run
    EXPECT_TRUE(form->TimerMem->Enabled());

    form->ActionSettingsExecute(form);  // panel open: no run
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
    form->ActionSettingsExecute(form);

    form->SpinEditAlarmMB->SetValue(0);  // alarm 0 never runs
    status.AvailPhys = 0;
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
}

TEST_F(FormMainTest, AlarmAboveTenToTheNinthComparesBytes)
{
    status = Machine(16'000'000'000ull, 2'000'000'000ull);
    Create();
    form->TrackRAM->SetPosition(1);
    int runs = 0;
    engine->OnBlockReleased = [&](TObject*, std::int32_t) { ++runs; };
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(2000);  // 2,098,344,000 bytes
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
    form->SpinEditAlarmMB->SetValue(1900);  // 1,993,426,800 bytes
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
}

TEST_F(FormMainTest, NoAlarmRunNestsInsideARunningOne)
{
    Create();
    form->TrackRAM->SetPosition(2);
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(100);
    status.AvailPhys = 1;
    int starts = 0;
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        if (i == 0) ++starts;
        form->TimerMemTimer(form);  // a tick handled inside the run's message pumping
        form->ActionOptimizeExecute(form);  // the tray menu's item, still enabled
        form->DoBlockAllocated(s, i);
    };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(starts, 1);
}

namespace {

// Runs once inside the loop of the first box of ours it finds, then closes it.
std::function<void()> g_insideTheBox;
void CALLBACK ActInsideTheBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box) || !g_insideTheBox) return;
    std::exchange(g_insideTheBox, nullptr)();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

// Unattended, an alarm run fails in the very state that sets the alarm off,
// and goes on failing: told once, in the label (the balloon in the tray),
// never in a box, whose loop would let the next failure open another.
TEST_F(FormMainTest, FailedAlarmRunsAreToldOnceQuietlyAndTheMonitorGoesOn)
{
    Create();
    std::vector<std::wstring> boxes;
    Application->OnException = [&](TObject*, const Exception& e) { boxes.push_back(e.Message()); };
    std::uint64_t now = 1'000'000;
    form->Clock = [&] { return now; };
    form->TrackRAM->SetPosition(5);
    int runs = 0;
    engine->BlockSource = FailingAfter(1);
    engine->OnBlockAllocated = [&](TObject*, std::int32_t i) { runs += i == 0; };
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(100);
    status.AvailPhys = 1;
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(form->LabelFree->Caption(), L"Out of memory.");
    EXPECT_TRUE(form->TimerMem->Enabled());
    now += 1000;
    form->TimerMemTimer(form);  // within the cool-down: no second failing run
    EXPECT_EQ(runs, 1);

    form->TimerReportTimer(form);  // the report's time is up
    for (int i = 0; i < 6; ++i) {
        now += TAlarmRule::LongestCoolDownMs;
        form->TimerMemTimer(form);
    }
    EXPECT_EQ(runs, 7);
    EXPECT_FALSE(form->TimerReport->Enabled()) << "told again";
    EXPECT_TRUE(form->TimerMem->Enabled());

    // A box of ours waiting for the user: neither a tick in its loop nor the
    // hotkey starts a run.
    now += TAlarmRule::LongestCoolDownMs;
    g_insideTheBox = [&] {
        form->TimerMemTimer(form);
        SendMessageW(Application->Handle(), WM_HOTKEY, TFormMain::OptimizeHotkeyId, 0);
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &ActInsideTheBox);
    Application->MessageBox(L"Waiting for the user", L"", MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_insideTheBox) << "the box was never seen";
    EXPECT_EQ(runs, 7);
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 8);

    // In the tray, the failure of the next fall is told in a quiet balloon.
    form->GradientButton1Click(form);
    ASSERT_TRUE(form->TrayIcon->IconAdded());
    status.AvailPhys = 2'000'000'000ull;
    form->TimerMemTimer(form);
    now += TAlarmRule::LastingRecoveryMs;
    form->TimerMemTimer(form);
    status.AvailPhys = 1;
    now += TAlarmRule::LongestCoolDownMs;
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 9);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"Out of memory.");
    EXPECT_EQ(form->TrayIcon->BalloonStyle(), TBalloonStyle::bsQuiet);
    EXPECT_TRUE(boxes.empty());
    Application->OnException = nullptr;
}

TEST_F(FormMainTest, RefreshPeriodTakesEffectWhenThePanelCloses)
{
    Create();
    EXPECT_EQ(form->TimerMem->Interval(), 1000u);
    EXPECT_EQ(form->SpinEditRefresh->Value(), 1);
    form->ActionSettingsExecute(form);
    form->SpinEditRefresh->SetValue(5);
    EXPECT_EQ(form->TimerMem->Interval(), 1000u);
    form->ActionSettingsExecute(form);
    EXPECT_EQ(form->TimerMem->Interval(), 5000u);

    const struct { std::wstring text; unsigned interval; } cases[] = {
        {L"0", 0u}, {L"-3", 0u}, {L"abc", 0u}, {L"2147483647", 0x7FFFFFFFu}, {L"7", 7000u}};
    for (const auto& c : cases) {
        form->ActionSettingsExecute(form);
        form->SpinEditRefresh->SetText(c.text);
        form->ActionSettingsExecute(form);
        EXPECT_EQ(form->TimerMem->Interval(), c.interval) << "refresh text " << ToUtf8(c.text);
    }
}

TEST_F(FormMainTest, TrayHintFollowsEveryTickWhileTheIconIsActive)
{
    Create();
    form->GradientButton1Click(form);
    EXPECT_TRUE(form->TrayIcon->Active());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    status.AvailPhys = 134'217'728ull;
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Hint(), L"128.00 MB Available");
    status.AvailPhys = 1'073'741'824ull;
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Hint(), L"1.00 GB Available");

    form->OpenMainClick(form);
    EXPECT_FALSE(form->TrayIcon->Active());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    status.AvailPhys = 1024;
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Hint(), L"1.00 GB Available");
}

TEST_F(FormMainTest, AboutPageReadsTheRegisteredOwnerEachTimeItIsShown)
{
    const wchar_t* versionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    const std::wstring owner = L"Ada Tester";
    const std::wstring longOwner(255, L'o');  // the longest name the page shows
    const std::wstring organization = L"Analytical Engines";
    SetMachineString(versionKey, L"RegisteredOwner", &owner);
    SetMachineString(versionKey, L"RegisteredOrganization", nullptr);

    Create();
    EXPECT_EQ(form->Label4->Caption(), L"Label4");  // not read before the page shows
    form->PageControlSettings->SetActivePage(form->TabSheetAbout);
    EXPECT_EQ(form->Label4->Caption(), owner);
    EXPECT_EQ(form->Label5->Caption(), L"");

    form->PageControlSettings->SetActivePage(form->TabSheetSettings);
    SetMachineString(versionKey, L"RegisteredOwner", &longOwner);
    SetMachineString(versionKey, L"RegisteredOrganization", &organization);
    form->PageControlSettings->SetActivePage(form->TabSheetAbout);
    EXPECT_EQ(form->Label4->Caption(), longOwner);
    EXPECT_EQ(form->Label5->Caption(), organization);
    SetMachineString(versionKey, L"RegisteredOrganization", nullptr);
}

// The first window created is the application's main window, so closing it
// asks the application to quit; the quit request is taken back here so that
// the tests after this one keep their message loop.
TEST_F(FormMainTest, ExitAndTheCloseBoxStopTheTimerAndEndTheApplication)
{
    const auto quitRequested = [] {
        MSG msg;
        return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    };
    Create();
    ASSERT_EQ(Application->MainForm(), form);
    form->Show();
    ASSERT_FALSE(quitRequested());
    form->ExitClick(form);
    EXPECT_FALSE(form->TimerMem->Enabled());
    EXPECT_TRUE(quitRequested());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));  // not hidden first

    form->TimerMem->SetEnabled(true);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(form->TimerMem->Enabled());
    EXPECT_TRUE(quitRequested());
}

TEST_F(FormMainTest, OpenMainBringsTheWindowBackToTheFront)
{
    Create();
    form->Show();
    form->GroupBoxMonitorDblClick(form);
    EXPECT_TRUE(form->TrayIcon->Active());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));

    // Something else in front, as when the user works in another program.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    form->OpenMainClick(form);
    EXPECT_FALSE(form->TrayIcon->Active());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(GetForegroundWindow(), form->Handle());

    // Shown already but behind another window: still brought forward.
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    form->OpenMainClick(form);
    EXPECT_EQ(GetForegroundWindow(), form->Handle());
    DestroyWindow(other);
}

TEST_F(FormMainTest, UpdateButtonAsksTheShellToOpenTheProductAddress)
{
    // The shell turns a bare "www." name into a web address and opens it with
    // the http handler; this one records what it was given.
    const std::wstring marker = L"Software\\QuenfelTest\\Opened";
    RegDeleteTreeW(HKEY_CURRENT_USER, marker.c_str());
    const wchar_t* handlerKey = L"Software\\Classes\\http\\shell\\open\\command";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, handlerKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    wchar_t saved[1024] = {};
    DWORD savedSize = sizeof saved;
    const bool hadHandler = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &savedSize)
                            == ERROR_SUCCESS;
    const std::wstring command = L"reg.exe add HKCU\\" + marker + L" /v Address /d \"%1\" /f";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));

    Create();
    form->GradientButton2Click(form);
    std::wstring opened;
    PumpUntil([&] { return !(opened = ReadRegString(marker, L"Address", HKEY_CURRENT_USER)).empty(); }, 20000);

    if (hadHandler)
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), savedSize);
    else
        RegDeleteValueW(key, nullptr);
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuenfelTest");

    EXPECT_NE(opened.find(L"www.quenfel.example"), std::wstring::npos) << ToUtf8(opened);
}

TEST_F(FormMainTest, AutorunBoxWritesAndRemovesTheUserEntries)
{
    Create();
    EXPECT_FALSE(form->CheckBoxAutoRun2->Checked()) << "Windows starts no copy";
    form->CheckBoxAutoRun2->SetChecked(true);
    EXPECT_EQ(ReadRegString(L"Software\\Quenfel", L"loadwithwin", HKEY_CURRENT_USER), L"1");
    EXPECT_NE(ReadRegString(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quenfel", HKEY_CURRENT_USER), L"");
    form->CheckBoxAutoRun2->SetChecked(false);
    EXPECT_EQ(ReadRegString(L"Software\\Quenfel", L"loadwithwin", HKEY_CURRENT_USER), L"0");
    EXPECT_EQ(ReadRegString(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quenfel", HKEY_CURRENT_USER), L"");
}
