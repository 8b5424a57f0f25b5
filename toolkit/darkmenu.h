// The dark theme's popup menus, drawn by the menu's owner: the system draws
// menus light whatever a window's theme. Each item carries its text the way
// screen readers look for it in an owner-drawn menu (MSAAMENUINFO), and
// access keys are matched here, since the system no longer sees the text.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/handles.h"

class TDarkMenuPainter {
public:
    // Gives menu the dark background, for its sub-menus too.
    void PrepareMenu(HMENU menu);
    // The item data of an item drawn here; valid while this painter lives.
    // bitmap: the item's 32-bit premultiplied picture, or null; not owned.
    ULONG_PTR AddItem(const std::wstring& caption, bool isDefault, bool separator, bool hasSubmenu, HBITMAP bitmap);

    // The owner window's answers to WM_MEASUREITEM, WM_DRAWITEM and
    // WM_MENUCHAR for these menus; false for what is not ours.
    bool Measure(MEASUREITEMSTRUCT& measure);
    bool Draw(const DRAWITEMSTRUCT& draw);
    bool MenuChar(wchar_t ch, HMENU menu, LRESULT& result);

private:
    struct TItem {
        MSAAMENUINFO Accessible;  // first, where a screen reader looks
        std::wstring Caption;
        bool Default;
        bool Separator;
        bool HasSubmenu;
        HBITMAP Bitmap;  // not owned: the menu item keeps it while the menu lives
    };
    static TItem* ItemOf(ULONG_PTR data);
    HFONT Font(bool bold);

    std::vector<std::unique_ptr<TItem>> items_;
    TUniqueBrush background_;
    TUniqueFont font_, boldFont_;
};
