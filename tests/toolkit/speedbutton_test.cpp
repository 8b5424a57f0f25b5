#include "toolkit/speedbutton.h"

#include "tests/toolkit/controls_fixture.h"

using enum TButtonState;

namespace {

class SpeedButtonTest : public ToolkitTest {
protected:
    TSpeedButton* MakeButton()
    {
        auto* b = CreateComponent<TSpeedButton>(form.get());
        b->SetParent(form.get());
        b->SetBounds(20, 20, 60, 22);
        b->SetCaption(L"&Go");
        b->OnClick = Note("click");
        return b;
    }
    // Paints the button alone into a bitmap of its size.
    static void Shoot(TSpeedButton* b, TBitmap& shot)
    {
        shot.SetSize(b->Width(), b->Height());
        shot.Canvas().Brush().SetColor(clRed);
        shot.Canvas().FillRect({0, 0, b->Width(), b->Height()});
        b->PaintTo(shot.DC());
    }
};

TEST_F(SpeedButtonTest, PressAndReleaseInsideClicksOnce)
{
    TSpeedButton* b = MakeButton();
    ShowForm();
    HWND host = form->Handle();
    SendMouse(host, WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_EQ(b->State(), bsDown);
    EXPECT_TRUE(b->MouseCapture());
    EXPECT_TRUE(rec.Entries().empty());
    SendMouse(host, WM_LBUTTONUP, 30, 30);
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_FALSE(b->MouseCapture());
    EXPECT_TRUE(rec.Matches({{"click"}}));
}

TEST_F(SpeedButtonTest, DraggingOffLiftsTheButtonAndReleaseOutsideDoesNotClick)
{
    TSpeedButton* b = MakeButton();
    ShowForm();
    HWND host = form->Handle();
    SendMouse(host, WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    SendMouse(host, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    EXPECT_EQ(b->State(), bsUp);
    SendMouse(host, WM_MOUSEMOVE, 31, 30, MK_LBUTTON);
    EXPECT_EQ(b->State(), bsDown);
    SendMouse(host, WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    SendMouse(host, WM_LBUTTONUP, 200, 150);
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_TRUE(rec.Entries().empty());
}

TEST_F(SpeedButtonTest, DisabledButtonsIgnorePressesAndAccelerators)
{
    TSpeedButton* b = MakeButton();
    ShowForm();
    b->SetEnabled(false);
    SendMouse(form->Handle(), WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    SendMouse(form->Handle(), WM_LBUTTONUP, 30, 30);
    EXPECT_FALSE(form->DialogChar(L'g', 0));
    b->SetEnabled(true);
    EXPECT_TRUE(form->DialogChar(L'G', 0));
    EXPECT_TRUE(rec.Matches({{"click"}}));
}

TEST_F(SpeedButtonTest, TheGlyphsBottomLeftColourIsTransparent)
{
    TSpeedButton* b = MakeButton();
    b->SetCaption(L"");
    b->SetFlat(true);
    b->SetBounds(20, 20, 10, 10);
    TBitmap glyph;
    glyph.SetSize(4, 4);  // white, with one blue pixel
    glyph.Canvas().SetPixel(1, 1, clNavy);
    b->SetGlyph(glyph);
    TBitmap shot;
    Shoot(b, shot);
    // Centred: the glyph's corner sits at (3, 3).
    EXPECT_EQ(shot.Pixel(4, 4), clNavy);
    EXPECT_EQ(shot.Pixel(3, 3), clRed);  // transparent flat face: the background shows
    EXPECT_EQ(shot.Pixel(6, 6), clRed);
    // Raised buttons fill their face.
    b->SetFlat(false);
    Shoot(b, shot);
    EXPECT_EQ(shot.Pixel(3, 3), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(shot.Pixel(4, 4), clNavy);
}

TEST_F(SpeedButtonTest, PressedContentMovesAndDisabledGlyphIsEmbossed)
{
    TSpeedButton* b = MakeButton();
    b->SetCaption(L"");
    b->SetFlat(true);
    b->SetTransparent(false);
    b->SetBounds(20, 20, 10, 10);
    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas().SetPixel(1, 1, clNavy);
    b->SetGlyph(glyph);
    ShowForm();
    SendMouse(form->Handle(), WM_LBUTTONDOWN, 25, 25, MK_LBUTTON);
    TBitmap shot;
    Shoot(b, shot);
    EXPECT_EQ(shot.Pixel(5, 5), clNavy);
    SendMouse(form->Handle(), WM_LBUTTONUP, 25, 25);
    b->SetEnabled(false);
    Shoot(b, shot);
    EXPECT_EQ(shot.Pixel(4, 4), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(shot.Pixel(5, 5), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(SpeedButtonTest, GroupedButtonsStayDownOneAtATime)
{
    TSpeedButton* a = MakeButton();
    TSpeedButton* b = MakeButton();
    b->SetLeft(100);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    b->SetDown(false);  // one stays down unless all may be up
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    b->SetDown(false);
    EXPECT_FALSE(b->Down());
}

}  // namespace
