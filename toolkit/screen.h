// The screen: its size and resolution, and the screen cursor, which, while
// set to anything but crDefault, overrides every control's own cursor.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/control.h"

class TScreen : public TObject {
public:
    TCursor Cursor() const noexcept { return cursor_; }
    // Takes effect at once, without waiting for the pointer to move.
    void SetCursor(TCursor value);
    int Width() const;
    int Height() const;
    int PixelsPerInch() const;

    // The system cursor for an identifier (IDC_ARROW for crDefault).
    static HCURSOR CursorHandle(TCursor cursor);

private:
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;

// A face and its height in design units.
struct TFontFace {
    std::wstring Name;
    int DesignHeight;
};
// The system's message font, which Windows picks to have the script of its
// display language (a Japanese Windows gives a Japanese face).
TFontFace MessageFontFace();
