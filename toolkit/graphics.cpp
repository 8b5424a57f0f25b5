#include "toolkit/graphics.h"

#include <cmath>

#include "toolkit/bitmap.h"
#include "toolkit/errors.h"
#include "toolkit/theme.h"

using enum TPenStyle;
using enum TBrushStyle;

COLORREF ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) return ThemeSystemColor(SystemColorIndex(color));
    return static_cast<COLORREF>(color) & kColorRgbBits;
}

void RaiseGdiError(const wchar_t* what)
{
    const DWORD code = GetLastError();
    if (code != ERROR_SUCCESS) RaiseOSError(code);
    throw EInvalidGraphic(std::wstring(what) + L" failed");
}

int ScreenPixelsPerInch()
{
    TWindowDC dc(nullptr);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

// ---- TFont

TFont::TFont() = default;

void TFont::Changed(bool handleChanged)
{
    TUniqueFont old;
    if (handleChanged) old = DetachHandle(handle_);
    Fire(OnChange, this);
}

bool TFont::SameAs(const TFont& o) const
{
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           charset_ == o.charset_;
}

void TFont::Assign(const TFont& source)
{
    if (&source == this || SameAs(source)) return;
    const bool handleChanged = name_ != source.name_ || height_ != source.height_ || style_ != source.style_ ||
                               charset_ != source.charset_;
    name_ = source.name_;
    height_ = source.height_;
    style_ = source.style_;
    color_ = source.color_;
    charset_ = source.charset_;
    Changed(handleChanged);
}

void TFont::SetName(const std::wstring& value)
{
    if (value.empty() || value == name_) return;
    name_ = value;
    Changed(true);
}

void TFont::SetHeight(int value)
{
    if (value == height_) return;
    height_ = value;
    Changed(true);
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == style_) return;
    style_ = value;
    Changed(true);
}

void TFont::SetColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    Changed(false);
}

void TFont::SetCharset(BYTE value)
{
    if (value == charset_) return;
    charset_ = value;
    Changed(true);
}

HFONT TFont::Handle() const
{
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
        lf.lfCharSet = charset_;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;  // nearest sans-serif when the face is missing
        name_.copy(lf.lfFaceName, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectW(&lf);
        CheckGdi(font != nullptr, L"CreateFontIndirect");
        handle_.Reset(font);
    }
    return handle_.Get();
}

// ---- TPen

void TPen::Changed()
{
    const TUniquePen old = DetachHandle(handle_);
    Fire(OnChange, this);
}

void TPen::SetColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    if (value < 0 || value == width_) return;
    width_ = value;
    Changed();
}

void TPen::Assign(const TPen& source)
{
    if (&source == this) return;
    color_ = source.color_;
    style_ = source.style_;
    width_ = source.width_;
    Changed();
}

HPEN TPen::Handle()
{
    const COLORREF rgb = ColorToRGB(color_);
    if (handle_ && rgb != handleRgb_) Changed();  // the user changed a system colour
    if (!handle_) {
        int style = PS_SOLID;
        switch (style_) {
        case psSolid: style = PS_SOLID; break;
        case psDash: style = PS_DASH; break;
        case psDot: style = PS_DOT; break;
        case psClear: style = PS_NULL; break;
        }
        HPEN pen = CreatePen(style, width_, rgb);
        CheckGdi(pen != nullptr, L"CreatePen");
        handle_.Reset(pen);
        handleRgb_ = rgb;
    }
    return handle_.Get();
}

// ---- TBrush

void TBrush::Changed()
{
    const TUniqueBrush old = DetachHandle(handle_);
    Fire(OnChange, this);
}

void TBrush::SetColor(TColor value)
{
    if (value == color_ && style_ == bsSolid) return;
    color_ = value;
    style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TBrush::Assign(const TBrush& source)
{
    if (&source == this) return;
    color_ = source.color_;
    style_ = source.style_;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    const COLORREF rgb = ColorToRGB(color_);
    if (handle_ && rgb != handleRgb_) Changed();  // the user changed a system colour
    if (!handle_) {
        HBRUSH brush = CreateSolidBrush(rgb);
        CheckGdi(brush != nullptr, L"CreateSolidBrush");
        handle_.Reset(brush);
        handleRgb_ = rgb;
    }
    return handle_.Get();
}

// ---- TCanvas

TCanvas::TCanvas()
{
    // A handle about to be deleted leaves the DC first.
    pen_.OnHandleFreeing = [this](TObject*) { Unselect(kPen, oldPen_); };
    brush_.OnHandleFreeing = [this](TObject*) { Unselect(kBrush, oldBrush_); };
    font_.OnHandleFreeing = [this](TObject*) { Unselect(kFont, oldFont_); };
    // A changed object is selected again before the next drawing call (a
    // brush turning clear or solid swaps handles without freeing one).
    pen_.OnChange = [this](TObject*) { selected_ &= static_cast<std::uint8_t>(~kPen); };
    brush_.OnChange = [this](TObject*) { selected_ &= static_cast<std::uint8_t>(~kBrush); };
    font_.OnChange = [this](TObject*) { selected_ &= static_cast<std::uint8_t>(~kFont); };
}

TCanvas::~TCanvas()
{
    Deselect();
}

void TCanvas::Unselect(std::uint8_t what, HGDIOBJ& old) noexcept
{
    if (dc_ != nullptr && old != nullptr) SelectObject(dc_, old);
    old = nullptr;
    selected_ &= static_cast<std::uint8_t>(~what);
}

void TCanvas::Deselect() noexcept
{
    if (dc_ == nullptr) return;
    if (oldPen_ != nullptr) SelectObject(dc_, oldPen_);
    if (oldBrush_ != nullptr) SelectObject(dc_, oldBrush_);
    if (oldFont_ != nullptr) SelectObject(dc_, oldFont_);
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    selected_ = 0;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_) return;
    Deselect();
    dc_ = dc;
}

HDC TCanvas::Handle() const
{
    if (dc_ == nullptr) throw EInvalidOperation(L"Canvas does not allow drawing");
    return dc_;
}

void TCanvas::Require(std::uint8_t what)
{
    HDC dc = Handle();
    auto select = [dc](HGDIOBJ object, HGDIOBJ& old) {
        HGDIOBJ previous = SelectObject(dc, object);
        CheckGdi(previous != nullptr && previous != HGDI_ERROR, L"SelectObject");
        if (old == nullptr) old = previous;
    };
    if ((what & kPen) && !(selected_ & kPen)) {
        select(pen_.Handle(), oldPen_);
        selected_ |= kPen;
    }
    if ((what & kBrush) && !(selected_ & kBrush)) {
        select(brush_.Handle(), oldBrush_);
        selected_ |= kBrush;
    }
    if ((what & kFont) && !(selected_ & kFont)) {
        select(font_.Handle(), oldFont_);
        selected_ |= kFont;
    }
    if (what & kFont) {
        SetTextColor(dc, ColorToRGB(font_.Color()));
        if (brush_.Style() == bsClear) {
            SetBkMode(dc, TRANSPARENT);
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, ColorToRGB(brush_.Color()));
        }
    }
}

void TCanvas::MoveTo(int x, int y)
{
    Require(0);
    CheckGdi(MoveToEx(Handle(), x, y, nullptr) != FALSE, L"MoveToEx");
}

void TCanvas::LineTo(int x, int y)
{
    Require(kPen);
    CheckGdi(::LineTo(Handle(), x, y) != FALSE, L"LineTo");
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Require(kPen | kBrush);
    CheckGdi(::Rectangle(Handle(), left, top, right, bottom) != FALSE, L"Rectangle");
}

void TCanvas::FillRect(const RECT& r)
{
    Require(kBrush);
    if (brush_.Style() == bsClear) return;
    CheckGdi(::FillRect(Handle(), &r, brush_.Handle()) != 0, L"FillRect");
}

void TCanvas::FrameRect(const RECT& r)
{
    Require(kBrush);
    if (brush_.Style() == bsClear) return;
    CheckGdi(::FrameRect(Handle(), &r, brush_.Handle()) != 0, L"FrameRect");
}

void TCanvas::DrawFocusRect(const RECT& r)
{
    Require(kBrush);
    CheckGdi(::DrawFocusRect(Handle(), &r) != FALSE, L"DrawFocusRect");
}

SIZE TCanvas::TextExtent(const std::wstring& text)
{
    Require(kFont);
    SIZE size{};
    CheckGdi(GetTextExtentPoint32W(Handle(), text.c_str(), static_cast<int>(text.size()), &size) != FALSE,
             L"GetTextExtentPoint32");
    return size;
}

int TCanvas::DrawText(const std::wstring& text, RECT& rect, UINT format)
{
    Require(kFont | kBrush);
    const int height = ::DrawTextW(Handle(), text.c_str(), static_cast<int>(text.size()), &rect, format);
    if (height == 0 && !text.empty()) RaiseGdiError(L"DrawText");
    return height;
}

void TCanvas::DrawDisabledText(const std::wstring& text, const RECT& rect, UINT format)
{
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    font_.SetColor(clBtnHighlight);
    DrawText(text, shifted, format);
    RECT top = rect;
    font_.SetColor(clBtnShadow);
    DrawText(text, top, format);
}

TColor TCanvas::Pixels(int x, int y)
{
    Require(0);
    const COLORREF c = GetPixel(Handle(), x, y);
    if (c == CLR_INVALID) return clNone;  // outside the clip region: no pixel to read
    return static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Require(0);
    ::SetPixelV(Handle(), x, y, ColorToRGB(color));
}

namespace {

// Copies the bitmap but for the pixels of its transparent colour, with gdi32
// alone: the library with the one-call colour-keyed copy costs start-up time
// for nothing else.
void DrawKeyed(HDC dc, int x, int y, const TBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    HDC source = bitmap.DC();
    // Monochrome, 1 where the source has the key: a copy to one bit per pixel
    // turns the source's background colour into 1 and every other into 0.
    TUniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    if (!mask) RaiseGdiError(L"CreateBitmap");
    {
        TMemoryDC maskDC(source);
        TSelectObject selected(maskDC.Get(), mask.Get());
        const COLORREF oldBack = SetBkColor(source, ColorToRGB(bitmap.TransparentColor()));
        const bool made = BitBlt(maskDC.Get(), 0, 0, w, h, source, 0, 0, SRCCOPY) != FALSE;
        SetBkColor(source, oldBack);
        CheckGdi(made, L"BitBlt");
    }
    // The mask must be out of every DC before MaskBlt selects it itself.
    // Mask 1 keeps the destination, 0 takes the source.
    constexpr DWORD kKeepDestination = 0x00AA0029;
    CheckGdi(MaskBlt(dc, x, y, w, h, source, 0, 0, mask.Get(), 0, 0, MAKEROP4(kKeepDestination, SRCCOPY)) != FALSE,
             L"MaskBlt");
}

}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    if (bitmap.Empty()) return;
    Require(0);
    HDC dc = Handle();
    if (bitmap.Transparent()) {
        DrawKeyed(dc, x, y, bitmap);
    } else {
        CheckGdi(BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY) != FALSE, L"BitBlt");
    }
}

