#include "toolkit/pagecontrol.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/errors.h"
#include "toolkit/graphics.h"
#include "toolkit/handles.h"
#include "toolkit/paintbuffer.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"

// --- TTabSheet ---

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks);
    SetVisible(false);  // the page control shows its active page only
}

TTabSheet::~TTabSheet()
{
    MarkDestroying();
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    pageControl_ = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* value)
{
    SetParent(value);  // ParentChanged joins or leaves the page list
}

void TTabSheet::ParentChanged()
{
    TWinControl::ParentChanged();
    auto* control = dynamic_cast<TPageControl*>(Parent());
    if (control == pageControl_) return;
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    pageControl_ = control;
    if (pageControl_ != nullptr) pageControl_->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (pageControl_ == nullptr) return -1;
    const auto& pages = pageControl_->pages_;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int value)
{
    if (pageControl_ != nullptr) pageControl_->MovePage(this, value);
}

void TTabSheet::SetImageIndex(int value)
{
    if (value == imageIndex_) return;
    imageIndex_ = value;
    if (pageControl_ != nullptr) pageControl_->UpdateTab(this);
}

void TTabSheet::TextChanged()
{
    TWinControl::TextChanged();
    if (pageControl_ != nullptr) pageControl_->UpdateTab(this);
}

void TTabSheet::DoShow()
{
    Fire(OnShow, this);
}

void TTabSheet::DoHide()
{
    Fire(OnHide, this);
}

// --- TPageControl ---

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner)
{
    // The tab control tracks its own clicks; no capture of ours in between.
    SetControlStyle(csAcceptsControls | csDoubleClicks);
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TPageControl::~TPageControl()
{
    MarkDestroying();
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = WC_TABCONTROLW;
    p.SystemClass = true;
    p.CommonControlClasses = ICC_TAB_CLASSES;
    p.Style |= WS_CLIPCHILDREN | TCS_TABS | TCS_SINGLELINE;
    if (hotTrack_) p.Style |= TCS_HOTTRACK;
}

void TPageControl::CreateWnd()
{
    TWinControl::CreateWnd();
    RebuildTabs();
}

void TPageControl::RebuildTabs()
{
    if (!HandleAllocated()) return;
    HWND h = WindowHandle();
    SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        std::wstring text = pages_[i]->Caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text.data();
        item.iImage = pages_[i]->ImageIndex();
        SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    LayoutPages();
}

void TPageControl::UpdateTab(TTabSheet* page)
{
    const int index = page->PageIndex();
    if (!HandleAllocated() || index < 0) return;
    std::wstring text = page->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = page->ImageIndex();
    SendMessageW(WindowHandle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    LayoutPages();  // wider tabs may wrap onto another row
}

void TPageControl::InsertPage(TTabSheet* page)
{
    pages_.push_back(page);
    page->SetVisible(false);
    RebuildTabs();
    LayoutPages();
    if (activePage_ == nullptr && !IsLoading()) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const auto index = static_cast<std::size_t>(it - pages_.begin());
    pages_.erase(it);
    if (activePage_ == page) {
        activePage_ = nullptr;
        if (!IsDestroying() && !pages_.empty()) SetActivePage(pages_[std::min(index, pages_.size() - 1)]);
    }
    if (!IsDestroying()) RebuildTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(pages_.size())));
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(at), page);
    RebuildTabs();
}

int TPageControl::ActivePageIndex() const
{
    return activePage_ != nullptr ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= pages_.size())
        SetActivePage(nullptr);
    else
        SetActivePage(pages_[static_cast<std::size_t>(index)]);
}

void TPageControl::SelectNextPage(bool forward)
{
    if (pages_.empty()) return;
    const int n = static_cast<int>(pages_.size());
    const int index = (ActivePageIndex() + (forward ? 1 : n - 1)) % n;
    TTabSheet* old = activePage_;
    if (pages_[static_cast<std::size_t>(index)] == old) return;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    const HWND focus = GetFocus();
    const bool focusWent = old != nullptr && old->HandleAllocated() && focus != nullptr &&
                           IsChild(old->WindowHandle(), focus);
    std::weak_ptr<int> alive = lifeToken_;
    SetActivePageIndex(index);
    if (alive.expired()) return;
    if (focusWent && CanFocus()) SetFocus();
    Fire(OnChange, this);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page != nullptr && page->pageControl_ != this) return;
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    // The new page goes up before the old one goes, so nothing flashes between.
    if (page != nullptr) {
        const RECT r = DisplayRect();
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        page->SetVisible(true);
    }
    std::weak_ptr<int> alive = lifeToken_;
    if (old != nullptr) {
        old->SetVisible(false);
        old->DoHide();
        if (alive.expired() || activePage_ != page) return;
    }
    if (page != nullptr) {
        if (IsLoading())
            showPending_ = true;
        else
            page->DoShow();
    }
}

void TPageControl::Loaded()
{
    TWinControl::Loaded();
    if (activePage_ == nullptr) {
        if (!pages_.empty()) SetActivePage(pages_.front());
    } else if (showPending_) {
        showPending_ = false;
        activePage_->DoShow();
    }
}

void TPageControl::SetHotTrack(bool value)
{
    if (value == hotTrack_) return;
    hotTrack_ = value;
    if (HandleAllocated()) {
        LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
        style = value ? (style | TCS_HOTTRACK) : (style & ~static_cast<LONG_PTR>(TCS_HOTTRACK));
        SetWindowLongPtrW(WindowHandle(), GWL_STYLE, style);
    }
}

RECT TPageControl::DisplayRect()
{
    RECT r{0, 0, Width(), Height()};
    if (HandleAllocated()) {
        GetClientRect(WindowHandle(), &r);
        SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // Until the window exists: one row of tabs as tall as the font plus the
    // tab's padding, and the frame around the page.
    TWindowDC dc(nullptr);
    TSelectObject select(dc.Get(), Font().Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    r.left += 4;
    r.top += tm.tmHeight + 11;
    r.right -= 4;
    r.bottom -= 4;
    return r;
}

void TPageControl::AdjustClientRect(RECT& rect)
{
    rect = DisplayRect();
}

void TPageControl::LayoutPages()
{
    const RECT r = DisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::BoundsChanged(const RECT& oldBounds)
{
    TWinControl::BoundsChanged(oldBounds);
    if (oldBounds.right - oldBounds.left != Width() || oldBounds.bottom - oldBounds.top != Height()) LayoutPages();
}

void TPageControl::FontChanged()
{
    TWinControl::FontChanged();
    LayoutPages();
}

void TPageControl::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
        switch (header->code) {
        case TCN_SELCHANGING: {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            m.Result = allow ? FALSE : TRUE;
            return;
        }
        case TCN_SELCHANGE: {
            std::weak_ptr<int> alive = lifeToken_;
            SetActivePageIndex(static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0)));
            if (!alive.expired()) Fire(OnChange, this);
            m.Result = 0;
            return;
        }
        default:
            break;
        }
    }
    if (m.Msg == WM_SIZE) {
        TWinControl::WndProc(m);
        LayoutPages();
        return;
    }
    if (DarkTheme() && (m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT || m.Msg == WM_ERASEBKGND)) {
        // The tab control has no dark look of its own: drawn here, over the
        // same places it reports for its tabs and its page.
        if (m.Msg == WM_PAINT) {
            TPaintDC dc(WindowHandle());
            PaintDark(dc.Get());
        } else if (m.Msg == WM_PRINTCLIENT) {
            PaintDark(reinterpret_cast<HDC>(m.WParam));
        }
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

void TPageControl::PaintDark(HDC target)
{
    HWND h = WindowHandle();
    RECT client{};
    GetClientRect(h, &client);
    TPaintBuffer buffer(target, client);
    HDC dc = buffer.DC();
    ::FillRect(dc, &client, ColorBrush());

    RECT page = client;
    SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    // The page's frame sits just outside the area the pages fill.
    RECT frame{client.left, page.top - 2, client.right, client.bottom};
    DrawThemedEdge(dc, frame, EDGE_SUNKEN, BF_RECT);

    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(ShownFontColor()));
    POINT cursor{};
    GetCursorPos(&cursor);
    ::ScreenToClient(h, &cursor);
    TCHITTESTINFO hit{cursor, 0};
    const int hot = static_cast<int>(SendMessageW(h, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const int selected = static_cast<int>(SendMessageW(h, TCM_GETCURSEL, 0, 0));
    const int count = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT tab{};
        if (!SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab))) continue;
        // The chosen tab stands out as the system's does: larger, and one
        // with the page below it.
        if (i == selected) {
            InflateRect(&tab, 2, 0);
            tab.top -= 2;
            tab.bottom += 1;
        }
        FillThemed(dc, tab, i == selected ? COLOR_WINDOW : i == hot ? COLOR_3DLIGHT : COLOR_BTNFACE);
        RECT edge = tab;
        DrawThemedEdge(dc, edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        const std::wstring& text = pages_.at(static_cast<std::size_t>(i))->Caption();
        RECT textRect = tab;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_HIDEPREFIX);
        if (i == selected && GetFocus() == h) {
            InflateRect(&textRect, -3, -3);
            DrawFocusRect(dc, &textRect);
        }
    }
    buffer.Flush();
}
