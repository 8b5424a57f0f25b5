// How the installer and the uninstaller end a running copy whatever its
// rights: Windows drops their WM_CLOSE to a copy with administrator rights,
// but lets through a registered message that copy's window accepts.
#pragma once

#include <windows.h>

class TForm;

// The message number, the same in every process of the session; 0 only if
// the system could not register it.
UINT CloseRequestMessage();

// Closes form, as WM_CLOSE on the application window does, when the close
// request comes from any program of the session. Heard until the form's
// hooks on the application window are removed.
void AcceptCloseRequests(TForm& form);
