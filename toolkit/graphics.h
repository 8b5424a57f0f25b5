// Drawing objects: font, pen, brush and the canvas that draws with them on any
// device context. Each object creates its GDI handle on first use, keeps it
// until a property changes, and raises its OnChange event after every change.
// A pen or brush of a system colour also makes a new handle once the user's
// colour is no longer the one its handle was made with.
// A GDI call that fails raises an error; nothing is ignored.
//
// Windows refuses to delete an object that is still selected into a DC (the
// call fails and the handle leaks), so a changing object first tells the
// canvas that holds it, which puts its original object back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "toolkit/color.h"
#include "toolkit/handles.h"
#include "toolkit/object.h"

class TBitmap;

// A TColor as the system draws it: system colours (top bit set) are resolved
// for the theme in force (see theme.h), explicit ones keep their three low
// bytes.
COLORREF ColorToRGB(TColor color);

// Raises the error of a failed GDI call: the system's message when the call
// left one, otherwise "<what> failed".
[[noreturn]] void RaiseGdiError(const wchar_t* what);
// Raises RaiseGdiError(what) when ok is false.
inline void CheckGdi(bool ok, const wchar_t* what)
{
    if (!ok) RaiseGdiError(what);
}

// The screen's logical pixels per inch (LOGPIXELSY).
int ScreenPixelsPerInch();

// What font, pen and brush share: a change event, and a warning raised just
// before the handle is deleted.
class TGraphicsObject : public TObject {
public:
    TNotifyEvent OnChange;
    // Raised while the old handle still exists, before it is deleted.
    TNotifyEvent OnHandleFreeing;

protected:
    // Detaches the handle for deletion once the change is told: a canvas puts
    // its own object back first, and windows given the font move on to the
    // new one before the old one goes.
    template <class THandle>
    THandle DetachHandle(THandle& handle)
    {
        if (handle) Fire(OnHandleFreeing, this);
        return std::move(handle);
    }
};

using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1u << 0;
inline constexpr TFontStyles fsItalic = 1u << 1;
inline constexpr TFontStyles fsUnderline = 1u << 2;
inline constexpr TFontStyles fsStrikeOut = 1u << 3;

class TFont : public TGraphicsObject {
public:
    TFont();  // "MS Sans Serif", Height -11, no style, clWindowText, DEFAULT_CHARSET
    // Copies every property; raises OnChange when anything differs.
    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    const std::wstring& Name() const noexcept { return name_; }
    void SetName(const std::wstring& value);
    // Pixel height; negative = character height without internal leading.
    int Height() const noexcept { return height_; }
    void SetHeight(int value);
    // Points at the screen's resolution (derived from Height).
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const noexcept { return style_; }
    void SetStyle(TFontStyles value);
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor value);  // colour only: the font handle stays
    BYTE Charset() const noexcept { return charset_; }
    void SetCharset(BYTE value);

    // The font handle, created on first use; owned by this object.
    HFONT Handle() const;

private:
    void Changed(bool handleChanged);

    std::wstring name_ = L"MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    mutable TUniqueFont handle_;
};

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psClear };

class TPen : public TGraphicsObject {
public:
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor value);
    TPenStyle Style() const noexcept { return style_; }
    void SetStyle(TPenStyle value);
    int Width() const noexcept { return width_; }
    void SetWidth(int value);
    void Assign(const TPen& source);
    HPEN Handle();

private:
    void Changed();

    TColor color_ = clBlack;
    TPenStyle style_ = TPenStyle::psSolid;
    int width_ = 1;
    TUniquePen handle_;
    COLORREF handleRgb_ = 0;  // what color_ stood for when handle_ was made
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor value);  // also makes a clear brush solid again
    TBrushStyle Style() const noexcept { return style_; }
    void SetStyle(TBrushStyle value);
    void Assign(const TBrush& source);
    // A solid brush's handle, or the stock hollow brush.
    HBRUSH Handle();

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    TUniqueBrush handle_;
    COLORREF handleRgb_ = 0;  // what color_ stood for when handle_ was made
};

// Draws on a device context it does not own. Its pen, brush and font are
// selected into the DC on first use and deselected when the DC is released,
// so the DC leaves exactly as it came.
class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC to draw on (not owned); null releases the current one.
    void SetHandle(HDC dc);
    HDC Handle() const;  // raises when the canvas has no DC
    bool HandleAllocated() const noexcept { return dc_ != nullptr; }

    TPen& Pen() noexcept { return pen_; }
    TBrush& Brush() noexcept { return brush_; }
    TFont& Font() noexcept { return font_; }

    void MoveTo(int x, int y);
    // Draws to (x, y) leaving out the end point, and moves there.
    void LineTo(int x, int y);
    // Outline with the pen, filled with the brush; right and bottom exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // Fills with the brush, no outline.
    void FillRect(const RECT& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const RECT& r);
    void DrawFocusRect(const RECT& r);

    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    // DrawTextW with its format flags; returns the height of the drawn text.
    // With DT_CALCRECT the rectangle receives the text's extent.
    int DrawText(const std::wstring& text, RECT& rect, UINT format);
    // Disabled text as the system draws it: a highlight one pixel down and
    // right, the shadow colour on top. Leaves the font colour at the shadow.
    void DrawDisabledText(const std::wstring& text, const RECT& rect, UINT format);

    TColor Pixels(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Draws the bitmap at (x, y); with bitmap.Transparent() the pixels of its
    // transparent colour are left out.
    void Draw(int x, int y, const TBitmap& bitmap);

private:
    enum : std::uint8_t { kPen = 1, kBrush = 2, kFont = 4 };
    void Require(std::uint8_t what);
    // Puts the DC's original object of one kind back, so that ours may be deleted.
    void Unselect(std::uint8_t what, HGDIOBJ& old) noexcept;
    void Deselect() noexcept;

    HDC dc_ = nullptr;  // not owned
    std::uint8_t selected_ = 0;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
};
