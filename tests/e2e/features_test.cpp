// The real program across restarts and scheduled starts: the kept settings,
// what a malformed store does at start, and "/optimize" alone, failing, and
// handed to a copy that is already running.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/support/history_files.h"
#include "tests/support/user_values.h"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

constexpr wchar_t kTitle[] = L"Quenfel ver 1.5";
constexpr wchar_t kKey[] = L"Software\\Quenfel";
constexpr const wchar_t* kSettings[] = {L"RamToFree", L"AlarmLevel", L"AutoOptimize", L"RefreshPeriod",
                                       L"OptimizeHotkey", L"MemoryAreas"};

void SetRaw(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    testsupport::SetUserRaw(kKey, name, type, bytes);
}

void SetDword(const wchar_t* name, DWORD value)
{
    testsupport::SetUserDword(kKey, name, value);
}

std::optional<DWORD> ReadDword(const wchar_t* name)
{
    return testsupport::ReadUserDword(kKey, name);
}

struct TShownSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK MatchShown(HWND w, LPARAM data)
{
    auto* s = reinterpret_cast<TShownSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == s->processId && IsWindowVisible(w)) s->found = true;
    return !s->found;
}

// Any visible top-level window of the process, whatever its title.
bool ShowsAWindow(DWORD processId)
{
    TShownSearch search{processId, false};
    EnumWindows(MatchShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The most memory the process has had in its working set so far.
std::size_t PeakWorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
}

// Replaces the text of an edit box as typing over its selected text does.
void Type(HWND edit, const std::wstring& text)
{
    PostMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

// A key combination pressed on the keyboard and let go, as a user does
// whatever window has the focus.
void PressCombination(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Whether a window of the driver's own may take the combination now.
bool Free(UINT modifiers, UINT key)
{
    HWND own = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const bool free = RegisterHotKey(own, 1, modifiers, key) != FALSE;
    if (free) UnregisterHotKey(own, 1);
    DestroyWindow(own);
    return free;
}

class FeaturesTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override
    {
        second.Kill();
        first.Kill();
        ClearSettings();
    }
    static void ClearSettings()
    {
        for (const wchar_t* name : kSettings) DeleteUserValue(kKey, name);
    }

    HWND StartShown(const std::wstring& args = L"") { return StartAndWaitShown(first, kTitle, args); }

    // The settings page's controls, found by their group boxes.
    struct TSettingsPage {
        HWND track, alarm, autoOptimize, refresh;
    };
    static TSettingsPage Page(HWND window)
    {
        return {FindChildByClass(FindChildByText(window, L"Select RAM to Free"), TRACKBAR_CLASSW),
                FindChildByClass(FindChildByText(window, L"Alarm Level"), L"Edit"),
                FindChildByText(window, L"Automatic RAM Optimization when reach"),
                FindChildByClass(FindChildByText(window, L"Misc"), L"Edit")};
    }

    TProcess first;
    TProcess second;
};

TEST_F(FeaturesTest, SettingsChosenOnThePageSurviveARestart)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(OpenSettingsPage(window));
    const TSettingsPage page = Page(window);
    ASSERT_TRUE(page.track && page.alarm && page.autoOptimize && page.refresh);
    HWND settings = FindChildByText(window, L"&Settings Menu");

    PostMessageW(page.track, WM_KEYDOWN, VK_HOME, 0);  // the slider's minimum, 1
    PostMessageW(page.track, WM_KEYUP, VK_HOME, 0);
    Type(page.alarm, L"300");
    Type(page.refresh, L"5");
    ClickCentre(page.autoOptimize);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(page.autoOptimize, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(page.track, TBM_GETPOS, 0, 0) == 1; }));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(page.alarm) == L"300" && WindowText(page.refresh) == L"5"; }));

    ClickCentre(settings);  // closing the page stores them
    EXPECT_TRUE(WaitUntil([] { return ReadDword(L"RefreshPeriod") == 5u; }));
    EXPECT_EQ(ReadDword(L"RamToFree"), 1u);
    EXPECT_EQ(ReadDword(L"AlarmLevel"), 300u);
    EXPECT_EQ(ReadDword(L"AutoOptimize"), 1u);

    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(first.WaitForExit(15s), 0u);

    window = StartShown();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(OpenSettingsPage(window));
    const TSettingsPage again = Page(window);
    EXPECT_EQ(SendMessageW(again.track, TBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(WindowText(again.alarm), L"300");
    EXPECT_EQ(WindowText(again.refresh), L"5");
    EXPECT_EQ(SendMessageW(again.autoOptimize, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// Restarted with administrator rights, a portable copy reads nothing until
// the copy it replaces has ended: meeting that copy's save half done, it
// would keep no setting until it exits.
TEST_F(FeaturesTest, ATakeoverReadsThePortableFileOnlyOnceTheOldCopyHasSaved)
{
    const testsupport::TScratchFolder folder(L"quenfel-takeover");
    const std::wstring exe = folder.File(L"Quenfel.exe"), ini = folder.File(L"Quenfel.ini");
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE));
    testsupport::WriteBytes(ini, "[Quenfel]\r\n");
    HWND old = StartShown();
    ASSERT_NE(old, nullptr);
    // The old copy's save under way: its new file is open.
    HANDLE saving = CreateFileW((ini + L".new").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(saving, INVALID_HANDLE_VALUE);
    second = TProcess::Start(L"/takeover " + std::to_wstring(first.Id()) + L" 10 10", exe);
    Sleep(1500);
    CloseHandle(saving);
    PostMessageW(old, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(first.WaitForExit(15s), 0u);
    HWND taken = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (taken = FindTopLevel(second.Id(), kTitle)) != nullptr && IsWindowVisible(taken); }));
    PostMessageW(taken, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(second.WaitForExit(15s), 0u);
    EXPECT_NE(testsupport::ReadBytes(ini).find("RamToFree="), std::string::npos) << "its settings were kept";
}

TEST_F(FeaturesTest, AMalformedStoreStartsWithTheDefaultsAndNoError)
{
    const std::vector<BYTE> text = {'5', 0, 0, 0};
    const std::vector<BYTE> shortDword = {5, 0};
    const struct {
        const char* what;
        std::function<void(const wchar_t* name)> write;
    } kinds[] = {
        {"wrong type", [&](const wchar_t* name) { SetRaw(name, REG_SZ, text); }},
        {"wrong size", [&](const wchar_t* name) { SetRaw(name, REG_DWORD, shortDword); }},
        {"out of range", [&](const wchar_t* name) {
             // Auto-optimisation knows only 0 and 1; a refresh of 0 would stop the monitor.
             SetDword(name, std::wstring(name) == L"RefreshPeriod" ? 0u : std::wstring(name) == L"AutoOptimize" ? 7u : 0x80000000u);
         }},
    };
    for (const auto& kind : kinds) {
        for (const wchar_t* name : kSettings)
            if (std::wstring(name) != L"RamToFree" || std::string(kind.what) != "out of range") kind.write(name);
        HWND window = StartShown();
        ASSERT_NE(window, nullptr) << kind.what;
        ASSERT_TRUE(OpenSettingsPage(window)) << kind.what;
        const TSettingsPage page = Page(window);
        const LRESULT maximum = SendMessageW(page.track, TBM_GETRANGEMAX, 0, 0);
        EXPECT_EQ(SendMessageW(page.track, TBM_GETPOS, 0, 0), maximum / 2) << kind.what;
        EXPECT_EQ(WindowText(page.alarm), L"0") << kind.what;
        EXPECT_EQ(WindowText(page.refresh), L"1") << kind.what;
        EXPECT_EQ(SendMessageW(page.autoOptimize, BM_GETCHECK, 0, 0), BST_UNCHECKED) << kind.what;
        // An error at start would be a box captioned with the application's title.
        EXPECT_EQ(FindTopLevel(first.Id(), L"Quenfel", L"#32770"), nullptr) << kind.what;
        first.Kill();
        ClearSettings();
    }
}

// With every area stored: each in its order, those Wine lacks skipped as not
// available, none failed, so the exit code is 0.
TEST_F(FeaturesTest, OptimizeAloneRunsUnseenAndExitsZero)
{
    SetDword(L"RamToFree", 32);
    SetDword(L"MemoryAreas", 0x7F);
    DeleteFileW(HistoryFilePath().c_str());
    first = TProcess::Start(L"/optimize");
    bool shown = false;
    std::optional<DWORD> code;
    WaitUntil([&] {
        shown = shown || ShowsAWindow(first.Id());
        code = first.WaitForExit(0ms);
        return code.has_value();
    }, 60s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(shown);
    EXPECT_EQ(HistoryTriggers(), std::vector<std::string>{"scheduled"});
    const std::string history = HistoryText();
    const std::string areas = history.substr(history.rfind(',') + 1);
    EXPECT_EQ(areas.substr(0, 12), "workingsets=") << areas;
    // Wine reports Windows 7, and its file cache call is a stub that says so;
    // the 32-bit program on a 64-bit Windows leaves every system-wide area to
    // the 64-bit one.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const std::string notHere = wow64 ? "skipped-bitness" : "skipped-windows";
    EXPECT_NE(areas.find(" filecache=" + notHere + " fill=+"), std::string::npos) << areas;
    EXPECT_NE(areas.find(wow64 ? " modified=skipped-bitness " : " modified="), std::string::npos) << areas;
    EXPECT_EQ(areas.substr(areas.rfind(' ') + 1), "combine=" + notHere + "\r\n") << areas;
    EXPECT_EQ(areas.find("failed"), std::string::npos) << areas;
}

TEST_F(FeaturesTest, AnAlarmOutOfReachRunsOnceAndThenWaits)
{
    SetDword(L"RamToFree", 50);  // quick runs
    SetDword(L"AlarmLevel", 1'048'576);  // far above any machine's free memory
    SetDword(L"AutoOptimize", 1);
    DeleteFileW(HistoryFilePath().c_str());
    first = TProcess::Start(L"/tray");
    ASSERT_TRUE(WaitUntil([] { return !HistoryTriggers().empty(); }, 30s));
    // Many one-second ticks later, all below the alarm: still the one run.
    Sleep(8000);
    EXPECT_EQ(HistoryTriggers(), std::vector<std::string>{"alarm"});
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(FindTopLevel(first.Id(), L"Quenfel", L"#32770"), nullptr);  // no error box
}

TEST_F(FeaturesTest, AScheduledRunDoesNotKeepTheUserFromStartingTheProgram)
{
    SetDword(L"RamToFree", 2000);  // long enough to be caught in the middle
    first = TProcess::Start(L"/optimize");
    // Well into its run: the lock was let go before the first block.
    ASSERT_TRUE(WaitUntil([&] { return PeakWorkingSet(first.Handle()) >= 100u * 1024 * 1024 || !first.IsRunning(); }, 30s));
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, L"Quenfel");
    const bool stillRunning = first.IsRunning();
    if (lock != nullptr) CloseHandle(lock);
    if (!stillRunning) GTEST_SKIP() << "the run ended before it could be watched";
    EXPECT_EQ(lock, nullptr);
    EXPECT_NE(StartAndWaitShown(second, kTitle), nullptr);
    EXPECT_EQ(FindTopLevel(second.Id(), L"Warning"), nullptr);
    EXPECT_EQ(first.WaitForExit(60s), 0u);
}

TEST_F(FeaturesTest, OptimizeThatRunsOutOfAddressSpaceExitsOne)
{
    if (sizeof(void*) == 8) GTEST_SKIP() << "a 64-bit address space does not run out";
    SetDword(L"RamToFree", 0xFFFFFFFFu);  // held to the slider, still beyond what 32 bits can map
    first = TProcess::Start(L"/optimize");
    const auto code = first.WaitForExit(120s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1u);
    EXPECT_EQ(FindTopLevel(first.Id(), L"Quenfel", L"#32770"), nullptr);
}

TEST_F(FeaturesTest, OptimizeHandsTheRunToTheShownCopy)
{
    SetDword(L"RamToFree", 1500);  // long enough at full height to be seen
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    second = TProcess::Start(L"/optimize");
    int tallest = 0;
    WaitUntil([&] {
        tallest = std::max(tallest, WindowHeight(window));
        return tallest == 332 + 45;
    }, 20s);
    EXPECT_EQ(tallest, 332 + 45);
    const auto code = second.WaitForExit(15s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(FindTopLevel(second.Id(), L"Warning"), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowHeight(window) == 332; }, 60s));
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(FeaturesTest, OptimizeHandsTheRunToTheCopyInTheTray)
{
    SetDword(L"RamToFree", 256);
    first = TProcess::Start(L"/tray");
    WaitForInputIdle(first.Handle(), 10000);
    ASSERT_TRUE(WaitUntil([&] {
        HWND tray = TrayWindowOf(first.Id());
        return tray != nullptr && IconInTray(tray);
    }));
    const std::size_t before = PeakWorkingSet(first.Handle());
    ASSERT_GT(before, 0u);
    second = TProcess::Start(L"/optimize");
    const auto code = second.WaitForExit(15s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(FindTopLevel(second.Id(), L"Warning"), nullptr);
    // Every block of the run was written, so the copy's working set rose by
    // about the stored amount.
    EXPECT_TRUE(WaitUntil([&] { return PeakWorkingSet(first.Handle()) >= before + 200u * 1024 * 1024; }, 60s));
    EXPECT_FALSE(ShowsAWindow(first.Id()) && IsWindowVisible(FindTopLevel(first.Id(), kTitle)));
}

TEST_F(FeaturesTest, TheHotkeyRunsFromAnywhereAndIsFreeWhenTheProgramEnds)
{
    constexpr UINT kDefault = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    SetDword(L"RamToFree", 32);
    DeleteFileW(HistoryFilePath().c_str());
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(Free(kDefault, VK_F8));
    PressCombination({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F8});
    EXPECT_TRUE(WaitUntil([] { return !HistoryTriggers().empty(); }, 30s));
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(first.WaitForExit(15s), 0u);
    EXPECT_EQ(HistoryTriggers(), std::vector<std::string>{"manual"});
    EXPECT_TRUE(Free(kDefault, VK_F8));

    // Another key kept in the store is the one held at the next start, in
    // the tray too.
    SetDword(L"OptimizeHotkey", (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'K');
    first = TProcess::Start(L"/tray");
    ASSERT_TRUE(WaitUntil([&] {
        HWND tray = TrayWindowOf(first.Id());
        return tray != nullptr && IconInTray(tray);
    }));
    EXPECT_TRUE(Free(kDefault, VK_F8));
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'K'));
    PressCombination({VK_CONTROL, VK_MENU, 'K'});
    EXPECT_TRUE(WaitUntil([] { return HistoryTriggers().size() == 2; }, 30s));
    EXPECT_TRUE(first.IsRunning());
}

} // namespace
