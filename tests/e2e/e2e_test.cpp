// The real program, started and driven from outside in the session's virtual
// desktop: its size, the slides, a run, the single-instance rule, "/tray",
// the autorun entries and ending through the tray menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <algorithm>

#include "tests/e2e/driver.h"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ClearAutorunEntries(); }
    void TearDown() override
    {
        first.Kill();
        ClearAutorunEntries();
    }

    // Starts the program and waits for its main window to show; null when it
    // did not show in time.
    HWND StartShown(const std::wstring& args = L"")
    {
        first = TProcess::Start(args);
        // Clicks sent before the loop first waits for input could be lost.
        WaitForInputIdle(first.Handle(), 10000);
        HWND window = nullptr;
        const bool shown = WaitUntil([&] {
            window = FindTopLevel(first.Id(), kMainTitle);
            return window != nullptr && IsWindowVisible(window);
        });
        return shown ? window : nullptr;
    }

    // Opens the tray icon's menu as a right click on the icon does; true once
    // the menu shows. Only the running message loop can open it, so the
    // program has passed its start-up by then.
    bool OpenTrayMenu(HWND tray) const
    {
        PostMessageW(tray, kTrayCallback, 0, WM_RBUTTONDOWN);
        PostMessageW(tray, kTrayCallback, 0, WM_RBUTTONUP);
        return WaitUntil([] {
            HWND menu = FindWindowW(L"#32768", nullptr);
            return menu != nullptr && IsWindowVisible(menu);
        });
    }

    static bool MenuClosed()
    {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu == nullptr || !IsWindowVisible(menu);
    }

    // The hidden window that receives the notification icon's callbacks.
    HWND TrayWindow() const
    {
        HWND found = nullptr;
        WaitUntil([&] {
            found = TrayWindowOf(first.Id());
            return found != nullptr;
        });
        return found;
    }

    // The window the taskbar shows a button for, by the rule Windows applies:
    // a visible, unowned top-level window that is not a tool window. The main
    // window must be owned by it, or it would get a second button.
    HWND TaskbarWindow() const
    {
        HWND found = nullptr;
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != first.Id() || !IsWindowVisible(w) || GetWindow(w, GW_OWNER) != nullptr) continue;
            if ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) continue;
            if (found != nullptr) return nullptr;  // two buttons
            found = w;
        }
        return found;
    }

    TProcess first;
};

TEST_F(ProgramTest, OpensCompactAndSlidesTheSettingsOpenAndClosed)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowWidth(window), 164);
    EXPECT_EQ(WindowHeight(window), 332);

    HWND settings = FindChildByText(window, L"&Settings Menu");
    ASSERT_NE(settings, nullptr);
    ClickCentre(settings);
    EXPECT_TRUE(WaitUntil([&] { return SettingsOpenFrom(window, 164); }));
    ClickCentre(settings);
    EXPECT_TRUE(WaitUntil([&] { return WindowWidth(window) == 164; }));
}

TEST_F(ProgramTest, OptimizeGrowsTheWindowAndBringsItBack)
{
    StoreRamToFree(1500);  // long enough at full height to be seen
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    HWND optimize = FindChildByText(window, L"&Optimize Now");
    ASSERT_NE(optimize, nullptr);
    int tallest = 0;
    ClickCentre(optimize);
    WaitUntil([&] {
        tallest = std::max(tallest, WindowHeight(window));
        return tallest == 332 + 45;
    }, 20s);
    EXPECT_EQ(tallest, 332 + 45);
    EXPECT_TRUE(WaitUntil([&] { return WindowHeight(window) == 332; }, 60s));
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(ProgramTest, SecondCopyWarnsAndEndsWhileTheFirstRuns)
{
    ASSERT_NE(StartShown(), nullptr);
    TProcess second = TProcess::Start();
    HWND warning = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (warning = FindTopLevel(second.Id(), L"Warning")) != nullptr; }));
    EXPECT_NE(FindChildByText(warning, L"Quenfel is already Running in another Window"), nullptr);
    EXPECT_EQ(FindTopLevel(second.Id(), kMainTitle), nullptr);
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    const auto code = second.WaitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(ProgramTest, TrayStartShowsNoWindowButAnIcon)
{
    first = TProcess::Start(L"/tray");
    HWND tray = TrayWindow();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IconInTray(tray); }));
    // The loop shows the main window, if at all, before it handles anything;
    // once the menu is open the loop is running.
    ASSERT_TRUE(OpenTrayMenu(tray));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil(MenuClosed));
    // The window may exist, but it is not shown.
    HWND window = FindTopLevel(first.Id(), kMainTitle);
    EXPECT_TRUE(window == nullptr || !IsWindowVisible(window));
    EXPECT_EQ(TaskbarWindow(), nullptr);
    EXPECT_TRUE(first.IsRunning());
}

// The shell and the libraries it loads in turn are a good part of a start's
// cost; only the notification icon needs them.
TEST_F(ProgramTest, TheShellIsLoadedOnlyForTheIcon)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(ModuleLoaded(first.Handle(), L"shell32.dll"));

    ClickCentre(FindChildByText(window, L"Minimize Tray"));
    HWND tray = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tray = TrayWindowOf(first.Id())) != nullptr && IconInTray(tray); }));
    EXPECT_TRUE(ModuleLoaded(first.Handle(), L"shell32.dll"));
}

// A shown start makes the windows it shows and no more: the tray icon's and
// the popup menu's hidden windows, the hint tooltip and the timer's window
// (message-only) cost nothing until they are needed.
TEST_F(ProgramTest, AShownStartMakesOnlyTheWindowsItShows)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    std::vector<std::wstring> ours;
    for (const std::wstring& cls : TopLevelClasses(first.Id()))
        if (cls != L"IME" && cls != L"MSCTFIME UI") ours.push_back(cls);  // the system's input windows
    EXPECT_EQ(ours, (std::vector<std::wstring>{L"QuenfelApplication", L"QuenfelForm"}));
}

// So are the common controls, with the images they load; only the settings
// page and the hint tooltip need them.
TEST_F(ProgramTest, TheCommonControlsAreLoadedOnlyForTheSettingsPage)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(ModuleLoaded(first.Handle(), L"comctl32.dll"));

    ASSERT_TRUE(OpenSettingsPage(window));
    EXPECT_NE(FindChildByClass(window, TRACKBAR_CLASSW), nullptr);
    // The version 6 assembly the manifest asks for, not the older copy in
    // the system folder.
    std::wstring path = LoadedModulePath(first.Handle(), L"comctl32.dll");
    CharLowerW(path.data());
    EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << path;
}

TEST_F(ProgramTest, CapitalisedTrayOptionShowsTheWindowAndOneTaskbarButton)
{
    HWND window = StartShown(L"/Tray");
    ASSERT_NE(window, nullptr);
    HWND button = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (button = TaskbarWindow()) != nullptr; }));
    EXPECT_EQ(WindowText(button), L"Quenfel");
    EXPECT_EQ(GetWindow(window, GW_OWNER), button);
}

TEST_F(ProgramTest, AutorunBoxWritesAndRemovesTheUserEntries)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(OpenSettingsPage(window));
    HWND box = FindChildByText(window, L"Autorun on Windows start");
    ASSERT_NE(box, nullptr);

    // The flag is written before the Run entry changes: wait for both.
    ClickCentre(box);  // Windows starts no copy at first: this ticks it
    EXPECT_TRUE(WaitUntil([] {
        return ReadUserString(kFlagKey, L"loadwithwin") == L"1" && ReadUserString(kRunKey, L"Quenfel").has_value();
    }));
    const auto entry = ReadUserString(kRunKey, L"Quenfel");
    ASSERT_TRUE(entry.has_value());
    EXPECT_NE(entry->find(L"Quenfel.exe"), std::wstring::npos);
    ClickCentre(box);
    EXPECT_TRUE(WaitUntil([] {
        return ReadUserString(kFlagKey, L"loadwithwin") == L"0" && !ReadUserString(kRunKey, L"Quenfel").has_value();
    }));
}

TEST_F(ProgramTest, StartReconcilesTheRunEntryWithTheFlag)
{
    WriteUserString(kFlagKey, L"loadwithwin", L"1");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([] { return ReadUserString(kRunKey, L"Quenfel").has_value(); }));
    first.Kill();

    WriteUserString(kFlagKey, L"loadwithwin", L"0");
    WriteUserString(kRunKey, L"Quenfel", L"C:\\stale\\Quenfel.exe");
    ASSERT_NE(StartShown(), nullptr);
    EXPECT_TRUE(WaitUntil([] { return !ReadUserString(kRunKey, L"Quenfel").has_value(); }));
    EXPECT_EQ(ReadUserString(kFlagKey, L"loadwithwin"), L"0");
}

TEST_F(ProgramTest, CloseBoxEndsTheProgram)
{
    HWND window = StartShown();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const auto code = first.WaitForExit(15s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST_F(ProgramTest, ExitInTheTrayMenuEndsTheProgram)
{
    first = TProcess::Start(L"/tray");
    HWND tray = TrayWindow();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IconInTray(tray); }));
    ASSERT_TRUE(OpenTrayMenu(tray));
    PressKey('X');  // the accelerator of "E&xit"
    const auto code = first.WaitForExit(15s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

// The default value of a machine-wide class key; nullopt when missing.
std::optional<std::wstring> MachineClass(const std::wstring& key)
{
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data,
                     &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

void SetMachineClass(const std::wstring& key, const std::wstring& value)
{
    const std::wstring path = L"Software\\Classes\\" + key;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The history opens with the program chosen for .csv files; here, for the
// test, one that notes what it was given and ends. (Wine's shell reads the
// associations from the machine's classes only.)
TEST_F(ProgramTest, RunHistoryInTheTrayMenuOpensTheHistoryFile)
{
    const std::wstring marker = L"Software\\QuenfelTest\\Opened";
    const std::optional<std::wstring> csvClass = MachineClass(L".csv");
    SetMachineClass(L".csv", L"QuenfelTest.csv");
    SetMachineClass(L"QuenfelTest.csv\\shell\\open\\command", L"reg.exe add HKCU\\" + marker + L" /v File /d \"%1\" /f");
    RegDeleteTreeW(HKEY_CURRENT_USER, marker.c_str());
    DeleteFileW(HistoryFilePath().c_str());

    first = TProcess::Start(L"/tray");
    HWND tray = TrayWindow();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IconInTray(tray); }));
    ASSERT_TRUE(OpenTrayMenu(tray));
    PressKey('H');  // the accelerator of "Run &History"
    std::optional<std::wstring> opened;
    WaitUntil([&] { return (opened = ReadUserString(marker, L"File")).has_value(); }, 20s);

    if (csvClass)
        SetMachineClass(L".csv", *csvClass);
    else
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.csv");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\QuenfelTest.csv");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuenfelTest");
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(CompareStringOrdinal(opened->c_str(), -1, HistoryFilePath().c_str(), -1, TRUE), CSTR_EQUAL)
        << "opened " << opened->size() << " characters";
    // Before any run the file holds its header, so the viewer shows where
    // runs will go.
    EXPECT_TRUE(HistoryTriggers().empty());
    EXPECT_NE(GetFileAttributesW(HistoryFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(first.IsRunning());
}

} // namespace
