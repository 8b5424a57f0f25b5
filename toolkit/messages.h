// Message numbers of the toolkit's own and the shape a window procedure sees.
#pragma once

#include <windows.h>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Notifications a parent receives for a child (WM_COMMAND, WM_NOTIFY,
// WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are sent
// back to the child's own object as CN_BASE + the original number, with the
// original parameters. A control handles CN_COMMAND etc. in its WndProc.
inline constexpr UINT CN_BASE = 0xBC00;
// One past the last reflected number: only the system's own messages (below
// WM_USER) are reflected, so the block ends where registered messages begin.
inline constexpr UINT CN_END = CN_BASE + WM_USER;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// The toolkit's private messages, in one table so that no two collide.
// Posted to a form's window to free it once the current handler returned.
inline constexpr UINT CM_RELEASE = WM_APP + 0x3001;
// Posted to the application window by a worker thread: lParam owns a
// heap-allocated std::exception_ptr for the error report.
inline constexpr UINT CM_THREADEXCEPTION = WM_APP + 0x3002;

// The command bits of WM_SYSCOMMAND's wParam; the low four are the system's own.
inline constexpr WPARAM kSysCommandMask = 0xFFF0;
