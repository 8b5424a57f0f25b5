// The real program read from another process as a screen reader reads it:
// the same tree as in-process, across the process boundary, and oleacc
// loaded by the program only once a reader asks.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <iostream>

#include "tests/e2e/driver.h"
#include "tests/support/accessible_tree.h"
#include "tests/support/main_window_tree.h"

using namespace e2e;

namespace {

using Lines = std::vector<std::wstring>;

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
    EXPECT_EQ(main_window_tree::WithoutFigures(closed), main_window_tree::Expected(false)) << Printed(closed);
    EXPECT_TRUE(ModuleLoaded(program.Handle(), L"oleacc.dll"));

    ASSERT_TRUE(OpenSettingsPage(window));
    const Lines open = accessible_tree::Read(window);
    std::cout << Printed(open);
    EXPECT_EQ(main_window_tree::WithoutFigures(open), main_window_tree::Expected(true)) << Printed(open);
}
