// The single-instance rule: a named mutex that every copy started by the same
// user sees, and the start option that hides the window to the tray.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/handles.h"

class TSingleInstance {
public:
    // Creates (or opens) the named mutex, not initially owned.
    explicit TSingleInstance(const std::wstring& name);
    // Another copy created the mutex first.
    bool AlreadyRunning() const noexcept { return alreadyRunning_; }

private:
    TUniqueKernelHandle mutex_;
    bool alreadyRunning_ = false;
};

// The modal warning a second copy shows before it ends.
void ShowAlreadyRunningWarning();

// True when the first command-line argument is exactly "/tray".
bool StartsInTray(const wchar_t* commandLine);
