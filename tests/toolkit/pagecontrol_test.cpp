#include "toolkit/pagecontrol.h"

#include <commctrl.h>

#include "tests/toolkit/controls_fixture.h"
#include "toolkit/bitmap.h"
#include "toolkit/loader.h"

namespace {

class PageControlTest : public ToolkitTest {
protected:
    // The settings window's page control: "Settings" active, "About" with an image index.
    void Load()
    {
        TLoadSession load(form.get());
        pages = CreateComponent<TPageControl>(form.get());
        pages->SetParent(form.get());
        pages->SetBounds(10, 10, 331, 286);
        pages->SetHotTrack(true);
        settings = CreateComponent<TTabSheet>(form.get());
        settings->SetPageControl(pages);
        settings->SetCaption(L"Settings");
        about = CreateComponent<TTabSheet>(form.get());
        about->SetPageControl(pages);
        about->SetCaption(L"About");
        about->SetImageIndex(1);
        settings->OnShow = Note("settings:show");
        settings->OnHide = Note("settings:hide");
        about->OnShow = Note("about:show");
        about->OnHide = Note("about:hide");
        pages->OnChange = Note("change");
        load.Fixup([this] { pages->SetActivePage(settings); });
        load.Finish();
    }

    TPageControl* pages = nullptr;
    TTabSheet* settings = nullptr;
    TTabSheet* about = nullptr;
};

TEST_F(PageControlTest, TheActivePageShowsOnceLoadedAndOnlyItIsVisible)
{
    Load();
    EXPECT_TRUE(rec.Matches({{"settings:show"}}));
    EXPECT_EQ(pages->ActivePage(), settings);
    ShowForm();
    EXPECT_TRUE(IsWindowVisible(settings->Handle()));
    EXPECT_FALSE(IsWindowVisible(about->Handle()));
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(PageControlTest, ClickingATabSwitchesThePage)
{
    Load();
    ShowForm();
    rec.Flush();
    RECT tab{};
    ASSERT_TRUE(SendMessageW(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab)));
    const int x = (tab.left + tab.right) / 2, y = (tab.top + tab.bottom) / 2;
    SendMouse(pages->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    SendMouse(pages->Handle(), WM_LBUTTONUP, x, y);
    Pump();
    EXPECT_EQ(pages->ActivePage(), about);
    EXPECT_TRUE(IsWindowVisible(about->Handle()));
    EXPECT_FALSE(IsWindowVisible(settings->Handle()));
    EXPECT_TRUE(rec.Matches({{"settings:hide"}, {"about:show"}, {"change"}}));
}

TEST_F(PageControlTest, OnChangingCanRefuseATabClick)
{
    Load();
    ShowForm();
    pages->OnChanging = [](TObject*, bool& allow) { allow = false; };
    rec.Flush();
    RECT tab{};
    SendMessageW(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    SendMouse(pages->Handle(), WM_LBUTTONDOWN, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2, MK_LBUTTON);
    SendMouse(pages->Handle(), WM_LBUTTONUP, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(pages->ActivePage(), settings);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(rec.Entries().empty());
}

TEST_F(PageControlTest, CodeSwitchesShowEveryTimeAndTheSamePageDoesNothing)
{
    Load();
    ShowForm();
    rec.Flush();
    pages->SetActivePage(about);
    pages->SetActivePage(about);
    pages->SetActivePageIndex(0);
    pages->SetActivePage(about);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(rec.Matches({{"settings:hide"}, {"about:show"}, {"about:hide"}, {"settings:show"},
                             {"settings:hide"}, {"about:show"}}));
}

TEST_F(PageControlTest, PagesFillThePageAreaInTheButtonFaceColour)
{
    Load();
    ShowForm();
    RECT area{};
    GetClientRect(pages->Handle(), &area);
    SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const RECT bounds = settings->BoundsRect();
    EXPECT_EQ(bounds.left, area.left);
    EXPECT_EQ(bounds.top, area.top);
    EXPECT_EQ(bounds.right, area.right);
    EXPECT_EQ(bounds.bottom, area.bottom);
    // The page paints its own face.
    TBitmap shot;
    shot.SetSize(settings->Width(), settings->Height());
    SendMessageW(settings->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.DC()), PRF_CLIENT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shot.Pixel(5, 5), static_cast<TColor>(face));
    EXPECT_EQ(shot.Pixel(settings->Width() - 2, settings->Height() - 2), static_cast<TColor>(face));
    // Resizing the control moves the pages with the area.
    pages->SetBounds(10, 10, 250, 200);
    GetClientRect(pages->Handle(), &area);
    SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    EXPECT_EQ(about->Width(), area.right - area.left);
    EXPECT_EQ(about->Height(), area.bottom - area.top);
}

TEST_F(PageControlTest, TabsCarryCaptionsAndImageIndexWithoutAnImageList)
{
    Load();
    HWND h = pages->Handle();
    EXPECT_EQ(SendMessageW(h, TCM_GETIMAGELIST, 0, 0), 0);
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(h, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, L"About");
    EXPECT_EQ(item.iImage, 1);
    about->SetCaption(L"Info");
    SendMessageW(h, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"Info");
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & TCS_HOTTRACK);
}

TEST_F(PageControlTest, DestroyingTheActivePageActivatesANeighbour)
{
    Load();
    ShowForm();
    rec.Flush();
    settings->Free();
    EXPECT_EQ(pages->PageCount(), 1u);
    EXPECT_EQ(pages->ActivePage(), about);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_TRUE(rec.Matches({{"about:show"}}));
}

}  // namespace
