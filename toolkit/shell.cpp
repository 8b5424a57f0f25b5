#include "toolkit/shell.h"

#include <atomic>

#include "toolkit/oserror.h"
#include "toolkit/systemlibrary.h"

namespace {

constexpr wchar_t kShellLibrary[] = L"shell32.dll";

// FOLDERID_LocalAppData, spelt out so that no GUID library is needed.
constexpr GUID kLocalAppDataId = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

using TGetKnownFolderPath = HRESULT WINAPI(const GUID&, DWORD, HANDLE, PWSTR*);
using TTaskMemFree = void WINAPI(void*);

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

bool ShellRunAsAdministrator(HWND owner, const std::wstring& program, const std::wstring& arguments)
{
    static auto* const execute = SystemEntry<decltype(ShellExecuteExW)>(kShellLibrary, "ShellExecuteExW");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Returns once the new process runs, so that the caller never leaves
    // before it.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    // Owned, the system's prompt comes to the front rather than behind the
    // windows the user works in.
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (execute(&info)) return true;
    // The user said no at the prompt: nothing to tell.
    if (GetLastError() == ERROR_CANCELLED) return false;
    RaiseLastOSError();
}

std::wstring LocalAppDataFolder()
{
    // A start never needs the folder: the shell is loaded on first use.
    static auto* const getPath = SystemEntry<TGetKnownFolderPath>(kShellLibrary, "SHGetKnownFolderPath");
    PWSTR path = nullptr;
    const HRESULT result = getPath(kLocalAppDataId, 0, nullptr, &path);
    // The shell hands over its buffer even when the call fails.
    std::wstring folder = SUCCEEDED(result) && path != nullptr ? std::wstring(path) : std::wstring();
    // ole32 comes with the shell; bound here so that it is not imported at start.
    static auto* const freeMemory = SystemEntry<TTaskMemFree>(L"ole32.dll", "CoTaskMemFree");
    freeMemory(path);
    if (folder.empty()) RaiseOSError(SUCCEEDED(result) ? ERROR_PATH_NOT_FOUND : static_cast<std::uint32_t>(result));
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}
