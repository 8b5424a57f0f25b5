#include "toolkit/bitmap.h"

#include <algorithm>
#include <cstring>

#include "toolkit/artworkscale.h"
#include "toolkit/errors.h"

TUniqueBitmap CreateDib32(int width, int height, bool topDown, std::uint32_t*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    SetLastError(ERROR_SUCCESS);
    TUniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || pixels == nullptr) {
        if (GetLastError() == ERROR_SUCCESS) throw EOutOfMemory();
        RaiseGdiError(L"CreateDIBSection");
    }
    bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    canvas_.SetHandle(nullptr);
    if (dc_ && oldBitmap_ != nullptr) SelectObject(dc_->Get(), oldBitmap_);
}

void TBitmap::Changed()
{
    Fire(OnChange, this);
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0) throw EInvalidGraphic(L"Bitmap size is not valid");
    if (width == width_ && height == height_) return;
    canvas_.SetHandle(nullptr);
    if (dc_ && oldBitmap_ != nullptr) SelectObject(dc_->Get(), oldBitmap_);
    oldBitmap_ = nullptr;
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    if (width > 0 && height > 0) {
        bitmap_ = CreateDib32(width, height, true, bits_);
        const HBITMAP bitmap = bitmap_.Get();
        // White with a zero fourth byte, as GDI itself writes pixels: a
        // transparent-colour comparison must not trip over that byte.
        std::fill(bits_, bits_ + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0x00FFFFFFu);
        if (!dc_) dc_ = std::make_unique<TMemoryDC>();
        oldBitmap_ = SelectObject(dc_->Get(), bitmap);
        CheckGdi(oldBitmap_ != nullptr && oldBitmap_ != HGDI_ERROR, L"SelectObject");
        width_ = width;
        height_ = height;
        canvas_.SetHandle(dc_->Get());
    }
    Changed();
}

TCanvas& TBitmap::Canvas()
{
    if (Empty()) throw EInvalidGraphic(L"Bitmap is empty");
    return canvas_;
}

void TBitmap::SetTransparent(bool value)
{
    if (value == transparent_) return;
    transparent_ = value;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (hasTransparentColor_ || Empty()) return transparentColor_;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor value)
{
    hasTransparentColor_ = true;
    transparentColor_ = value;
    Changed();
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) throw ERangeError();
    GdiFlush();  // drawing calls may still be queued
    const std::uint32_t bgrx = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x];
    // Memory holds blue, green, red; a TColor holds red in its low byte.
    return static_cast<TColor>(((bgrx >> 16) & 0xFF) | (bgrx & 0xFF00) | ((bgrx & 0xFF) << 16));
}

void TBitmap::Fill(const RECT& r, TColor color)
{
    const int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, width_);
    const int top = std::max<int>(r.top, 0), bottom = std::min<int>(r.bottom, height_);
    if (left >= right || top >= bottom) return;
    GdiFlush();  // drawing calls still queued must land first
    const COLORREF rgb = ColorToRGB(color);
    // Memory holds blue, green, red and a zero fourth byte, as GDI writes them.
    const std::uint32_t bgrx = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        std::fill(row + left, row + right, bgrx);
    }
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this) return;
    SetSize(0, 0);
    transparent_ = source.transparent_;
    hasTransparentColor_ = source.hasTransparentColor_;
    transparentColor_ = source.transparentColor_;
    artwork_ = source.artwork_;
    if (!source.Empty()) {
        SetSize(source.width_, source.height_);
        GdiFlush();
        std::memcpy(bits_, source.bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    }
    Changed();
}

void TBitmap::LoadFromHandle(HBITMAP source)
{
    BITMAP info{};
    if (source == nullptr || GetObjectW(source, sizeof(info), &info) == 0)
        throw EInvalidGraphic(L"Bitmap image is not valid");
    artwork_ = {};
    SetSize(0, 0);
    SetSize(info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    if (Empty()) return;
    TMemoryDC sourceDC(dc_->Get());
    TSelectObject select(sourceDC.Get(), source);
    CheckGdi(BitBlt(dc_->Get(), 0, 0, width_, height_, sourceDC.Get(), 0, 0, SRCCOPY) != FALSE, L"BitBlt");
    Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name)
{
    TUniqueBitmap loaded(static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) RaiseLastOSError();
    LoadFromHandle(loaded.Get());
}

void TBitmap::LoadArtworkResource(const wchar_t* scaled, const wchar_t* plain)
{
    TUniqueBitmap loaded(static_cast<HBITMAP>(LoadImageW(artwork_.instance, scaled, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded && scaled != plain)
        loaded.Reset(static_cast<HBITMAP>(LoadImageW(artwork_.instance, plain, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) RaiseLastOSError();
    const TArtwork keep = artwork_;
    LoadFromHandle(loaded.Get());
    artwork_ = keep;
}

void TBitmap::LoadArtwork(HINSTANCE instance, int id, int dpi)
{
    artwork_ = {instance, id, {}, ArtworkScale(dpi)};
    LoadArtworkResource(MAKEINTRESOURCEW(ArtworkResourceId(id, dpi)), MAKEINTRESOURCEW(id));
}

void TBitmap::LoadArtwork(HINSTANCE instance, const std::wstring& name, int dpi)
{
    artwork_ = {instance, 0, name, ArtworkScale(dpi)};
    const std::wstring scaled = ArtworkResourceName(name, dpi);
    LoadArtworkResource(scaled.c_str(), name.c_str());
}

bool TBitmap::ReloadArtwork(int dpi)
{
    if (artwork_.scale == 0 || artwork_.scale == ArtworkScale(dpi)) return false;
    if (artwork_.name.empty())
        LoadArtwork(artwork_.instance, artwork_.id, dpi);
    else
        LoadArtwork(artwork_.instance, artwork_.name, dpi);
    return true;
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    TUniqueBitmap loaded(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) RaiseLastOSError();
    LoadFromHandle(loaded.Get());
}

void TBitmap::MirrorHorizontally()
{
    if (bits_ == nullptr) return;
    // Whatever GDI still has queued for the DIB lands before the pixels move.
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
        std::uint32_t* row = bits_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        std::reverse(row, row + width_);
    }
}
