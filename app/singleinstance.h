// The single-instance rule: a named mutex that every copy started by the same
// user sees, and the start options (hide to the tray, run once unattended).
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/handles.h"

class TSingleInstance {
public:
    // Creates (or opens) the named mutex, not initially owned.
    explicit TSingleInstance(const std::wstring& name);
    // Another copy created the mutex first.
    bool AlreadyRunning() const noexcept { return alreadyRunning_; }
    // Lets go of the lock before the process ends.
    void Release() noexcept { mutex_.Reset(); }

private:
    TUniqueKernelHandle mutex_;
    bool alreadyRunning_ = false;
};

// The modal warning a second copy shows before it ends.
void ShowAlreadyRunningWarning();

// True when the first command-line argument is exactly option.
bool FirstArgumentIs(const wchar_t* commandLine, std::wstring_view option);
// True when the first command-line argument is exactly "/tray".
bool StartsInTray(const wchar_t* commandLine);
// True when the first command-line argument is exactly "/optimize".
bool StartsOptimizing(const wchar_t* commandLine);

// "/takeover PID LEFT TOP": a copy started with administrator rights by the
// copy PID, whose window stood at (LEFT, TOP) with its memory page open. It
// waits for that copy to end, then takes its place.
struct TTakeover {
    std::uint32_t ProcessId = 0;
    int Left = 0;
    int Top = 0;
};
std::wstring TakeoverArguments(const TTakeover& takeover);
std::optional<TTakeover> StartsTakingOver(const wchar_t* commandLine);
// Waits until the process has ended, or the timeout passed; true when it
// ended (or was gone already).
bool WaitForProcessEnd(std::uint32_t processId, std::chrono::milliseconds timeout) noexcept;

// Starts this program with administrator rights (the system asks the user,
// in front of owner) and these arguments; false when the user refused.
// Raises EOSError when it could not be started for another reason.
bool StartElevatedCopy(HWND owner, const std::wstring& arguments);
