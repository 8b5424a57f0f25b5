// How windows and their objects are tied: which windows the toolkit takes
// for its own (only this process's: a window of another process found under
// the mouse may carry a property of the same name, and its value is no
// pointer here), that an object being destroyed hears nothing more from its
// window, and that an error in a window's handler goes to the report.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/utilwindow.h"
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

TEST(WindowBinding, AnObjectBeingDestroyedHearsNothingFromItsWindow)
{
    bool destroying = false;
    int heardWhileDestroying = 0;
    auto window = std::make_unique<TUtilityWindow>([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (destroying) ++heardWhileDestroying;
        return DefWindowProcW(h, m, wp, lp);
    });
    HWND h = window->Handle();
    destroying = true;
    window.reset();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(heardWhileDestroying, 0);  // no WM_DESTROY, no WM_NCDESTROY
}

TEST(WindowBinding, AnErrorInAHandlerIsReportedWithItsSenderAndTheMessageAnswersZero)
{
    const UINT kFail = WM_APP + 7;
    TUtilityWindow window([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == kFail) throw std::runtime_error("handler failed");
        return DefWindowProcW(h, m, wp, lp);
    });
    TObject* reportedSender = nullptr;
    std::wstring reported;
    Application->OnException = [&](TObject* sender, const Exception& e) {
        reportedSender = sender;
        reported = e.Message();
    };
    const LRESULT result = SendMessageW(window.Handle(), kFail, 0, 0);
    Application->OnException = nullptr;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(reportedSender, &window);
    EXPECT_EQ(reported, L"handler failed");
}

} // namespace
