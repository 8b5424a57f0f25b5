// The baseline for the idle benchmark: the least a Win32 program with a
// window and a one-second timer can do. Each tick changes one line of text.
// With /readmem each tick also reads the memory status, the one call a
// memory monitor cannot leave out: under Wine it reads three /proc files.
#include <windows.h>

#include <string>

namespace {

int ticks = 0;
bool readMemory = false;

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ++ticks;
        if (readMemory) {
            MEMORYSTATUSEX status{};
            status.dwLength = sizeof status;
            GlobalMemoryStatusEx(&status);
        }
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        const std::wstring text = std::to_wstring(ticks) + L" ticks";
        TextOutW(dc, 8, 8, text.c_str(), static_cast<int>(text.size()));
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MinimalTimerApp";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"Minimal timer program", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, 164, 332, nullptr, nullptr, instance, nullptr);
    const std::wstring arguments = commandLine != nullptr ? commandLine : L"";
    const bool hidden = arguments.find(L"/tray") != std::wstring::npos;
    readMemory = arguments.find(L"/readmem") != std::wstring::npos;
    if (!hidden) ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, 1, 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
