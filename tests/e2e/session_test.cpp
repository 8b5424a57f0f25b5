// Whole sessions of the real program: an everyday one (the scripted run that
// the drawing-object guard watches), and starts whose creation handler fails,
// which must report the error once and still give the user a window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/support/readonly_key.h"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override { ClearAutorunEntries(); }
    void TearDown() override
    {
        program.Kill();
        ClearAutorunEntries();
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tarvesk");
    }

    HWND MainWindow() const { return FindTopLevel(program.Id(), kMainTitle); }
    bool MainWindowShown() const
    {
        HWND window = MainWindow();
        return window != nullptr && IsWindowVisible(window);
    }
    // A message box of the program: the dialog class, captioned with the title.
    HWND ErrorBox() const
    {
        HWND box = FindTopLevel(program.Id(), L"Quenfel", L"#32770");
        return box != nullptr && IsWindowVisible(box) ? box : nullptr;
    }
    // The program ends on its own through the close box, with exit code 0.
    void CloseAndExpectCleanExit()
    {
        PostMessageW(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        const auto code = program.WaitForExit(15s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
    }

    TProcess program;
};

TEST_F(SessionTest, EverydaySessionFromStartToClose)
{
    StoreRamToFree(1500);
    program = TProcess::Start();
    ASSERT_TRUE(WaitUntil([&] { return MainWindowShown(); }));
    HWND window = MainWindow();
    WaitForInputIdle(program.Handle(), 10000);

    // The settings slide open and closed.
    ClickCentre(FindChildByText(window, L"&Settings Menu"));
    ASSERT_TRUE(WaitUntil([&] { return SettingsOpenFrom(window, 164); }));
    ClickCentre(FindChildByText(window, L"&Settings Menu"));
    ASSERT_TRUE(WaitUntil([&] { return WindowWidth(window) == 164; }));

    // A run: the strip slides into view and away again.
    ClickCentre(FindChildByText(window, L"&Optimize Now"));
    EXPECT_TRUE(WaitUntil([&] { return WindowHeight(window) == 332 + 45; }, 20s));
    ASSERT_TRUE(WaitUntil([&] { return WindowHeight(window) == 332; }, 60s));

    // To the tray and back by a double click on the icon.
    ClickCentre(FindChildByText(window, L"Minimize Tray"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    HWND tray = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tray = TrayWindowOf(program.Id())) != nullptr && IconInTray(tray); }));
    PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONDOWN);
    PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONUP);
    PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONDBLCLK);
    PostMessageW(tray, kTrayCallback, 0, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return !IconInTray(tray); }));

    CloseAndExpectCleanExit();
}

// Each start fails inside the window's creation handler in its own way.
struct TStartFault {
    const char* name;
    void (*arrange)(std::unique_ptr<TReadOnlyKey>& lock);
};

const TStartFault kStartFaults[] = {
    {"RunKeyNotWritable",
     [](std::unique_ptr<TReadOnlyKey>& lock) {
         // The flag asks for the Run entry to be written, which the key refuses.
         WriteUserString(kFlagKey, L"loadwithwin", L"1");
         lock = std::make_unique<TReadOnlyKey>(HKEY_CURRENT_USER, kRunKey);
         ASSERT_TRUE(lock->Applied());
     }},
    {"MachineEntryOfTheWrongType",
     [](std::unique_ptr<TReadOnlyKey>&) {
         const DWORD number = 1;
         ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Tarvesk", REG_DWORD, &number, sizeof number),
                   ERROR_SUCCESS);
     }},
};

class StartFaultTest : public SessionTest, public ::testing::WithParamInterface<TStartFault> {};

TEST_P(StartFaultTest, IsReportedOnceAndTheWindowStillComesUp)
{
    std::unique_ptr<TReadOnlyKey> lock;
    GetParam().arrange(lock);
    if (HasFatalFailure()) return;

    program = TProcess::Start();
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = ErrorBox()) != nullptr; })) << "no error report";
    HWND text = FindChildByClass(box, L"Static", /*withText=*/true);
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(WindowText(text).empty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    ASSERT_TRUE(WaitUntil([&] { return MainWindowShown(); })) << "the window never came up";
    // Two ticks pass without a second report, and the program goes on.
    EXPECT_FALSE(WaitUntil([&] { return ErrorBox() != nullptr; }, 2500ms)) << "reported more than once";
    EXPECT_TRUE(program.IsRunning());
    CloseAndExpectCleanExit();
}

INSTANTIATE_TEST_SUITE_P(Start, StartFaultTest, ::testing::ValuesIn(kStartFaults),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
