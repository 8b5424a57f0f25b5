// Which windows the toolkit takes for its own: only this process's. A window
// of another process found under the mouse may carry a property of the same
// name, and its value is no pointer here.
#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/wincontrol.h"

namespace {

TEST(FindControl, IgnoresAnotherProcessWindowThatCarriesTheSameProperty)
{
    // The desktop window belongs to the desktop's own process.
    HWND foreign = GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(foreign, &process);
    ASSERT_NE(process, GetCurrentProcessId());
    ASSERT_TRUE(SetPropW(foreign, L"QuenfelControl", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x1234))));
    TWinControl* found = TWinControl::FindControl(foreign);
    RemovePropW(foreign, L"QuenfelControl");
    EXPECT_EQ(found, nullptr);
}

} // namespace
