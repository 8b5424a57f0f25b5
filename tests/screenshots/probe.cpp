// The Windows-side helper of scripts/screenshots, which takes the README's
// pictures from the Linux side and needs to know where things are on the
// virtual desktop:
//   screenshot_probe settings CAPTION
//                         waits for the running copy's main window, opens its
//                         settings page by clicking the button captioned
//                         CAPTION (the "Settings Menu" button of the language
//                         shown), waits until the page has slid open
//   screenshot_probe tray waits until the running copy's icon is in the
//                         notification area; prints the taskbar's place
// Each prints "LEFT TOP WIDTH HEIGHT" of the window on the desktop, and exits
// with 0 when it came true before the deadline.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kFormClass[] = L"QuenfelForm";
// A first start in a new prefix loads fonts and the common controls.
constexpr auto kDeadline = 30s;

int Fail(const char* what)
{
    std::printf("screenshot_probe: %s\n", what);
    return 1;
}

int Print(HWND window)
{
    const RECT r = e2e::WindowRect(window);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

HWND MainWindow()
{
    HWND window = nullptr;
    e2e::WaitUntil(
        [&] {
            window = FindWindowW(kFormClass, nullptr);
            return window != nullptr && IsWindowVisible(window);
        },
        kDeadline);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int SettingsOpen(const std::wstring& caption)
{
    HWND window = MainWindow();
    if (window == nullptr) return Fail("no main window showed");
    HWND button = e2e::FindChildByText(window, caption);
    if (button == nullptr) return Fail("no button shows that caption");
    const int closed = e2e::WindowWidth(window);
    e2e::ClickCentre(button);
    if (!e2e::WaitUntil([&] { return e2e::SettingsOpenFrom(window, closed); }, kDeadline))
        return Fail("the settings page did not open");
    return Print(window);
}

int InTray()
{
    HWND icon = nullptr;
    const bool shown = e2e::WaitUntil(
        [&] {
            icon = FindWindowW(L"TTrayIconWindow", nullptr);
            return icon != nullptr && e2e::IconInTray(icon);
        },
        kDeadline);
    if (!shown) return Fail("no icon came into the notification area");
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (taskbar == nullptr) return Fail("the desktop has no taskbar");
    return Print(taskbar);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"settings" && argc == 3) return SettingsOpen(argv[2]);
    if (command == L"tray" && argc == 2) return InTray();
    std::printf("usage: screenshot_probe settings CAPTION | tray\n");
    return 2;
}
