// The shell's services the program uses. shell32 (and the libraries it loads
// in turn) is bound on the first call: a start without the tray icon never
// needs it, and loading it costs a good part of the start-up time.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Shell_NotifyIconW. A NIM_DELETE before any other call answers FALSE without
// loading the shell: no icon of this process can be there. Raises EOSError
// when the shell lacks the call.
bool ShellNotifyIcon(DWORD message, NOTIFYICONDATAW& data);

// Shell_NotifyIconGetRect: where the shell shows the icon of window and id,
// in screen coordinates. False when the shell cannot tell (before Windows 7,
// or an icon it does not show).
bool ShellNotifyIconRect(HWND window, UINT id, RECT& rect);

// Opens a document or web address with the program the user has chosen for
// it, as the signed-in user: from a copy with administrator rights, the
// desktop's shell opens it, so that the program started never holds them.
// False, and nothing opened, when that cannot be done; never opened with
// administrator rights instead. Otherwise the shell's answer is not reported:
// it shows its own errors. Raises EOSError when the shell lacks the call.
bool ShellOpen(const wchar_t* target);

// Starts program with administrator rights (Windows asks the user first, in
// front of owner), returning once it runs; false when the user refused.
// Raises EOSError when it could not be started for another reason.
bool ShellRunAsAdministrator(HWND owner, const std::wstring& program, const std::wstring& arguments);

// The current user's local application-data folder (%LOCALAPPDATA%), without
// a trailing backslash. Raises EOSError when the shell cannot tell it.
std::wstring LocalAppDataFolder();
