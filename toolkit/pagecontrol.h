// TPageControl: the system tab control with its pages. Each TTabSheet is a
// child window filling the page area (the tab control's display rectangle);
// only the active page shows. A page's Caption is its tab's text. Tabs are on
// top; clicking a tab makes its page active.
//
// A page fires OnShow each time it becomes the shown page: by a tab click, by
// ActivePage set in code, and, for the page active when the form finishes
// loading, at the end of loading.
//
// Layout code:
//   PageControlSettings = CreateComponent<TPageControl>(this);
//   PageControlSettings->SetParent(this);
//   TabSheetAbout = CreateComponent<TTabSheet>(this);
//   TabSheetAbout->SetPageControl(PageControlSettings);
//   TabSheetAbout->SetCaption(L"About");
//   load.Fixup([this] { PageControlSettings->SetActivePage(TabSheetSettings); });
#pragma once

#include <functional>
#include <vector>

#include "toolkit/wincontrol.h"

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    long AccessibleRole() const override;
    ~TTabSheet() override;

    // The page control (not owned) it is a page of; also its parent.
    TPageControl* PageControl() const noexcept { return pageControl_; }
    void SetPageControl(TPageControl* value);
    int PageIndex() const;
    void SetPageIndex(int value);

    // Stored for the tab; without an image list on the page control no image shows.
    int ImageIndex() const noexcept { return imageIndex_; }
    void SetImageIndex(int value);

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void TextChanged() override;
    void ParentChanged() override;

private:
    friend class TPageControl;
    void DoShow();
    void DoHide();

    TPageControl* pageControl_ = nullptr;  // not owned
    int imageIndex_ = -1;
};

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    long AccessibleRole() const override;
    std::wstring AccessibleName() const override;
    ~TPageControl() override;

    std::size_t PageCount() const noexcept { return pages_.size(); }
    TTabSheet* Pages(std::size_t index) const
    {
        CheckListIndex(index, pages_.size());
        return pages_[index];
    }

    TTabSheet* ActivePage() const noexcept { return activePage_; }
    // Shows page (one of this control's, or null for none) and hides the
    // previous one.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The next or previous page, round the end, as a user's Ctrl+Tab or
    // Ctrl+Shift+Tab asks it: OnChanging may refuse it, OnChange follows it,
    // and a focus left on the page that went moves to the tabs.
    void SelectNextPage(bool forward);

    // The tab under the mouse pointer is highlighted.
    bool HotTrack() const noexcept { return hotTrack_; }
    void SetHotTrack(bool value);

    // The page area in client coordinates.
    RECT DisplayRect();
    void AdjustClientRect(RECT& rect) override;

    // A tab click is about to change the page (set allowChange false to refuse);
    // then OnChange once it has.
    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void BoundsChanged(const RECT& oldBounds) override;
    void FontChanged() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTab(TTabSheet* page);
    void RebuildTabs();
    // The dark theme's tabs and page frame, drawn by us.
    void PaintDark(HDC target);
    void LayoutPages();

    std::vector<TTabSheet*> pages_;  // not owned
    TTabSheet* activePage_ = nullptr;  // not owned
    bool hotTrack_ = false;
    bool showPending_ = false;  // the active page was chosen while loading
};
