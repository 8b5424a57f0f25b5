#include "toolkit/shell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include <atomic>

#include "toolkit/elevation.h"
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

// The shell's windows, and the desktop's browser service among them.
constexpr CLSID kShellWindowsClass = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr GUID kTopLevelBrowserService = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// Owns one reference to a COM object.
template <class Interface>
class TComRef {
public:
    TComRef() = default;
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    ~TComRef()
    {
        if (object_ != nullptr) object_->Release();
    }
    Interface* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // For a call that hands over a reference; the old one goes first.
    void** Put() noexcept
    {
        if (object_ != nullptr) object_->Release();
        object_ = nullptr;
        return reinterpret_cast<void**>(&object_);
    }
    Interface** PutTyped() noexcept { return reinterpret_cast<Interface**>(Put()); }

private:
    Interface* object_ = nullptr;
};

// COM on this thread for the call, left as it was after; a thread already in
// COM of the other model is fine as it is.
class TComScope {
public:
    TComScope() noexcept
    {
        auto* initialize = OptionalSystemEntry<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        result_ = initialize != nullptr ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_NOTIMPL;
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;
    ~TComScope()
    {
        if (SUCCEEDED(result_)) OptionalSystemEntry<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize")();
    }
    bool Usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_ = E_FAIL;
};

// Asks the desktop's shell, which runs as the signed-in user without
// administrator rights, to open target as a double-click on the desktop
// would: what it starts is its own child and never inherits our token.
// False when this session has no such shell (another shell, or none).
bool DesktopShellOpen(const wchar_t* target) noexcept
{
    const TComScope com;
    if (!com.Usable()) return false;
    auto* create = OptionalSystemEntry<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    auto* allocString = OptionalSystemEntry<decltype(SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    auto* freeString = OptionalSystemEntry<decltype(SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    if (create == nullptr || allocString == nullptr || freeString == nullptr) return false;
    TComRef<IShellWindows> windows;
    if (FAILED(create(kShellWindowsClass, nullptr, CLSCTX_ALL, __uuidof(IShellWindows), windows.Put()))) return false;
    VARIANT nowhere{};  // VT_EMPTY
    long window = 0;
    TComRef<IDispatch> desktop;
    if (windows->FindWindowSW(&nowhere, &nowhere, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.PutTyped()) != S_OK
        || !desktop)
        return false;
    TComRef<IServiceProvider> services;
    TComRef<IShellBrowser> browser;
    TComRef<IShellView> view;
    TComRef<IDispatch> background;
    TComRef<IShellFolderViewDual> folderView;
    TComRef<IDispatch> application;
    TComRef<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(__uuidof(IServiceProvider), services.Put()))
        || FAILED(services->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser), browser.Put()))
        || FAILED(browser->QueryActiveShellView(view.PutTyped())) || !view
        || FAILED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.Put()))
        || FAILED(background->QueryInterface(__uuidof(IShellFolderViewDual), folderView.Put()))
        || FAILED(folderView->get_Application(application.PutTyped())) || !application
        || FAILED(application->QueryInterface(__uuidof(IShellDispatch2), shell.Put())))
        return false;
    const BSTR file = allocString(target);
    if (file == nullptr) return false;
    VARIANT none{};
    VARIANT show{};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT opened = shell->ShellExecute(file, none, none, none, show);
    freeString(file);
    return SUCCEEDED(opened);
}

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

bool ShellOpen(const wchar_t* target)
{
    if (ProcessIsElevated()) return DesktopShellOpen(target);
    static auto* const execute = SystemEntry<decltype(ShellExecuteW)>(kShellLibrary, "ShellExecuteW");
    execute(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
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
