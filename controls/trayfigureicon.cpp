#include "controls/trayfigureicon.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/trayfigure_paint.h"
#include "controls/trayicon.h"
#include "toolkit/bitmap.h"
#include "toolkit/graphics.h"
#include "toolkit/taskbartheme.h"

TUniqueIcon CreateTrayFigureIcon(const TTrayFigureLook& look)
{
    // The painter's bounds, so that the pixels always fill the bitmap.
    TTrayFigureLook bounded = look;
    bounded.Size = std::clamp(look.Size, 1, 256);
    const std::vector<std::uint32_t> pixels = PaintTrayFigure(bounded);
    const int size = bounded.Size;

    std::uint32_t* bits = nullptr;
    TUniqueBitmap color = CreateDib32(size, size, true, bits);  // top-down, as the pixels come
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(pixels[0]));
    GdiFlush();

    // The mask, for a display that ignores alpha: set bits let the taskbar
    // show through where the picture is wholly transparent. Rows are padded
    // to whole 16-bit words.
    const int stride = (size + 15) / 16 * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(stride) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((pixels[static_cast<std::size_t>(y) * size + x] >> 24) == 0)
                maskBits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    TUniqueBitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    if (!mask) RaiseGdiError(L"CreateBitmap");

    // The icon takes copies of both bitmaps; ours go when this returns.
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color.Get();
    info.hbmMask = mask.Get();
    TUniqueIcon icon(CreateIconIndirect(&info));
    if (!icon) RaiseGdiError(L"CreateIconIndirect");
    return icon;
}

void TTrayFigureIcon::ReadSystemSettings()
{
    look_.Size = TrayIconSize(tray_.WindowHandle());
    look_.LightTaskbar = TaskbarUsesLightTheme();
    settingsRead_ = true;
}

void TTrayFigureIcon::Show(const TTrayFigure& figure, TColor normal)
{
    if (!settingsRead_) ReadSystemSettings();
    look_.Figure = figure;
    const auto rgb = static_cast<TColor>(ColorToRGB(normal));  // a system colour as it is now
    look_.NormalRgb = std::uint32_t{ColorRed(rgb)} << 16 | std::uint32_t{ColorGreen(rgb)} << 8 | ColorBlue(rgb);
    Draw();
}

void TTrayFigureIcon::Draw()
{
    if (!rule_.Redraw(look_)) return;
    // A picture that cannot be made is reported once: the rule already takes
    // this look as drawn, so the next tick does not ask again.
    TIcon next;
    next.AdoptHandle(CreateTrayFigureIcon(look_).Release());
    tray_.SetIcon(&next);  // the shell is handed the new picture here
    drawn_.Assign(next);   // and only now does the old one go
}

void TTrayFigureIcon::Stop(const TIcon& still)
{
    if (!Showing()) return;
    tray_.SetIcon(&still);
    drawn_.Clear();
    rule_.Forget();
}

void TTrayFigureIcon::SystemSettingsChanged(UINT message, LPARAM lParam)
{
    if (!settingsRead_) return;  // read afresh when first shown
    look_.Size = TrayIconSize(tray_.WindowHandle());
    if (IsColorSetChange(message, lParam)) look_.LightTaskbar = TaskbarUsesLightTheme();
    if (Showing()) Draw();
}
