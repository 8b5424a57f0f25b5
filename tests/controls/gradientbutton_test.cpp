// The gradient button: painted pixels against worked values, and its state
// machine driven by real mouse, key and dialog messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "tests/controls/control_test_support.h"
#include "toolkit/actions.h"
#include "toolkit/loader.h"

using enum TButtonVisualState;

using namespace ctltest;

namespace {

constexpr TColor kFace = 0x00DDF9E8, kGrad = 0x005EDF8E, kLight = 0x00CBF5DB, kDark = 0x0024B95C, kBorder = 0x00156F37;

class GradientButtonTest : public ::testing::Test {
protected:
    THostForm host{320, 200};
    TGradientButton* button = nullptr;
    TGradientButton* other = nullptr;  // somewhere else to put the focus
    std::vector<std::string> events;

    void SetUp() override
    {
        other = new TGradientButton(host.form.get());
        other->SetParent(host.form.get());
        other->SetBounds(200, 100, 75, 25);
        button = new TGradientButton(host.form.get());
        button->SetParent(host.form.get());
        button->SetBounds(10, 10, 75, 25);
        button->SetColorScheme(TGradientButton::TColorScheme::csNeoGrass);
        button->OnClick = [this](TObject*) {
            events.push_back(button->VisualState() == vsNormal ? "click(normal)" : "click(other)");
        };
        button->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("down"); };
        button->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
        button->OnKeyDown = [this](TObject*, WORD&, TShiftState) { events.push_back("keydown"); };
        host.form->Show();
        Pump();
        other->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    TCapture Capture() { return TCapture(button->Handle(), 75, 25); }
    LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0)
    {
        return SendMessageW(button->Handle(), msg, keys, MAKELPARAM(x, y));
    }
    // Posts a key to the focused window and lets the application's loop
    // offer it to the form as a dialog key or character.
    void Key(UINT msg, WPARAM key)
    {
        PostMessageW(GetFocus(), msg, key, msg == WM_SYSCHAR ? (LPARAM{1} << 29) | 1 : 1);
        Application->ProcessMessages();
    }
    void HoldKeys(std::initializer_list<int> vks)
    {
        BYTE keys[256] = {};
        for (int vk : vks) keys[vk] = 0x80;
        SetKeyboardState(keys);
    }
};

TEST_F(GradientButtonTest, PaintsGradientBorderAndBevel)
{
    button->SetCaption(L"");
    Pump();
    TCapture c = Capture();
    // Rows of the face gradient from (232, 249, 221) towards (142, 223, 94) over 25 rows.
    EXPECT_EQ(c.At(10, 2), Rgb(225, 247, 211));
    EXPECT_EQ(c.At(40, 12), Rgb(189, 237, 160));
    EXPECT_EQ(c.At(70, 22), Rgb(153, 226, 109));
    for (auto [x, y] : {std::pair{0, 0}, {74, 24}, {74, 0}, {0, 24}, {37, 0}, {37, 24}}) EXPECT_EQ(c.At(x, y), kBorder);
    EXPECT_EQ(c.At(1, 12), kLight);
    EXPECT_EQ(c.At(37, 1), kLight);
    EXPECT_EQ(c.At(1, 23), kLight);   // the bottom line leaves out its end point
    EXPECT_EQ(c.At(73, 1), kDark);    // the right line starts on the light line's end
    EXPECT_EQ(c.At(73, 12), kDark);
    EXPECT_EQ(c.At(37, 23), kDark);

    button->SetGradient(false);
    button->SetCtl3D(false);
    Pump();
    TCapture flat = Capture();
    EXPECT_EQ(flat.At(40, 12), kFace);
    EXPECT_EQ(flat.At(1, 12), kFace);
    EXPECT_EQ(flat.At(73, 12), kFace);
}

TEST_F(GradientButtonTest, FocusRectangleAndDisabledColours)
{
    button->SetCaption(L"");
    button->SetColorFocusRect(clRed);
    button->SetFocus();
    Pump();
    EXPECT_TRUE(button->HasFocus());
    TCapture c = Capture();
    for (auto [x, y] : {std::pair{3, 12}, {71, 12}, {37, 3}, {37, 21}, {3, 3}, {71, 21}}) EXPECT_EQ(c.At(x, y), clRed);
    EXPECT_NE(c.At(4, 12), clRed);
    EXPECT_NE(c.At(72, 12), clRed);

    other->SetFocus();
    button->SetEnabled(false);
    Pump();
    TCapture d = Capture();
    EXPECT_EQ(d.At(0, 0), 0x00808080);            // DisabledColorBorder
    EXPECT_EQ(d.At(1, 12), clWhite);           // DisabledColorLight
    EXPECT_EQ(d.At(73, 12), 0x00D2D2D2);         // DisabledColorDark
    EXPECT_EQ(d.At(40, 2), Rgb(239, 239, 239));  // 238 towards white: 238 + 17 * 2 / 25
}

TEST_F(GradientButtonTest, PressedShiftsGlyphAndCaptionOnePixel)
{
    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas().Brush().SetColor(clNavy);
    glyph.Canvas().FillRect({0, 0, 4, 4});
    glyph.Canvas().SetPixel(0, 0, clOlive);
    glyph.Canvas().SetPixel(3, 3, clOlive);  // the key colour wherever it occurs
    button->SetGlyph(glyph);
    button->SetCaption(L"");
    Pump();
    // An empty caption centres the glyph alone: (75 / 2 - 2, (25 - 4) / 2).
    TCapture normal = Capture();
    EXPECT_EQ(normal.At(36, 10), clNavy);
    EXPECT_EQ(normal.At(37, 12), clNavy);
    // The key colour is left out at both corners where it occurs.
    EXPECT_EQ(normal.At(35, 10), normal.At(34, 10));
    EXPECT_EQ(normal.At(38, 13), normal.At(39, 13));
    EXPECT_NE(normal.At(34, 10), clNavy);

    button->SetTransparentGlyph(false);
    Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    ASSERT_EQ(button->VisualState(), vsDown);
    TCapture pressed = Capture();
    EXPECT_EQ(pressed.At(36, 11), clOlive);
    EXPECT_EQ(pressed.At(39, 14), clOlive);
    EXPECT_EQ(pressed.At(37, 11), clNavy);
    EXPECT_NE(pressed.At(35, 10), clNavy);
    Mouse(WM_LBUTTONUP, 200, 200);

    // The caption moves the same way and nothing else does.
    button->SetGlyph(TBitmap());
    button->SetCaption(L"&Optimize Now");
    button->SetGradient(false);
    button->SetColorScheme(TGradientButton::TColorScheme::csCustom);
    other->SetFocus();  // back to normal
    ASSERT_EQ(button->VisualState(), vsNormal);
    TCapture up = Capture();
    button->SetDownColorFace(button->ColorFace());  // same face in both states
    Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    TCapture down = Capture();
    int ink = 0;
    for (int y = 4; y < 20; ++y)  // inside the focus rectangle
        for (int x = 4; x < 70; ++x)
            if (up.At(x, y) == clBlack) {
                ++ink;
                EXPECT_EQ(down.At(x + 1, y + 1), clBlack) << x << "," << y;
            }
    EXPECT_GT(ink, 20);
    Mouse(WM_LBUTTONUP, 200, 200);
}

TEST_F(GradientButtonTest, MouseClickOrderAndStates)
{
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    EXPECT_EQ(button->VisualState(), vsDown);
    EXPECT_TRUE(button->MousePressed());
    EXPECT_TRUE(button->Focused());
    Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click(normal)", "up"}));
    EXPECT_EQ(button->VisualState(), vsOver);
    EXPECT_FALSE(button->MousePressed());

    // Released outside: no click, the pressed look stays until the pointer leaves.
    // Pressed again, with the focus already here, it shows on the window at
    // once: no message is handled in between.
    events.clear();
    const TColor hot = ScreenPixel(button->Handle(), 10, 2);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    EXPECT_NE(ScreenPixel(button->Handle(), 10, 2), hot);
    EXPECT_EQ(ScreenPixel(button->Handle(), 10, 2), Capture().At(10, 2));
    Mouse(WM_LBUTTONUP, 120, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
    EXPECT_FALSE(button->MousePressed());
    EXPECT_EQ(button->VisualState(), vsDown);

    // Column 0 clicks, but counts as outside for the hot look.
    events.clear();
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 0, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click(normal)", "up"}));
    EXPECT_EQ(button->VisualState(), vsNormal);

    // Right button: no press look, no click.
    events.clear();
    Mouse(WM_RBUTTONDOWN, 10, 10, MK_RBUTTON);
    EXPECT_EQ(button->VisualState(), vsNormal);
    Mouse(WM_RBUTTONUP, 10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));

    // Without hot tracking a click ends normal.
    button->SetHotTrack(false);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(button->VisualState(), vsNormal);
}

TEST_F(GradientButtonTest, PointerLeavingAndReturningWhileHeld)
{
    Mouse(WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(button->VisualState(), vsOver);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    ASSERT_EQ(GetCapture(), button->Handle());
    Mouse(WM_MOUSEMOVE, 150, 10, MK_LBUTTON);  // over the form
    EXPECT_EQ(button->VisualState(), vsNormal);
    Mouse(WM_MOUSEMOVE, 20, 10, MK_LBUTTON);   // back on the button
    EXPECT_EQ(button->VisualState(), vsDown);
    Mouse(WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click(normal)", "up"}));

    // Without hot tracking the pointer coming over it lights nothing.
    button->SetHotTrack(false);
    Mouse(WM_MOUSELEAVE, 0, 0);
    ASSERT_EQ(button->VisualState(), vsNormal);
    const TColor normal = Capture().At(10, 2);
    Mouse(WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(button->VisualState(), vsNormal);
    EXPECT_EQ(Capture().At(10, 2), normal);
}

TEST_F(GradientButtonTest, SpaceAndReturnOnTheFocusedButton)
{
    button->SetFocus();
    Pump();
    Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(button->VisualState(), vsDown);
    EXPECT_TRUE(events.empty());  // OnKeyDown stays with the button
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(events, (std::vector<std::string>{"click(normal)"}));
    EXPECT_EQ(button->VisualState(), vsNormal);

    events.clear();
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(events, (std::vector<std::string>{"click(normal)"}));

    // Losing the focus drops the pressed look.
    Key(WM_KEYDOWN, VK_SPACE);
    other->SetFocus();
    EXPECT_FALSE(button->HasFocus());
    EXPECT_EQ(button->VisualState(), vsNormal);
}

TEST_F(GradientButtonTest, DefaultAndCancelAnswerDialogKeys)
{
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->SetDefault(true);
    HoldKeys({VK_SHIFT});
    Key(WM_KEYDOWN, VK_RETURN);  // the default button ignores modifiers
    EXPECT_EQ(clicks, 1);

    button->SetDefault(false);
    button->SetCancel(true);
    Key(WM_KEYDOWN, VK_ESCAPE);  // but Cancel does not
    EXPECT_EQ(clicks, 1);
    HoldKeys({});
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicks, 2);

    button->SetEnabled(false);  // cannot take the focus: no dialog key
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicks, 2);
}

TEST_F(GradientButtonTest, AcceleratorClicksFromAnywhere)
{
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->SetCaption(L"&Optimize Now");
    Key(WM_CHAR, 'o');
    Key(WM_CHAR, 'O');
    Key(WM_SYSCHAR, 'o');
    EXPECT_EQ(clicks, 3);
    Key(WM_CHAR, 'p');
    EXPECT_EQ(clicks, 3);
    button->SetEnabled(false);
    Key(WM_CHAR, 'o');
    button->SetEnabled(true);
    button->SetVisible(false);
    Key(WM_CHAR, 'o');
    EXPECT_EQ(clicks, 3);
}

TEST_F(GradientButtonTest, ClickHandsModalResultToTheForm)
{
    host.form->SetModalResult(mrOk);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(host.form->ModalResult(), mrNone);  // 0 is handed over too
    button->SetModalResult(mrCancel);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(host.form->ModalResult(), mrCancel);
}

TEST_F(GradientButtonTest, ColourSettersAndSchemes)
{
    TGradientButton fresh(nullptr);
    EXPECT_EQ(fresh.ColorScheme(), TGradientButton::TColorScheme::csNeoDesert);
    EXPECT_EQ(fresh.OverColorGrad(), clWhite);
    EXPECT_TRUE(fresh.Gradient());
    EXPECT_EQ(fresh.Width(), 75);
    EXPECT_TRUE(fresh.TabStop());

    button->SetColorFace(button->ColorFace());
    EXPECT_EQ(button->ColorScheme(), TGradientButton::TColorScheme::csCustom);
    button->SetColorScheme(TGradientButton::TColorScheme::csDesert);  // plain: gradient ends stay
    EXPECT_EQ(button->ColorGrad(), kGrad);
    EXPECT_FALSE(button->Gradient());
    EXPECT_EQ(button->ColorFace(), 0x0095DDFF);

    button->SetCaption(L"&Tray");
    wchar_t text[32] = {};
    GetWindowTextW(button->Handle(), text, 32);
    EXPECT_STREQ(text, L"&Tray");
}

TEST(GradientButtonActionTest, ClientTakesOnlyWhatItLacksAndRunsTheAction)
{
    THostForm host;
    TForm* form = host.form.get();
    int executed = 0;
    auto* action = new TAction(form);
    auto* own = new TGradientButton(form);
    auto* bare = new TGradientButton(form);
    {
        TLoadSession load(form);
        action->SetCaption(L"&Optimize");
        action->OnExecute = [&](TObject*) { ++executed; };
        own->SetParent(form);
        own->SetCaption(L"&Optimize Now");
        bare->SetParent(form);
        bare->SetBounds(0, 40, 75, 25);
        load.Fixup([&] {
            own->SetAction(action);
            bare->SetAction(action);
        });
        load.Finish();
    }
    EXPECT_EQ(own->Caption(), L"&Optimize Now");
    EXPECT_EQ(bare->Caption(), L"&Optimize");
    SendMessageW(own->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(own->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(executed, 1);
    own->SetEnabled(false);  // the action and its other client stay enabled
    EXPECT_TRUE(action->Enabled());
    EXPECT_TRUE(bare->Enabled());
}

}  // namespace

namespace {

struct TBox {
    int left = 1000, top = 1000, right = -1, bottom = -1;
};

// Where colour is in the capture, and how many of its pixels each column of
// that box holds.
TBox Find(const TCapture& c, TColor colour, int w, int h, std::vector<int>* columns = nullptr)
{
    TBox box;
    // Inside the frame: a mirrored device context may leave an edge column
    // out by a pixel.
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            if (c.At(x, y) == colour) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
            }
    if (columns != nullptr)
        for (int x = box.left; x <= box.right; ++x) {
            int n = 0;
            for (int y = 1; y < h - 1; ++y) n += c.At(x, y) == colour;
            columns->push_back(n);
        }
    return box;
}

} // namespace

// In a mirrored window (Arabic, Hebrew) the glyph goes to the side the text
// starts from, and neither the glyph nor the text is turned round.
TEST_F(GradientButtonTest, InAMirroredWindowTheGlyphLeadsAndNothingIsTurnedRound)
{
    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas().Brush().SetColor(clNavy);
    glyph.Canvas().FillRect({0, 0, 4, 4});
    glyph.Canvas().SetPixel(0, 0, clOlive);  // the key colour: left out
    glyph.Canvas().SetPixel(3, 3, clOlive);
    button->SetGlyph(glyph);
    button->SetCaption(L"Ab");
    Pump();
    const TCapture ltr = Capture();
    host.form->SetRightToLeft(true);
    Pump();
    const TCapture rtl(button->Handle(), 75, 25, true);
    host.form->SetRightToLeft(false);

    std::vector<int> ltrText, rtlText;
    const TBox ltrGlyph = Find(ltr, clNavy, 75, 25), rtlGlyph = Find(rtl, clNavy, 75, 25);
    const TBox ltrWords = Find(ltr, clBlack, 75, 25, &ltrText), rtlWords = Find(rtl, clBlack, 75, 25, &rtlText);
    ASSERT_GE(rtlGlyph.right, 0);
    ASSERT_GE(rtlWords.right, 0);
    EXPECT_LT(ltrGlyph.right, ltrWords.left);
    EXPECT_GT(rtlGlyph.left, rtlWords.right);
    // The glyph as drawn: its top-left corner left out, its top-right not.
    EXPECT_NE(rtl.At(rtlGlyph.left, rtlGlyph.top), clNavy);
    EXPECT_EQ(rtl.At(rtlGlyph.right, rtlGlyph.top), clNavy);
    // The text column by column as in English.
    EXPECT_EQ(rtlText, ltrText);
}
