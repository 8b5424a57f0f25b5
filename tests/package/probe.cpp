// A small Windows-side helper for tests/package/run, which checks the
// installer and the portable zip from the Linux side:
//   package_probe shows TITLE    starts QUENFEL_EXE, waits for its main window
//                                (titled TITLE) to be shown, closes it and
//                                expects a clean exit
//   package_probe appears TITLE  waits for a running copy's main window
//   package_probe runs           waits for a running copy, shown or in the tray
//   package_probe gone           waits until no copy runs (no window, no lock)
// Exit code 0 when the condition came true before the deadline.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"

namespace {

using namespace std::chrono_literals;

// The main window is a form of the program's class; the application window
// (the taskbar button, present in the tray too) is titled like the product.
constexpr wchar_t kFormClass[] = L"QuenfelForm";
constexpr wchar_t kApplicationClass[] = L"QuenfelApplication";
constexpr wchar_t kProduct[] = L"Quenfel";
// Held by every running copy.
constexpr wchar_t kInstanceMutex[] = L"Quenfel";
// A first start in a new prefix loads fonts and the common controls.
constexpr auto kDeadline = 30s;

bool Shown(HWND window)
{
    return window != nullptr && IsWindowVisible(window) && e2e::WindowWidth(window) > 0 &&
           e2e::WindowHeight(window) > 0;
}

bool CopyRuns()
{
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutex);
    if (lock == nullptr) return false;
    CloseHandle(lock);
    return true;
}

int Fail(const char* what)
{
    std::printf("package_probe: %s\n", what);
    return 1;
}

int StartsAndShows(const std::wstring& title)
{
    e2e::TProcess program = e2e::TProcess::Start();
    if (program.Handle() == nullptr) return Fail("the program did not start");
    HWND window = nullptr;
    const bool shown = e2e::WaitUntil(
        [&] {
            window = e2e::FindTopLevel(program.Id(), title, kFormClass);
            return Shown(window) || !program.IsRunning();
        },
        kDeadline);
    if (!shown || !Shown(window)) return Fail("the program showed no main window");
    const RECT r = e2e::WindowRect(window);
    std::printf("package_probe: main window %ldx%ld at %ld,%ld\n", r.right - r.left, r.bottom - r.top, r.left,
                r.top);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto code = program.WaitForExit(kDeadline);
    if (!code) return Fail("the program did not end on WM_CLOSE");
    if (*code != 0) return Fail("the program ended with a non-zero exit code");
    return 0;
}

int Appears(const std::wstring& title)
{
    if (!e2e::WaitUntil([&] { return Shown(FindWindowW(kFormClass, title.c_str())); }, kDeadline))
        return Fail("no running copy showed its main window");
    return 0;
}

bool CopyRunsWithWindow()
{
    return FindWindowW(kApplicationClass, kProduct) != nullptr && CopyRuns();
}

int Runs()
{
    if (!e2e::WaitUntil(CopyRunsWithWindow, kDeadline)) return Fail("no copy is running");
    return 0;
}

int Gone()
{
    if (!e2e::WaitUntil([] { return FindWindowW(kApplicationClass, kProduct) == nullptr && !CopyRuns(); }, kDeadline))
        return Fail("a copy is still running");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"shows" && argc == 3) return StartsAndShows(argv[2]);
    if (mode == L"appears" && argc == 3) return Appears(argv[2]);
    if (mode == L"runs" && argc == 2) return Runs();
    if (mode == L"gone" && argc == 2) return Gone();
    std::printf("usage: package_probe shows TITLE | appears TITLE | runs | gone\n");
    return 2;
}
