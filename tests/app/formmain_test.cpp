// The main window driven in-process: the engine and the form are real, the
// handlers are called as the controls would call them, and the results are
// read back from the controls, the window rectangles and the registry.
#include "tests/app/formmain_fixture.h"

#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/spinedit.h"
#include "controls/trayicon.h"
#include "settings/regaccess.h"
#include "toolkit/actions.h"
#include "toolkit/checkbox.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
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
    EXPECT_EQ(form->SpeedButtonOptimize->ColorScheme(), TGradientButton::csNeoGrass);
    EXPECT_EQ(form->GradientButton2->ColorScheme(), TGradientButton::csNeoGrass);
    EXPECT_EQ(form->ProgressBarFree->ColorScheme(), TGradientProgressBar::csGrass);
    // Loaded as Max 1024, Min 1, Position 0: the position was refused by its guard,
    // and a tick at 0 % free is refused again.
    EXPECT_EQ(form->ProgressBarMEM->Position(), 0);
    EXPECT_EQ(form->ProgressBarMEM->Min(), 1);
    EXPECT_EQ(form->ProgressBarMEM->Max(), 100);
    // The autorun box was loaded checked without running its handler: a first
    // start writes nothing.
    EXPECT_TRUE(form->CheckBoxAutoRun2->Checked());
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

TEST_F(FormMainTest, WindowSizesThroughSettingsAndOptimizeSlides)
{
    status = Machine(256'000'000ull, 200'000'000ull);
    Create();
    EXPECT_EQ(OuterWidth(), TFormMain::CompactWidth);
    EXPECT_EQ(OuterHeight(), TFormMain::CompactHeight);

    form->ActionSettingsExecute(form);
    EXPECT_TRUE(form->SettingsOpen());
    EXPECT_EQ(OuterWidth(), 164 + 336);
    EXPECT_FALSE(form->SpeedButtonOptimize->Enabled());
    form->ActionSettingsExecute(form);
    EXPECT_FALSE(form->SettingsOpen());
    EXPECT_EQ(OuterWidth(), 164);
    EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());

    form->TrackRAM->SetPosition(3);
    std::vector<int> heights;
    std::vector<bool> buttonsEnabled;
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        heights.push_back(OuterHeight());
        buttonsEnabled.push_back(form->SpeedButtonOptimize->Enabled() || form->SpeedButtonSettings->Enabled());
        form->DoBlockAllocated(s, i);
    };
    form->ActionOptimizeExecute(form);
    ASSERT_EQ(heights.size(), 3u);
    for (int h : heights) EXPECT_EQ(h, 332 + 45);
    for (bool enabled : buttonsEnabled) EXPECT_FALSE(enabled);
    EXPECT_EQ(OuterHeight(), 332);
    EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());
    EXPECT_TRUE(form->SpeedButtonSettings->Enabled());
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(FormMainTest, ProgressStripFollowsTheRun)
{
    Create();
    form->TrackRAM->SetPosition(3);
    std::vector<int> positions;
    engine->OnBlockAllocated = [&](TObject* s, std::int32_t i) {
        form->DoBlockAllocated(s, i);
        positions.push_back(form->ProgressBarFree->Position());
    };
    engine->OnBlockReleased = [&](TObject* s, std::int32_t i) {
        form->DoBlockReleased(s, i);
        positions.push_back(form->ProgressBarFree->Position());
    };
    form->ActionOptimizeExecute(form);
    // Index 0 lies below the strip's minimum 1 and is refused; the release pass
    // adds each index to the position.
    EXPECT_EQ(positions, (std::vector<int>{1, 1, 2, 2, 3, 5}));
    EXPECT_EQ(form->ProgressBarFree->Position(), 100);
}

TEST_F(FormMainTest, FailedRunRestoresButtonsAndCursorAndLeavesTheWindowTaller)
{
    Create();
    form->TrackRAM->SetPosition(5);
    engine->BlockSource = FailingAfter(2);
    EXPECT_THROW(form->ActionOptimizeExecute(form), EOutOfMemory);
    EXPECT_TRUE(form->SpeedButtonOptimize->Enabled());
    EXPECT_TRUE(form->SpeedButtonSettings->Enabled());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(OuterHeight(), 332 + 45);
    EXPECT_FALSE(form->Optimizing());
}

TEST_F(FormMainTest, AlarmRunsOnlyStrictlyBelowTheLevelWithThePanelClosed)
{
    Create();
    form->TrackRAM->SetPosition(1);
    int runs = 0;
    engine->OnBlockReleased = [&](TObject*, std::int32_t) { ++runs; };
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(100);

    status.AvailPhys = 100ull * TMem::BlockSize;  // equal: no run
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 0);

    status.AvailPhys = 100ull * TMem::BlockSize - 1;  // below
    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
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
        form->DoBlockAllocated(s, i);
    };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(starts, 1);
}

TEST_F(FormMainTest, FailedAlarmRunLeavesTheTimerStopped)
{
    Create();
    form->TrackRAM->SetPosition(5);
    engine->BlockSource = FailingAfter(1);
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(100);
    status.AvailPhys = 1;
    EXPECT_THROW(form->TimerMemTimer(form), EOutOfMemory);
    EXPECT_FALSE(form->TimerMem->Enabled());
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

TEST_F(FormMainTest, AboutPageShowsTheRegisteredOwner)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring owner = L"Ada Tester";
    RegSetValueExW(key, L"RegisteredOwner", 0, REG_SZ, reinterpret_cast<const BYTE*>(owner.c_str()),
                   static_cast<DWORD>((owner.size() + 1) * sizeof(wchar_t)));
    RegDeleteValueW(key, L"RegisteredOrganization");
    RegCloseKey(key);

    Create();
    form->TabSheetAboutShow(form);
    EXPECT_EQ(form->Label4->Caption(), owner);
    EXPECT_EQ(form->Label5->Caption(), L"");
}

TEST_F(FormMainTest, AutorunBoxWritesAndRemovesTheUserEntries)
{
    Create();
    form->CheckBoxAutoRun2->SetChecked(false);
    EXPECT_EQ(ReadRegString(L"Software\\Quenfel", L"loadwithwin", HKEY_CURRENT_USER), L"0");
    EXPECT_EQ(ReadRegString(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quenfel", HKEY_CURRENT_USER), L"");
    form->CheckBoxAutoRun2->SetChecked(true);
    EXPECT_EQ(ReadRegString(L"Software\\Quenfel", L"loadwithwin", HKEY_CURRENT_USER), L"1");
    EXPECT_NE(ReadRegString(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quenfel", HKEY_CURRENT_USER), L"");
}
