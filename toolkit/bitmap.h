// An off-screen 32-bit bitmap (a DIB section, top-down) with its own canvas.
// Controls compose their whole face in one and copy it in a single BitBlt.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/graphics.h"

// A 32-bpp DIB section of width × height, top-down (row 0 first in memory)
// or bottom-up; bits receives its pixels. Raises EOutOfMemory, or the
// system's error, when it cannot be made.
TUniqueBitmap CreateDib32(int width, int height, bool topDown, std::uint32_t*& bits);

class TBitmap : public TObject {
public:
    TBitmap();
    ~TBitmap() override;

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
    // New contents are white. A size of 0 in either direction empties it.
    void SetSize(int width, int height);
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }

    // Drawing surface; raises on an empty bitmap.
    TCanvas& Canvas();

    // When set, TCanvas::Draw leaves out the pixels of TransparentColor().
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool value);
    // The key colour: set explicitly, or else the bottom-left pixel's colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);

    // Copies pixels, size and transparency; source may be empty.
    void Assign(const TBitmap& source);
    // Loads a bitmap resource of any colour depth.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // A picture of the program's artwork, as drawn for dpi (artworkscale.h);
    // the bitmap remembers it, and copies of it do, so that a change of dpi
    // can pick the drawn size again. Falls back on the 100 % one.
    void LoadArtwork(HINSTANCE instance, int id, int dpi = 96);
    void LoadArtwork(HINSTANCE instance, const std::wstring& name, int dpi = 96);
    // Loads the artwork it came from as drawn for dpi; false (and nothing
    // changes) when it is no artwork or already that size.
    bool ReloadArtwork(int dpi);
    // Takes a copy of any bitmap handle (the caller keeps its handle).
    void LoadFromHandle(HBITMAP source);
    void Clear() { SetSize(0, 0); }

    // The colour of one pixel, read from memory (0x00BBGGRR); raises out of range.
    TColor Pixel(int x, int y) const;
    // Writes a solid colour straight into the pixels of r (clipped to the
    // bitmap), creating no GDI object: gradients fill one row at a time.
    void Fill(const RECT& r, TColor color);
    // Swaps left and right, in the pixels.
    void MirrorHorizontally();

    HBITMAP Handle() const noexcept { return bitmap_.Get(); }
    HDC DC() const noexcept { return dc_ ? dc_->Get() : nullptr; }

    TNotifyEvent OnChange;

private:
    void Changed();
    void LoadArtworkResource(const wchar_t* scaled, const wchar_t* plain);

    // Where the artwork came from: a module and an identifier or a name.
    struct TArtwork {
        HINSTANCE instance = nullptr;
        int id = 0;
        std::wstring name;
        int scale = 0;  // the drawn size shown, in percent; 0: no artwork
    };

    int width_ = 0;
    int height_ = 0;
    bool transparent_ = false;
    bool hasTransparentColor_ = false;
    TColor transparentColor_ = clWhite;
    std::uint32_t* bits_ = nullptr;  // owned by the DIB section
    TUniqueBitmap bitmap_;
    std::unique_ptr<TMemoryDC> dc_;
    HGDIOBJ oldBitmap_ = nullptr;
    TCanvas canvas_;
    TArtwork artwork_;
};
