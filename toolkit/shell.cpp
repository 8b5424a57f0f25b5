#include "toolkit/shell.h"

#include <atomic>

#include "toolkit/systemlibrary.h"

namespace {

constexpr wchar_t kShellLibrary[] = L"shell32.dll";

// Set once the notification entry has been resolved: only then can an icon
// of this process be in the notification area.
std::atomic<bool> notifyBound{false};

}  // namespace

bool ShellNotifyIcon(DWORD message, NOTIFYICONDATAW& data)
{
    if (message == NIM_DELETE && !notifyBound.load()) return false;
    // A failed lookup is not remembered: the next call tries again.
    static auto* const notify = SystemEntry<decltype(Shell_NotifyIconW)>(kShellLibrary, "Shell_NotifyIconW");
    notifyBound.store(true);
    return notify(message, &data) != FALSE;
}

bool ShellNotifyIconRect(HWND window, UINT id, RECT& rect)
{
    using TGetRect = HRESULT WINAPI(const NOTIFYICONIDENTIFIER*, RECT*);
    TGetRect* getRect = nullptr;
    try {
        static auto* const entry = SystemEntry<TGetRect>(kShellLibrary, "Shell_NotifyIconGetRect");
        getRect = entry;
    } catch (...) {
        return false;  // an older shell: the caller has its own answer
    }
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = id;
    return SUCCEEDED(getRect(&icon, &rect)) && rect.right > rect.left;
}

void ShellOpen(const wchar_t* target)
{
    static auto* const execute = SystemEntry<decltype(ShellExecuteW)>(kShellLibrary, "ShellExecuteW");
    execute(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
}
