// Painting: graphic and custom controls drawn at once on their surface,
// WM_PRINTCLIENT, and the canvas and bitmap rules the custom controls build on.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fixtures.h"
#include "recorder.h"
#include "toolkit/bitmap.h"
#include "toolkit/errors.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/progressbar.h"
#include "toolkit/speedbutton.h"

namespace {

COLORREF ScreenPixel(HWND window, int x, int y)
{
    TWindowDC dc(window);
    return GetPixel(dc.Get(), x, y);
}

class Painting : public testing::Test {
protected:
    void SetUp() override
    {
        form.reset(NewShownForm());
        Pump();
        UpdateWindow(form->Handle());
    }
    std::unique_ptr<TForm> form;
};

TEST_F(Painting, GraphicControlRepaintDrawsBeforeReturningAndOnlyInsideItself)
{
    auto* swatch = CreateComponent<TSwatch>(form.get());
    swatch->SetBounds(30, 30, 20, 20);
    swatch->SetColor(clNavy);
    swatch->SetParent(form.get());
    Pump();
    UpdateWindow(form->Handle());
    EXPECT_EQ(ScreenPixel(form->Handle(), 40, 40), RGB(0, 0, 128));
    swatch->SetColor(clRed);  // deferred: nothing drawn yet
    ValidateRect(form->Handle(), nullptr);
    EXPECT_EQ(ScreenPixel(form->Handle(), 40, 40), RGB(0, 0, 128));

    const int before = swatch->Paints;
    swatch->Repaint();
    EXPECT_EQ(swatch->Paints, before + 1);
    EXPECT_EQ(ScreenPixel(form->Handle(), 30, 30), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(form->Handle(), 49, 49), RGB(255, 0, 0));
    // The control paints a margin beyond itself; the clip keeps it out.
    EXPECT_EQ(ScreenPixel(form->Handle(), 29, 40), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(form->Handle(), 50, 40), RGB(255, 255, 255));
}

TEST_F(Painting, GraphicControlWithoutParentCannotPaint)
{
    TSwatch orphan(nullptr);
    orphan.SetName(L"Orphan");
    try {
        orphan.Repaint();
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), L"Control 'Orphan' has no parent window");
    }
    orphan.SetVisible(false);
    EXPECT_NO_THROW(orphan.Repaint());  // nothing to show
}

TEST_F(Painting, CustomControlRepaintsAtOnceAndPrintsIntoAnyDC)
{
    auto* panel = CreateComponent<TPanelControl>(form.get());
    panel->SetBounds(100, 50, 60, 40);
    panel->SetColor(clNavy);
    panel->SetParent(form.get());
    auto* swatch = CreateComponent<TSwatch>(form.get());
    swatch->SetBounds(10, 10, 10, 10);
    swatch->SetColor(clRed);
    swatch->SetParent(panel);
    Pump();

    ValidateRect(panel->Handle(), nullptr);
    panel->SetColor(clGray);
    ValidateRect(panel->Handle(), nullptr);
    const int before = panel->Paints;
    panel->Repaint();
    EXPECT_EQ(panel->Paints, before + 1);
    EXPECT_EQ(ScreenPixel(panel->Handle(), 40, 30), RGB(128, 128, 128));
    EXPECT_EQ(ScreenPixel(panel->Handle(), 15, 15), RGB(255, 0, 0));  // graphic child painted too

    // WM_PRINTCLIENT draws the same face into a bitmap of ours.
    TBitmap shot;
    shot.SetSize(60, 40);
    SendMessageW(panel->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.DC()), PRF_CLIENT);
    EXPECT_EQ(shot.Pixel(40, 30), clGray);
    EXPECT_EQ(shot.Pixel(15, 15), clRed);
    EXPECT_EQ(shot.Pixel(9, 15), clGray);

    // Background erasing is answered without drawing anything.
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(shot.DC()), 0), 1);
}

TEST_F(Painting, LabelDocksToTheGroupBoxBottomInsideTheFrame)
{
    auto* box = CreateComponent<TGroupBox>(form.get());
    box->SetBounds(3, 3, 150, 195);
    box->SetParent(form.get());
    auto* label = CreateComponent<TLabel>(form.get());
    label->SetAutoSize(false);
    label->SetHeight(17);
    label->SetParent(box);
    label->SetAlign(TAlign::alBottom);
    RECT inner{0, 0, 150, 195};
    box->AdjustClientRect(inner);
    EXPECT_EQ(label->Left(), 2);
    EXPECT_EQ(label->Width(), 146);
    EXPECT_EQ(label->Top() + label->Height(), 193);
    EXPECT_EQ(inner.bottom, 193);
    box->SetHeight(100);
    EXPECT_EQ(label->Top() + label->Height(), 98);  // follows the box
}

// State changes that must show at once are on the screen when the setter
// returns: nothing in between processes a message or validates a region.
TEST_F(Painting, SpeedButtonStatesShowBeforeTheSetterReturns)
{
    auto make = [this](int left) {
        auto* b = CreateComponent<TSpeedButton>(form.get());
        b->SetBounds(left, 100, 40, 20);
        b->SetFlat(true);
        b->SetTransparent(false);
        b->SetColor(clWhite);
        b->SetGroupIndex(1);
        b->SetParent(form.get());
        return b;
    };
    TSpeedButton* a = make(20);
    TSpeedButton* b = make(70);
    Pump();
    UpdateWindow(form->Handle());
    const COLORREF white = RGB(255, 255, 255), sunken = GetSysColor(COLOR_BTNSHADOW);
    HWND w = form->Handle();
    ASSERT_EQ(ScreenPixel(w, 20, 100), white);

    a->SetDown(true);  // a flat button shows its sunken edge while down
    EXPECT_EQ(ScreenPixel(w, 20, 100), sunken);
    b->SetDown(true);  // ... and the one it replaces in its group comes up
    EXPECT_EQ(ScreenPixel(w, 70, 100), sunken);
    EXPECT_EQ(ScreenPixel(w, 20, 100), white);
    b->SetEnabled(false);  // disabled: drawn up, whatever its state
    EXPECT_EQ(ScreenPixel(w, 70, 100), white);
    b->SetEnabled(true);
    EXPECT_EQ(ScreenPixel(w, 70, 100), sunken);
}

TEST_F(Painting, ProgressBarPositionAndRangeShowBeforeTheSetterReturns)
{
    auto* bar = CreateComponent<TProgressBar>(form.get());
    bar->SetBounds(20, 150, 102, 16);
    bar->SetSmooth(true);
    bar->SetParent(form.get());
    Pump();
    HWND w = bar->Handle();
    UpdateWindow(w);
    const COLORREF empty = ScreenPixel(w, 75, 8);

    bar->SetPosition(100);
    const COLORREF full = ScreenPixel(w, 75, 8);
    EXPECT_NE(full, empty);
    bar->SetMax(200);  // the same position now fills half
    EXPECT_EQ(ScreenPixel(w, 75, 8), empty);
    EXPECT_EQ(ScreenPixel(w, 25, 8), full);
    bar->SetMin(100);  // position 100 of 100..200: empty
    EXPECT_EQ(ScreenPixel(w, 25, 8), empty);
}

// While it paints, reads what the screen shows at a point of its parent.
class TScreenProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    POINT Look{};
    COLORREF Seen = CLR_INVALID;

protected:
    void Paint() override { Seen = ScreenPixel(Parent()->WindowHandle(), Look.x, Look.y); }
};

// A container paints its background and every graphic child off-screen and
// copies the result once: when its last child paints, the screen still shows
// the old background. Drawn straight to the screen, it would show the new one.
struct TComposeCase {
    const char* name;
    TWinControl* (*container)(TForm* form);
    void (*paint)(TWinControl* container);
};

void PrintTo(const TComposeCase& c, std::ostream* os)
{
    *os << c.name;
}

TWinControl* PlacedInForm(TWinControl* control, TForm* form)
{
    control->SetBounds(100, 50, 120, 90);
    control->SetParent(form);
    return control;
}

const TComposeCase kComposeCases[] = {
    {"FormOnWmPaint", [](TForm* form) -> TWinControl* { return form; },
     [](TWinControl* c) { UpdateWindow(c->Handle()); }},
    {"CustomControlOnWmPaint", [](TForm* form) { return PlacedInForm(CreateComponent<TPanelControl>(form), form); },
     [](TWinControl* c) { UpdateWindow(c->Handle()); }},
    {"CustomControlRepaint", [](TForm* form) { return PlacedInForm(CreateComponent<TPanelControl>(form), form); },
     [](TWinControl* c) {
         ValidateRect(c->Handle(), nullptr);
         c->Repaint();
     }},
    {"GroupBoxOnWmPaint", [](TForm* form) { return PlacedInForm(CreateComponent<TGroupBox>(form), form); },
     [](TWinControl* c) { UpdateWindow(c->Handle()); }},
    {"GroupBoxRepaint", [](TForm* form) { return PlacedInForm(CreateComponent<TGroupBox>(form), form); },
     [](TWinControl* c) {
         ValidateRect(c->Handle(), nullptr);
         c->Repaint();
     }},
};

class Composing : public Painting, public testing::WithParamInterface<TComposeCase> {};

TEST_P(Composing, ReachesTheScreenInOneCopy)
{
    TWinControl* container = GetParam().container(form.get());
    container->SetColor(clNavy);
    auto* probe = CreateComponent<TScreenProbe>(form.get());
    probe->SetBounds(10, 30, 10, 10);
    probe->Look = {60, 60};  // the container's background, clear of the probe and a frame
    probe->SetParent(container);
    Pump();
    UpdateWindow(container->Handle());
    ASSERT_EQ(ScreenPixel(container->Handle(), 60, 60), RGB(0, 0, 128));

    container->SetColor(clGray);
    GetParam().paint(container);
    EXPECT_EQ(probe->Seen, RGB(0, 0, 128)) << "the new background showed before the children were drawn";
    EXPECT_EQ(ScreenPixel(container->Handle(), 60, 60), RGB(128, 128, 128));
}

INSTANTIATE_TEST_SUITE_P(Containers, Composing, testing::ValuesIn(kComposeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, RectanglesAndLinesLeaveOutTheirFarEdges)
{
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clRed);
    c.Rectangle(2, 2, 6, 6);
    EXPECT_EQ(b.Pixel(2, 2), clBlack);
    EXPECT_EQ(b.Pixel(5, 5), clBlack);
    EXPECT_EQ(b.Pixel(3, 3), clRed);
    EXPECT_EQ(b.Pixel(6, 6), clWhite);

    c.Pen().SetColor(clNavy);
    c.MoveTo(0, 8);
    c.LineTo(5, 8);
    EXPECT_EQ(b.Pixel(4, 8), clNavy);
    EXPECT_EQ(b.Pixel(5, 8), clWhite);

    // A system colour is resolved by the canvas.
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, 1, 1});
    EXPECT_EQ(static_cast<COLORREF>(b.Pixel(0, 0)), GetSysColor(COLOR_BTNFACE));
}

TEST(Canvas, DrawLeavesOutTheTransparentColour)
{
    TBitmap glyph;
    glyph.SetSize(3, 3);  // white
    glyph.Canvas().SetPixel(1, 1, clRed);
    const TColor nearlyWhite = static_cast<TColor>(RGB(254, 255, 255));
    glyph.Canvas().SetPixel(2, 0, nearlyWhite);  // only the exact colour is left out
    glyph.SetTransparent(true);
    glyph.SetTransparentColor(glyph.Pixel(0, 0));

    TBitmap target;
    target.SetSize(5, 5);
    target.Canvas().Brush().SetColor(clNavy);
    target.Canvas().FillRect({0, 0, 5, 5});
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(target.Pixel(2, 2), clRed);
    EXPECT_EQ(target.Pixel(1, 1), clNavy);
    EXPECT_EQ(target.Pixel(3, 1), nearlyWhite);
    EXPECT_EQ(target.Pixel(3, 3), clNavy);
    EXPECT_EQ(target.Pixel(4, 4), clNavy);  // outside the glyph

    glyph.SetTransparent(false);
    target.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(target.Pixel(1, 1), clWhite);
}

TEST(Bitmap, AssignCopiesPixelsAndLaterChangesStayApart)
{
    TBitmap a;
    a.SetSize(4, 2);
    a.Canvas().SetPixel(3, 1, clRed);
    a.SetTransparent(true);
    TBitmap b;
    b.Assign(a);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(3, 1), clRed);
    EXPECT_TRUE(b.Transparent());
    a.Canvas().SetPixel(3, 1, clNavy);
    EXPECT_EQ(b.Pixel(3, 1), clRed);
    EXPECT_EQ(b.TransparentColor(), clWhite);  // bottom-left pixel unless set

    TBitmap empty;
    b.Assign(empty);
    EXPECT_TRUE(b.Empty());
    EXPECT_THROW(b.Canvas(), EInvalidGraphic);
    EXPECT_THROW(a.Pixel(4, 0), ERangeError);
}

TEST(Bitmap, LoadsAnyDepthThroughAHandle)
{
    // A 4-bit palette bitmap, as the speed-button glyphs are stored.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[16];
    } info{};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    info.h.biWidth = 2;
    info.h.biHeight = 1;
    info.h.biPlanes = 1;
    info.h.biBitCount = 4;
    info.colors[1] = {0, 0, 255, 0};  // red
    info.colors[2] = {255, 0, 0, 0};  // blue
    const std::uint8_t bits[4] = {0x12, 0, 0, 0};
    TWindowDC screen(nullptr);
    TUniqueBitmap source(CreateDIBitmap(screen.Get(), &info.h, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS));
    ASSERT_TRUE(source);
    TBitmap b;
    b.LoadFromHandle(source.Get());
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), static_cast<TColor>(0x00FF0000));
}

}  // namespace
