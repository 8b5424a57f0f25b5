#include "toolkit/darkmenu.h"

#include <algorithm>

#include "toolkit/accelkey.h"
#include "toolkit/errors.h"
#include "toolkit/graphics.h"
#include "toolkit/handles.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"

namespace {

// Room around an item's text, and the column for a check mark or arrow,
// in pixels at 96 dpi as the system's own menus leave it.
constexpr int kPadding = 4, kMarkColumn = 20, kSeparatorHeight = 7;

int ForDpi(int pixels)
{
    return MulDiv(pixels, ScreenPixelsPerInch(), 96);
}

// A premultiplied 32-bit picture centred in r, blended as the system's menus do.
void DrawPicture(HDC dc, HBITMAP bitmap, const RECT& r)
{
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) return;
    TMemoryDC source(dc);
    TSelectObject select(source.Get(), bitmap);
    const int x = (r.left + r.right - info.bmWidth) / 2, y = (r.top + r.bottom - info.bmHeight) / 2;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, info.bmWidth, info.bmHeight, blend);
}

}  // namespace

void TDarkMenuPainter::PrepareMenu(HMENU menu)
{
    if (!background_) {
        background_.Reset(CreateSolidBrush(ThemeSystemColor(COLOR_MENU)));
        CheckGdi(background_.Get() != nullptr, L"CreateSolidBrush");
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = background_.Get();
    SetMenuInfo(menu, &info);  // a menu without it still reads: only its margins stay light
}

ULONG_PTR TDarkMenuPainter::AddItem(const std::wstring& caption, bool isDefault, bool separator, bool hasSubmenu,
                                    HBITMAP bitmap)
{
    auto item = std::make_unique<TItem>();
    item->Caption = caption;
    item->Default = isDefault;
    item->Separator = separator;
    item->HasSubmenu = hasSubmenu;
    item->Bitmap = bitmap;
    item->Accessible.dwMSAASignature = MSAA_MENU_SIG;
    item->Accessible.cchWText = static_cast<DWORD>(item->Caption.size());
    item->Accessible.pszWText = item->Caption.data();
    items_.push_back(std::move(item));
    return reinterpret_cast<ULONG_PTR>(items_.back().get());
}

TDarkMenuPainter::TItem* TDarkMenuPainter::ItemOf(ULONG_PTR data)
{
    auto* item = reinterpret_cast<TItem*>(data);
    return item != nullptr && item->Accessible.dwMSAASignature == MSAA_MENU_SIG ? item : nullptr;
}

HFONT TDarkMenuPainter::Font(bool bold)
{
    TUniqueFont& font = bold ? boldFont_ : font_;
    if (!font) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMenuFont, &metrics.lfMenuFont);
        if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
        font.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
        CheckGdi(font.Get() != nullptr, L"CreateFontIndirect");
    }
    return font.Get();
}

bool TDarkMenuPainter::Measure(MEASUREITEMSTRUCT& measure)
{
    if (measure.CtlType != ODT_MENU) return false;
    const TItem* item = ItemOf(measure.itemData);
    if (item == nullptr) return false;
    if (item->Separator) {
        measure.itemWidth = 0;
        measure.itemHeight = static_cast<UINT>(ForDpi(kSeparatorHeight));
        return true;
    }
    TWindowDC dc(nullptr);
    RECT text{};
    TSelectObject font(dc.Get(), Font(item->Default));
    DrawTextW(dc.Get(), item->Caption.c_str(), static_cast<int>(item->Caption.size()), &text, DT_SINGLELINE | DT_CALCRECT);
    // The system adds the width of a check mark itself; the arrow's column
    // is ours.
    measure.itemWidth = static_cast<UINT>(text.right + ForDpi(kMarkColumn * 2 + kPadding));
    measure.itemHeight = static_cast<UINT>(std::max<int>(text.bottom + ForDpi(kPadding) * 2 - 2, GetSystemMetrics(SM_CYMENU)));
    return true;
}

bool TDarkMenuPainter::Draw(const DRAWITEMSTRUCT& draw)
{
    if (draw.CtlType != ODT_MENU) return false;
    const TItem* item = ItemOf(draw.itemData);
    if (item == nullptr) return false;
    HDC dc = draw.hDC;
    const RECT r = draw.rcItem;
    const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool hot = (draw.itemState & ODS_SELECTED) != 0 && !grayed;
    FillThemed(dc, r, hot ? COLOR_MENUHILIGHT : COLOR_MENU);
    const int column = ForDpi(kMarkColumn);
    if (item->Separator) {
        const int y = (r.top + r.bottom) / 2;
        FillThemed(dc, {r.left + column, y, r.right - ForDpi(kPadding), y + 1}, COLOR_BTNSHADOW);
        return true;
    }
    const COLORREF ink = ThemeSystemColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    if (item->Bitmap != nullptr && !(draw.itemState & ODS_CHECKED))
        DrawPicture(dc, item->Bitmap, {r.left, r.top, r.left + column, r.bottom});
    if (draw.itemState & ODS_CHECKED) {
        // A tick in the mark column, as the system draws it.
        const int side = std::min(column, static_cast<int>(r.bottom - r.top)) / 2;
        const int x = r.left + (column - side) / 2, y = (r.top + r.bottom - side) / 2;
        TUniquePen pen(CreatePen(PS_SOLID, std::max(1, side / 5), ink));
        CheckGdi(pen.Get() != nullptr, L"CreatePen");
        TSelectObject select(dc, pen.Get());
        const POINT tick[] = {{x, y + side / 2}, {x + side / 3, y + side * 5 / 6}, {x + side, y}};
        Polyline(dc, tick, 3);
    }
    TSelectObject font(dc, Font(item->Default));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text{r.left + column + ForDpi(kPadding), r.top, r.right - column, r.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (draw.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    DrawTextW(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &text, format);
    if (item->HasSubmenu) {
        // Our arrow, in the text's colour; the system's own, drawn after
        // this in the light theme's black, is clipped away.
        const int side = ForDpi(4);
        const int x = r.right - column / 2 - side / 2, y = (r.top + r.bottom) / 2;
        TUniqueBrush inkBrush(CreateSolidBrush(ink));
        TUniquePen inkPen(CreatePen(PS_SOLID, 1, ink));
        CheckGdi(inkBrush.Get() != nullptr && inkPen.Get() != nullptr, L"CreateSolidBrush");
        TSelectObject brush(dc, inkBrush.Get());
        TSelectObject pen(dc, inkPen.Get());
        const POINT arrow[] = {{x, y - side}, {x + side, y}, {x, y + side}};
        Polygon(dc, arrow, 3);
        ExcludeClipRect(dc, r.right - column, r.top, r.right, r.bottom);
    }
    return true;
}

bool TDarkMenuPainter::MenuChar(wchar_t ch, HMENU menu, LRESULT& result)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const TItem* item = ItemOf(info.dwItemData);
        if (item == nullptr || item->Separator || (info.fState & MFS_DISABLED)) continue;
        if (IsAccel(ch, item->Caption)) {
            result = MAKELRESULT(i, MNC_EXECUTE);
            return true;
        }
    }
    return false;
}
