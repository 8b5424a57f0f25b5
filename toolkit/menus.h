// Popup menus and their items. Items are components (owned by the form, found
// by name) arranged in a tree under the menu's root item; the menu builds its
// system menu from the tree whenever the tree changes, and runs an item's
// Click when the system reports it chosen (WM_COMMAND with the item's Command
// to the menu's own hidden window).
//
// An item: Caption with "&" before the accelerator letter, or "-" for a
// separator; Default (drawn bold); Enabled; Visible; Checked; a Bitmap shown
// beside the caption, its bottom-left pixel's colour transparent; sub-items;
// an Action it is a client of (see actions.h); OnClick.
//
// Layout code:
//   PopupMenuIcon = CreateComponent<TPopupMenu>(this);
//   OpenMain = CreateComponent<TMenuItem>(this);
//   OpenMain->SetCaption(L"Open &Main Window");
//   OpenMain->SetDefault(true);
//   OpenMain->OnClick = Bind(this, &TFormMain::OpenMainClick);
//   PopupMenuIcon->Items().Add(OpenMain);
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/actions.h"
#include "toolkit/bitmap.h"
#include "toolkit/component.h"
#include "toolkit/darkmenu.h"
#include "toolkit/handles.h"
#include "toolkit/utilwindow.h"

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    // Leaves its parent item; its sub-items lose their parent (their owner
    // frees them).
    ~TMenuItem() override;

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(const std::wstring& value);
    bool IsLine() const noexcept { return caption_ == L"-"; }
    // The menu's default item, drawn bold; run by a double click on a tray icon.
    bool Default() const noexcept { return default_; }
    void SetDefault(bool value);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool value);
    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool value);
    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& value) { hint_ = value; }
    // Copies the bitmap in; an empty one shows none.
    const TBitmap& Bitmap() const noexcept { return bitmap_; }
    void SetBitmap(const TBitmap& value);
    // Shows its bitmap as drawn for dpi.
    void DpiChanged(int dpi) override;

    // Sub-items (not owned: items belong to their component owner).
    std::size_t Count() const noexcept { return items_.size(); }
    TMenuItem* Items(std::size_t index) const
    {
        CheckListIndex(index, items_.size());
        return items_[index];
    }
    void Add(TMenuItem* item);
    // Puts item (taken from its old parent) at index; index Count appends.
    // A larger index raises EListError and changes nothing.
    void Insert(std::size_t index, TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* Parent() const noexcept { return parent_; }
    int MenuIndex() const;
    // The item with this command in this subtree, or null.
    TMenuItem* Find(UINT command);

    // The identifier WM_COMMAND carries when the item is chosen.
    UINT Command() const noexcept { return command_; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);

    // Runs OnClick, or the action when there is none; a disabled item runs nothing.
    virtual void Click();
    TNotifyEvent OnClick;

    // The 32-bit premultiplied copy of Bitmap shown by the system menu (null
    // when there is no bitmap); owned by the item.
    HBITMAP MenuBitmap();

private:
    friend class TPopupMenu;
    friend class TMenuItemLink;
    void Changed();
    void Detach(TMenuItem* item);

    std::wstring caption_;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    std::wstring hint_;
    TBitmap bitmap_;
    TUniqueBitmap menuBitmap_;
    bool menuBitmapStale_ = true;
    std::vector<TMenuItem*> items_;  // not owned
    TMenuItem* parent_ = nullptr;    // not owned
    TPopupMenu* menu_ = nullptr;     // the menu whose root this is; not owned
    UINT command_;
    std::unique_ptr<TActionLink> actionLink_;
};

struct TMenuHandleTraits {
    static HMENU Invalid() noexcept { return nullptr; }
    static bool IsValid(HMENU h) noexcept { return h != nullptr; }
    static void Close(HMENU h) noexcept { DestroyMenu(h); }
};
using TUniqueMenu = TUniqueHandle<HMENU, TMenuHandleTraits>;

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The root of the item tree; its sub-items are the menu's items.
    TMenuItem& Items() noexcept { return *items_; }

    // Opened by a tray icon's right click (or a control's) when true.
    bool AutoPopup() const noexcept { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    // Opens mirrored, its items from the right, as in Arabic or Hebrew.
    bool RightToLeft() const noexcept { return rightToLeft_; }
    void SetRightToLeft(bool value) { rightToLeft_ = value; }
    // The component that last opened the menu (not owned), for handlers.
    TComponent* PopupComponent() const noexcept { return popupComponent_; }
    void SetPopupComponent(TComponent* value);

    // The first top-level item that is Default and Enabled, or null.
    TMenuItem* DefaultItem() const;

    // Shows the menu at (x, y) in screen coordinates and returns when it has
    // closed; the chosen item's Click follows through the message loop.
    // Shows the menu at (x, y) until it closes; true when an item was chosen
    // (its click runs once the current handler has returned).
    bool Popup(int x, int y);
    TNotifyEvent OnPopup;

    // The system menu, rebuilt when the items changed.
    HMENU Handle();
    // The hidden window that receives the menu's WM_COMMAND, made on first use.
    HWND WindowHandle();

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    friend class TMenuItem;
    void ItemsChanged();
    // Adds parent's items to menu; drawn by painter when there is one.
    void Build(HMENU menu, TMenuItem& parent, TDarkMenuPainter* painter);
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TMenuItem* items_;  // owned as a component of this menu
    bool autoPopup_ = true;
    bool rightToLeft_ = false;
    TComponent* popupComponent_ = nullptr;  // not owned; cleared on its removal
    TUniqueMenu handle_;
    bool stale_ = true;
    // The menu was built for the dark theme, and is drawn by this painter.
    bool builtDark_ = false;
    TDarkMenuPainter darkPainter_;
    bool showing_ = false;
    std::unique_ptr<TUtilityWindow> window_;
};
