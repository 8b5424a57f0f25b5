#include "tests/e2e/driver.h"

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace e2e {

std::wstring ProgramPath()
{
    if (const wchar_t* env = _wgetenv(L"QUENFEL_EXE"); env != nullptr && *env != 0) return env;
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), n);
    for (int up = 0; up < 3; ++up) path.erase(path.find_last_of(L"\\/"));
    return path + L"\\Quenfel.exe";
}

TProcess::TProcess(TProcess&& other) noexcept : info_(other.info_) { other.info_ = {}; }

TProcess& TProcess::operator=(TProcess&& other) noexcept
{
    if (this != &other) {
        Kill();
        info_ = other.info_;
        other.info_ = {};
    }
    return *this;
}

TProcess::~TProcess() { Kill(); }

TProcess TProcess::Start(const std::wstring& arguments, const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    TProcess p;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &p.info_)) {
        p.info_ = {};
    }
    return p;
}

bool TProcess::IsRunning() const
{
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TProcess::WaitForExit(std::chrono::milliseconds timeout) const
{
    if (info_.hProcess == nullptr) return std::nullopt;
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void TProcess::Kill()
{
    if (info_.hProcess != nullptr) {
        if (IsRunning()) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    info_ = {};
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

HWND StartAndWaitShown(TProcess& process, const std::wstring& title, const std::wstring& arguments)
{
    process = TProcess::Start(arguments);
    // Clicks sent before the loop first waits for input could be lost.
    WaitForInputIdle(process.Handle(), 10000);
    HWND window = nullptr;
    WaitUntil([&] {
        window = FindTopLevel(process.Id(), title);
        return window != nullptr && IsWindowVisible(window);
    });
    return window;
}

namespace {

struct TopLevelSearch {
    DWORD processId;
    const std::wstring* title;
    const std::wstring* className;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId) return TRUE;
    if (WindowText(window) != *search->title) return TRUE;
    if (!search->className->empty()) {
        wchar_t cls[256] = {};
        GetClassNameW(window, cls, 256);
        if (*search->className != cls) return TRUE;
    }
    search->found = window;
    return FALSE;
}

struct ChildSearch {
    const std::wstring* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (WindowText(window) == *search->text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ClassSearch {
    const std::wstring* className;
    bool withText;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ClassSearch*>(data);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpiW(cls, search->className->c_str()) != 0 || (search->withText && GetWindowTextLengthW(window) == 0))
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ClassList {
    DWORD processId;
    std::vector<std::wstring> classes;
};

BOOL CALLBACK CollectClass(HWND window, LPARAM data)
{
    auto* list = reinterpret_cast<ClassList*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t cls[128] = {};
    if (owner == list->processId && GetClassNameW(window, cls, 128) > 0) list->classes.emplace_back(cls);
    return TRUE;
}

} // namespace

HWND FindTopLevel(DWORD processId, const std::wstring& title, const std::wstring& className)
{
    TopLevelSearch search{processId, &title, &className, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::wstring> TopLevelClasses(DWORD processId)
{
    ClassList search{processId, {}};
    EnumWindows(CollectClass, reinterpret_cast<LPARAM>(&search));
    std::sort(search.classes.begin(), search.classes.end());
    return search.classes;
}

HWND FindChildByText(HWND parent, const std::wstring& text)
{
    ChildSearch search{&text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildByClass(HWND parent, const std::wstring& className, bool withText)
{
    ClassSearch search{&className, withText, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

int WindowWidth(HWND window)
{
    const RECT r = WindowRect(window);
    return r.right - r.left;
}

int WindowHeight(HWND window)
{
    const RECT r = WindowRect(window);
    return r.bottom - r.top;
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT through SendMessageTimeout: a busy target must not hang the test.
    wchar_t buffer[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &result);
    return buffer;
}

void ClickAt(HWND window, int clientX, int clientY, bool doubleClick)
{
    // Mouse messages posted to the target's queue, in the order the system
    // would send them: synthetic input (SendInput) is at the mercy of which
    // window the virtual desktop thinks is in front.
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    POINT p{clientX, clientY};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    const LPARAM at = MAKELPARAM(clientX, clientY);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (doubleClick) {
        PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
}

void ClickCentre(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    ClickAt(window, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

void PressKey(WORD virtualKey)
{
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::optional<std::wstring> ReadUserString(const std::wstring& keyPath, const std::wstring& valueName)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, data, &size)
        != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void WriteUserString(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void DeleteUserValue(const std::wstring& keyPath, const std::wstring& valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, valueName.c_str());
    RegCloseKey(key);
}

HWND TrayWindowOf(DWORD processId)
{
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TTrayIconWindow", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"TTrayIconWindow", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == processId) return w;
    }
    return nullptr;
}

bool IconInTray(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool SettingsOpenFrom(HWND window, int closed)
{
    // The design's 336 pixels, and as much more as the page has grown for
    // its texts in this machine's fonts.
    HWND page = FindChildByClass(window, L"SysTabControl32", false);
    return page != nullptr && WindowWidth(window) == closed + 336 + (WindowWidth(page) - 331);
}

bool OpenSettingsPage(HWND window)
{
    const int closed = WindowWidth(window);
    ClickCentre(FindChildByText(window, L"&Settings Menu"));
    return WaitUntil([&] { return SettingsOpenFrom(window, closed); });
}

std::wstring LoadedModulePath(HANDLE process, const wchar_t* library)
{
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    for (;;) {
        const DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!EnumProcessModules(process, modules.data(), bytes, &needed)) return {};
        if (needed <= bytes) break;
        modules.resize(needed / sizeof(HMODULE));
    }
    modules.resize(needed / sizeof(HMODULE));
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, module, name, MAX_PATH) == 0 || lstrcmpiW(name, library) != 0) continue;
        wchar_t path[MAX_PATH] = {};
        if (GetModuleFileNameExW(process, module, path, MAX_PATH) == 0) return name;
        return path;
    }
    return {};
}

bool ModuleLoaded(HANDLE process, const wchar_t* library)
{
    return !LoadedModulePath(process, library).empty();
}

void ClearAutorunEntries()
{
    DeleteUserValue(kFlagKey, L"loadwithwin");
    DeleteUserValue(kRunKey, L"Quenfel");
}

std::wstring HistoryFilePath()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) + L"\\Quenfel\\history.csv" : std::wstring();
}

std::string HistoryText()
{
    HANDLE file = CreateFileW(HistoryFilePath().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

std::vector<std::string> HistoryTriggers()
{
    std::vector<std::string> triggers;
    const std::string text = HistoryText();
    // The second field of every line after the header.
    for (std::size_t at = text.find('\n'); at != std::string::npos && at + 1 < text.size(); at = text.find('\n', at + 1)) {
        const std::size_t start = text.find(',', at) + 1;
        triggers.push_back(text.substr(start, text.find(',', start) - start));
    }
    return triggers;
}

void StoreRamToFree(DWORD megabytes)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kFlagKey, L"RamToFree", REG_DWORD, &megabytes, sizeof megabytes);
}

} // namespace e2e
