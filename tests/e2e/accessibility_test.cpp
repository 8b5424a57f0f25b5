// The real program read from another process as a screen reader reads it:
// the same tree as in-process, across the process boundary, and oleacc
// loaded by the program only once a reader asks.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <iostream>
#include <regex>

#include "tests/e2e/driver.h"
#include "tests/support/accessible_tree.h"

using namespace e2e;

namespace {

using Lines = std::vector<std::wstring>;

// Figures depend on the machine: each becomes "#".
Lines WithoutFigures(const Lines& lines)
{
    static const std::wregex figure(L"[0-9][0-9.,]*( ?[KMGT]?B)?");
    Lines out;
    for (const auto& l : lines) out.push_back(std::regex_replace(l, figure, L"#"));
    return out;
}

std::string Printed(const Lines& lines)
{
    std::string out;
    for (const auto& l : lines) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, l.c_str(), static_cast<int>(l.size()), nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, l.c_str(), static_cast<int>(l.size()), s.data(), n, nullptr, nullptr);
        out += s + "\n";
    }
    return out;
}

class ScreenReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ClearAutorunEntries();
    }
    void TearDown() override
    {
        program.Kill();
        ClearAutorunEntries();
        CoUninitialize();
    }
    TProcess program;
};

}  // namespace

TEST_F(ScreenReaderTest, AnotherProcessReadsTheWindowAsDesigned)
{
    HWND window = StartAndWaitShown(program, kMainTitle);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(ModuleLoaded(program.Handle(), L"oleacc.dll")) << "no reader has asked yet";

    const Lines closed = accessible_tree::Read(window);
    std::cout << Printed(closed);
    EXPECT_EQ(WithoutFigures(closed), (Lines{
        L"client \"Quenfel ver #\"",
        L"  grouping \"Memory Monitor\"",
        L"    static text \"#%\"",
        L"    static text \"# Available\"",
        L"    progress bar \"Memory Monitor\" value=#%",
        L"  grouping \"Optimizing\" offscreen",
        L"    progress bar \"Optimizing\" value=#% offscreen",
        L"  push button \"Optimize Now\" action=Press key=Alt+O",
        L"  push button \"Settings Menu\" action=Press key=Alt+S",
        L"  push button \"Minimize Tray\" action=Press",
        L"  push button \"Check for Latest Update\" action=Press",
    })) << Printed(closed);
    EXPECT_TRUE(ModuleLoaded(program.Handle(), L"oleacc.dll"));

    ASSERT_TRUE(OpenSettingsPage(window));
    const Lines open = accessible_tree::Read(window);
    std::cout << Printed(open);
    EXPECT_EQ(WithoutFigures(open), (Lines{
        L"client \"Quenfel ver #\"",
        L"  grouping \"Memory Monitor\"",
        L"    static text \"#%\"",
        L"    static text \"# Available\"",
        L"    progress bar \"Memory Monitor\" value=#%",
        L"  grouping \"Optimizing\" offscreen",
        L"    progress bar \"Optimizing\" value=#% offscreen",
        L"  page tab list \"\"",
        L"    property page \"Settings\"",
        L"      grouping \"Select RAM to Free\"",
        L"        static text \"#\"",
        L"        slider \"Select RAM to Free\" value=#",
        L"      grouping \"Alarm Level\"",
        L"        static text \"MB\"",
        L"        check button \"Automatic RAM Optimization when reach\" action=Check",
        L"        spin box \"Alarm Level\" value=#",
        L"          client \"\"",
        L"            push button \"Up\" action=Press",
        L"            push button \"Down\" action=Press",
        L"      grouping \"Misc\"",
        L"        static text \"Refresh (in sec)\"",
        L"        spin box \"Refresh (in sec)\" value=#",
        L"          client \"\"",
        L"            push button \"Up\" action=Press",
        L"            push button \"Down\" action=Press",
        L"        check button \"Autorun on Windows start\" action=Uncheck",
        L"  push button \"Optimize Now\" action=Press key=Alt+O unavailable",
        L"  push button \"Settings Menu\" action=Press key=Alt+S",
        L"  push button \"Minimize Tray\" action=Press",
        L"  push button \"Check for Latest Update\" action=Press",
    })) << Printed(open);
}
