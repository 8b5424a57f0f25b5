#include "toolkit/menus.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/theme.h"

namespace {

// The alpha byte of a fully opaque 32-bpp pixel.
constexpr std::uint32_t kOpaqueAlpha = 0xFF000000u;

// Identifiers of chosen items, unique across the program's menus; 0 means
// "nothing chosen" to the system.
UINT NextCommand()
{
    static UINT next = 0;
    next = next >= 0xFFFF ? 1 : next + 1;
    return next;
}

}  // namespace

// The link between a menu item and its action: like a control's, except that
// the item takes the action's caption while loading only when it has none.
class TMenuItemLink final : public TActionLink {
public:
    TMenuItemLink(TMenuItem* client, TBasicAction* action) : TActionLink(action), client_(client) {}

    void Apply(bool checkDefaults)
    {
        TAction* a = dynamic_cast<TAction*>(LinkedAction());
        if (a == nullptr) return;
        if (!checkDefaults || client_->Caption().empty()) client_->SetCaption(a->Caption());
        if (!checkDefaults || client_->Enabled()) client_->SetEnabled(a->Enabled());
        if (!checkDefaults || client_->Visible()) client_->SetVisible(a->Visible());
        if (!checkDefaults || !client_->Checked()) client_->SetChecked(a->Checked());
        if (!checkDefaults || client_->Hint().empty()) client_->SetHint(a->Hint());
    }

    void CaptionChanged(const std::wstring& old) override
    {
        if (client_->Caption() == old) client_->SetCaption(Properties()->Caption());
    }
    void EnabledChanged(bool old) override
    {
        if (client_->Enabled() == old) client_->SetEnabled(Properties()->Enabled());
    }
    void VisibleChanged(bool old) override
    {
        if (client_->Visible() == old) client_->SetVisible(Properties()->Visible());
    }
    void CheckedChanged(bool old) override
    {
        if (client_->Checked() == old) client_->SetChecked(Properties()->Checked());
    }
    void HintChanged(const std::wstring& old) override
    {
        if (client_->Hint() == old) client_->SetHint(Properties()->Hint());
    }
    void ActionDestroyed() override { client_->actionLink_.reset(); }

private:
    TAction* Properties() const { return static_cast<TAction*>(LinkedAction()); }
    TMenuItem* client_;  // not owned: the item owns this link
};

// --- TMenuItem ---

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand())
{
    bitmap_.OnChange = [this](TObject*) {
        menuBitmapStale_ = true;
        Changed();
    };
}

TMenuItem::~TMenuItem()
{
    MarkDestroying();
    actionLink_.reset();
    for (TMenuItem* item : items_) item->parent_ = nullptr;
    items_.clear();
    if (parent_ != nullptr) parent_->Detach(this);
}

void TMenuItem::Changed()
{
    TMenuItem* root = this;
    while (root->parent_ != nullptr) root = root->parent_;
    if (root->menu_ != nullptr) root->menu_->ItemsChanged();
}

void TMenuItem::SetCaption(const std::wstring& value)
{
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value)
{
    if (value == default_) return;
    default_ = value;
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value)
{
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value)
{
    if (value == checked_) return;
    checked_ = value;
    Changed();
}

void TMenuItem::SetBitmap(const TBitmap& value)
{
    bitmap_.Assign(value);  // OnChange marks the menu copy stale
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(items_.size(), item);
}

void TMenuItem::Insert(std::size_t index, TMenuItem* item)
{
    if (item == nullptr) return;
    CheckListIndex(index, items_.size() + 1);
    for (TMenuItem* p = this; p != nullptr; p = p->parent_)
        if (p == item) throw EInvalidOperation(L"A menu item cannot contain itself");
    if (item->parent_ != nullptr) item->parent_->Detach(item);
    index = std::min(index, items_.size());  // moving within this item shortened the list
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    if (item == nullptr || item->parent_ != this) return;
    Detach(item);
}

void TMenuItem::Detach(TMenuItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
    if (!IsDestroying()) Changed();
}

int TMenuItem::MenuIndex() const
{
    if (parent_ == nullptr) return -1;
    const auto& items = parent_->items_;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

TMenuItem* TMenuItem::Find(UINT command)
{
    if (command_ == command && parent_ != nullptr) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->Find(command)) return found;
    return nullptr;
}

TBasicAction* TMenuItem::Action() const
{
    return actionLink_ ? actionLink_->LinkedAction() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* action)
{
    if (action == Action()) return;
    actionLink_.reset();
    if (action == nullptr) return;
    auto link = std::make_unique<TMenuItemLink>(this, action);
    link->Apply(IsLoading());
    actionLink_ = std::move(link);
}

void TMenuItem::Click()
{
    if (!enabled_) return;
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->ExecuteAction();
}

HBITMAP TMenuItem::MenuBitmap()
{
    if (!menuBitmapStale_) return menuBitmap_.Get();
    menuBitmapStale_ = false;
    menuBitmap_.Reset();
    if (bitmap_.Empty()) return nullptr;
    const int w = bitmap_.Width(), h = bitmap_.Height();
    // Menus blend 32-bit bitmaps by their alpha, premultiplied: the
    // transparent colour gets alpha 0, everything else is opaque.
    std::uint32_t* pixels = nullptr;
    TUniqueBitmap copy = CreateDib32(w, h, false, pixels);  // bottom-up, as the menu expects
    const TColor key = bitmap_.TransparentColor();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = bitmap_.Pixel(x, y);
            const std::uint32_t bgr = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
            pixels[static_cast<std::size_t>(h - 1 - y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
                c == key ? 0u : (kOpaqueAlpha | bgr);
        }
    menuBitmap_ = std::move(copy);
    return menuBitmap_.Get();
}

// --- TPopupMenu ---

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner)
{
    items_ = new TMenuItem(this);
    items_->menu_ = this;
}

HWND TPopupMenu::WindowHandle()
{
    // Made for the first popup: a menu that never opens costs no window.
    if (!window_)
        window_ = AllocateHWnd(
            [this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT { return WindowProc(w, m, wp, lp); });
    return window_->Handle();
}

TPopupMenu::~TPopupMenu()
{
    MarkDestroying();
    items_->menu_ = nullptr;
    handle_.Reset();
}

void TPopupMenu::SetPopupComponent(TComponent* value)
{
    if (value == popupComponent_) return;
    // The old link stays: removing it would also cut one the other side made.
    popupComponent_ = value;
    if (popupComponent_ != nullptr) popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

TMenuItem* TPopupMenu::DefaultItem() const
{
    for (TMenuItem* item : items_->items_)
        if (item->Default() && item->Enabled()) return item;
    return nullptr;
}

void TPopupMenu::ItemsChanged()
{
    stale_ = true;
}

void TPopupMenu::Loaded()
{
    TComponent::Loaded();
    stale_ = true;
}

void TPopupMenu::Build(HMENU menu, TMenuItem& parent, TDarkMenuPainter* painter)
{
    UINT position = 0;
    for (TMenuItem* item : parent.items_) {
        if (!item->Visible()) continue;
        std::wstring text = item->Caption();
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
        mii.wID = item->Command();
        if (painter != nullptr) {
            // Drawn by the owner; the text lives in the item's data.
            mii.fMask |= MIIM_DATA;
            mii.dwItemData =
                painter->AddItem(text, item->Default(), item->IsLine(), item->Count() > 0, item->MenuBitmap());
        }
        if (item->IsLine()) {
            mii.fType = MFT_SEPARATOR | (painter != nullptr ? MFT_OWNERDRAW : 0);
        } else {
            mii.fMask |= painter != nullptr ? 0 : MIIM_STRING | MIIM_BITMAP;
            mii.fType = painter != nullptr ? MFT_OWNERDRAW : MFT_STRING;
            mii.dwTypeData = text.data();
            mii.hbmpItem = item->MenuBitmap();
            if (!item->Enabled()) mii.fState |= MFS_DISABLED;
            if (item->Checked()) mii.fState |= MFS_CHECKED;
            if (item->Default()) mii.fState |= MFS_DEFAULT;
            if (item->Count() > 0) {
                TUniqueMenu sub(CreatePopupMenu());
                if (!sub) RaiseLastOSError();
                Build(sub.Get(), *item, painter);
                mii.fMask |= MIIM_SUBMENU;
                mii.hSubMenu = sub.Get();
                if (!InsertMenuItemW(menu, position, TRUE, &mii)) RaiseLastOSError();
                sub.Release();  // the parent menu destroys it now
                ++position;
                continue;
            }
        }
        if (!InsertMenuItemW(menu, position, TRUE, &mii)) RaiseLastOSError();
        ++position;
    }
}

HMENU TPopupMenu::Handle()
{
    // The menu on screen is never pulled away from under the system.
    if ((stale_ || !handle_ || builtDark_ != DarkTheme()) && !showing_) {
        TUniqueMenu menu(CreatePopupMenu());
        if (!menu) RaiseLastOSError();
        const bool dark = DarkTheme();
        TDarkMenuPainter painter;
        Build(menu.Get(), *items_, dark ? &painter : nullptr);
        if (dark) painter.PrepareMenu(menu.Get());
        // The old menu goes before the data its items point to.
        handle_ = std::move(menu);
        darkPainter_ = std::move(painter);
        builtDark_ = dark;
        stale_ = false;
    }
    return handle_.Get();
}

bool TPopupMenu::Popup(int x, int y)
{
    Fire(OnPopup, this);
    HMENU menu = Handle();
    showing_ = true;
    struct TShowing {
        bool& flag;
        ~TShowing() { flag = false; }
    } showing{showing_};
    // The choice goes to our window as WM_COMMAND, as the menu itself would
    // send it; asked for here, so that a cancelled menu is known.
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | (rightToLeft_ ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN),
        x, y, WindowHandle(), nullptr));
    if (command == 0) return false;
    PostMessageW(WindowHandle(), WM_COMMAND, command, 0);
    return true;
}

LRESULT TPopupMenu::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM && darkPainter_.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
    if (message == WM_DRAWITEM && darkPainter_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    if (message == WM_MENUCHAR) {
        LRESULT result = 0;
        if (darkPainter_.MenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam), result))
            return result;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {
        if (TMenuItem* item = items_->Find(LOWORD(wParam))) item->Click();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TMenuItem::DpiChanged(int dpi)
{
    if (bitmap_.ReloadArtwork(dpi)) menuBitmapStale_ = true;
}
