// The single-instance rule: a named mutex that every copy started by the same
// user sees, and the start options (hide to the tray, run once unattended).
#pragma once

#include <windows.h>

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
