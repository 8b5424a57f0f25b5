// Holds a test session's virtual desktop open from the first suite to the
// last. Wine closes a desktop a moment after the last program on it ends;
// the next program's first window then races the new desktop's start, and
// now and then CreateWindowEx fails with no error. One hidden window keeps
// this process on the desktop until the session's server is stopped.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr) == nullptr) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
