// Drives the real program from outside, as a user would: starts Quenfel.exe,
// finds its windows, clicks, presses keys and reads the registry.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// What the program shows and stores, as the tests look for it.
inline constexpr wchar_t kMainTitle[] = L"Quenfel ver 1.5";
inline constexpr wchar_t kFlagKey[] = L"Software\\Quenfel";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The notification icon's callback message, as the shell sends it.
inline constexpr UINT kTrayCallback = 0xB054;

// The program under test: QUENFEL_EXE, or Quenfel.exe two folders above this
// test executable (the build tree's layout).
std::wstring ProgramPath();

// A started copy of the program; ends it on destruction if still running.
class TProcess {
public:
    TProcess() = default;
    TProcess(TProcess&&) noexcept;
    TProcess& operator=(TProcess&&) noexcept;
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    ~TProcess();

    // The program under test, or another copy of it at exe.
    static TProcess Start(const std::wstring& arguments = L"", const std::wstring& exe = ProgramPath());

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool IsRunning() const;
    // The exit code, once the process ended within the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const;
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

// Starts the program into process and waits until its window with this title
// shows and takes input; null when it did not show.
HWND StartAndWaitShown(TProcess& process, const std::wstring& title, const std::wstring& arguments = L"");

// Polls until the condition holds or the timeout passes; returns the last result.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A top-level window of the given process with this exact title (visible or not).
HWND FindTopLevel(DWORD processId, const std::wstring& title, const std::wstring& className = L"");
// A child (any depth) whose window text is exactly text.
HWND FindChildByText(HWND parent, const std::wstring& text);
// The first child (any depth) of this window class, optionally one that
// shows a text.
HWND FindChildByClass(HWND parent, const std::wstring& className, bool withText = false);

RECT WindowRect(HWND window);
int WindowWidth(HWND window);
int WindowHeight(HWND window);
std::wstring WindowText(HWND window);

// A left click (or double click) at a client point, as the window's own
// mouse messages; brings the window to the front first. Keys go through
// SendInput to whatever has the focus.
void ClickAt(HWND window, int clientX, int clientY, bool doubleClick = false);
void ClickCentre(HWND window);
// Opens the settings page with its button, as a user would, and waits for
// the window to widen; the page's windows exist only from then on.
bool OpenSettingsPage(HWND window);
// The window, closed at the width closed, has slid open as far as its
// settings page needs.
bool SettingsOpenFrom(HWND window, int closed);
void PressKey(WORD virtualKey);

// The hidden window of that process that receives the notification icon's
// callbacks; null when there is none (yet).
HWND TrayWindowOf(DWORD processId);
// The shell holds an icon for that window: modifying nothing succeeds only then.
bool IconInTray(HWND window);

// Whether the process has loaded the named library (a file name such as
// L"shell32.dll", any case).
bool ModuleLoaded(HANDLE process, const wchar_t* library);
// The classes of the process's top-level windows, hidden ones too (not
// message-only ones), sorted.
std::vector<std::wstring> TopLevelClasses(DWORD processId);
// Where the process loaded that library from; empty when it has not.
std::wstring LoadedModulePath(HANDLE process, const wchar_t* library);

// Removes the autorun flag and the Run entry, as before a first start.
void ClearAutorunEntries();

// Keeps the amount a run frees, as the settings page would. Its default is
// half the physical memory, which on a large machine is a long run.
void StoreRamToFree(DWORD megabytes);

// The user's run history file (in %LOCALAPPDATA%), and the trigger of each
// run it holds, oldest first ("manual", "alarm", ...); none without a file.
std::wstring HistoryFilePath();
// The history's text, read beside the program's own use of it; empty when
// there is none.
std::string HistoryText();
std::vector<std::string> HistoryTriggers();

// Current-user registry string; nullopt when the key or value is missing.
std::optional<std::wstring> ReadUserString(const std::wstring& keyPath, const std::wstring& valueName);
void WriteUserString(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value);
void DeleteUserValue(const std::wstring& keyPath, const std::wstring& valueName);

} // namespace e2e
