// What the custom controls promise at their edges, checked cell by cell:
// every colour of every named scheme against the worked tables, the guarded
// setters exactly at their equality boundaries, and the arguments that the
// mouse events carry (button, each shift flag, position, sender).
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "controls/trayicon.h"
#include "tests/controls/control_test_support.h"

using enum TMouseButton;
using enum TButtonVisualState;

using namespace ctltest;

namespace {

// ---- Colour schemes --------------------------------------------------------

constexpr TColor Keep = -1;  // the scheme leaves this colour as it was
constexpr TColor Sentinel = 0x123456;

using GB = TGradientButton::TColorScheme;
// Columns in this order; the plain ones leave the four gradient ends.
constexpr std::array<GB, 12> kButtonSchemes = {
    GB::csNeoDesert, GB::csNeoSky, GB::csNeoGrass, GB::csNeoSilver, GB::csNeoRose, GB::csNeoSun,
    GB::csDesert,    GB::csGrass,  GB::csSky,      GB::csSun,       GB::csRose,    GB::csSilver,
};

struct TButtonRow {
    const char* Property;
    GradientButton::TColorIndex Index;
    std::array<TColor, 12> Values;
};

using namespace GradientButton;
const TButtonRow kButtonRows[] = {
    {"ColorFace", ciColorFace, {13036799, 16772829, 14547432, 15987699, 15263999, 15794175,
                                9821695, 10021815, 16769217, 11075583, 13027071, 14737632}},
    {"ColorGrad", ciColorGrad, {3653375, 16758380, 6217614, 12369084, 9803263, 2152697,
                                Keep, Keep, Keep, Keep, Keep, Keep}},
    {"ColorLight", ciColorLight, {12183551, 16772313, 13366747, 16250871, 14540287, 15925247,
                                  12183551, 13366747, 16772313, 15925247, 14540287, 16250871}},
    {"ColorDark", ciColorDark, {40168, 16754769, 2406748, 10987431, 8553215, 48059,
                                40168, 2406748, 16755027, 48059, 8553215, 11447982}},
    {"ColorBorder", ciColorBorder, {22144, 11753728, 1404727, 6447714, 157, 25700,
                                    22144, 1404727, 11753728, 25700, 157, 6447714}},
    {"ColorText", ciColorText, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"OverColorFace", ciOverColorFace, {11790335, 16772055, 12579538, 15790320, 14671871, 14023935,
                                        7327999, 6873494, 16764315, 6747135, 11579647, 13619151}},
    {"OverColorGrad", ciOverColorGrad, {41968, 16753478, 4053111, 10921638, 7829503, 376028,
                                        Keep, Keep, Keep, Keep, Keep, Keep}},
    {"OverColorLight", ciOverColorLight, {9820927, 16770250, 11923659, 15658734, 14145535, 13434879,
                                          9820927, 11923659, 16770250, 13434879, 14145535, 15658734}},
    {"OverColorDark", ciOverColorDark, {36562, 16752190, 2339929, 10658466, 6974207, 42662,
                                        36562, 2339929, 16757092, 42662, 6974207, 7960953}},
    {"OverColorBorder", ciOverColorBorder, {22144, 11753728, 1538365, 7697781, 157, 25700,
                                            22144, 1538365, 11753728, 25700, 157, 7697781}},
    {"OverColorText", ciOverColorText, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"DownColorFace", ciDownColorFace, {2865919, 16757606, 5168259, 13290186, 10921727, 381429,
                                        7327999, 5168259, 16760962, 2289407, 10461183, 13882323}},
    {"DownColorGrad", ciDownColorGrad, {7852799, 16764573, 8447654, 14342874, 12171775, 6746363,
                                        Keep, Keep, Keep, Keep, Keep, Keep}},
    {"DownColorLight", ciDownColorLight, {30647, 16752190, 1539390, 8158332, 6184703, 33924,
                                          30647, 1539390, 16748834, 33924, 6184703, 8158332}},
    {"DownColorDark", ciDownColorDark, {9099775, 16765864, 9037740, 15329769, 13553407, 6747135,
                                        9099775, 9037740, 16765864, 6747135, 8947967, 15329769}},
    {"DownColorBorder", ciDownColorBorder, {28838, 11753728, 1471545, 5131854, 157, 25700,
                                            28838, 1471545, 11753728, 25700, 157, 5131854}},
    {"DownColorText", ciDownColorText, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"DisabledColorFace", ciDisabledColorFace, {15658734, 15658734, 15658734, 15658734, 15658734, 15658734,
                                                14869218, 14869218, 14869218, 14869218, 14869218, 14869218}},
    {"DisabledColorGrad", ciDisabledColorGrad, {16777215, 16777215, 16777215, 16777215, 16777215, 16777215,
                                                Keep, Keep, Keep, Keep, Keep, Keep}},
    {"DisabledColorLight", ciDisabledColorLight, {16777215, 16777215, 16777215, 16777215, 16777215, 16777215,
                                                  15395562, 15395562, 15395562, 15395562, 15395562, 15395562}},
    {"DisabledColorDark", ciDisabledColorDark, {13816530, 13816530, 13816530, 13816530, 13816530, 13816530,
                                                14211288, 14211288, 14211288, 14211288, 14211288, 14211288}},
    {"DisabledColorBorder", ciDisabledColorBorder, {8421504, 8421504, 8421504, 8421504, 8421504, 8421504,
                                                    12895428, 12895428, 12895428, 12895428, 12895428, 12895428}},
    {"DisabledColorText", ciDisabledColorText, {8421504, 8421504, 8421504, 8421504, 8421504, 8421504,
                                                8421504, 8421504, 8421504, 8421504, 8421504, 8421504}},
    {"ColorFocusRect", ciColorFocusRect, {4227327, 16755027, 2406748, 11382189, 6184703, 48059,
                                          4227327, 42017, 14457620, 36084, 6184703, 9079434}},
};

TEST(ColourSchemeTables, EveryCellOfTheGradientButtonSchemes)
{
    ASSERT_EQ(std::size(kButtonRows), 25u);
    THostForm host;
    auto* button = new TGradientButton(host.form.get());
    button->SetParent(host.form.get());
    for (size_t column = 0; column < kButtonSchemes.size(); ++column) {
        const bool neo = column < 6;
        for (const auto& row : kButtonRows) button->SetColor(row.Index, Sentinel);
        button->SetGradient(!neo);  // the scheme sets it
        button->SetColorScheme(kButtonSchemes[column]);
        EXPECT_EQ(button->ColorScheme(), kButtonSchemes[column]) << column;
        EXPECT_EQ(button->Gradient(), neo) << column;
        for (const auto& row : kButtonRows) {
            const TColor expected = row.Values[column] == Keep ? Sentinel : row.Values[column];
            EXPECT_EQ(button->GetColor(row.Index), expected) << row.Property << ", column " << column;
        }
    }
    // csCustom writes nothing and leaves Gradient.
    const bool gradient = button->Gradient();
    button->SetColorScheme(GB::csCustom);
    EXPECT_EQ(button->ColorFace(), 14737632);
    EXPECT_EQ(button->ColorGrad(), Sentinel);
    EXPECT_EQ(button->Gradient(), gradient);
}

struct TBarRow {
    TGradientProgressBar::TColorScheme Scheme;
    TColor Border, BackFace, BackGrad, ForeFace, ForeGrad;
};
using GP = TGradientProgressBar::TColorScheme;
const TBarRow kBarRows[] = {
    {GP::csDesert, 22144, 13036799, 16777215, 10215167, 31671},
    {GP::csGrass, 1404727, 13366748, 16777215, 13235675, 2670946},
    {GP::csSilver, 7039851, 14737632, 16777215, 15790320, 11382189},
    {GP::csSky, 11753728, 16771797, 16777215, 16772829, 16756318},
    {GP::csRose, 157, 14145535, 16777215, 15263999, 8421631},
    {GP::csSun, 25700, 13565951, 16777215, 14680063, 376028},
    {GP::csHackers, 0, 21760, 32768, 9563310, 43520},
    {GP::csNight, 0, 8404992, 11031552, 16763799, 15496704},
    {GP::csVelvet, 0, 89, 4605580, 10461170, 4737211},
    {GP::csMetal, 0, 4605510, 7303023, 13553358, 7566195},
    {GP::csViolet, 0, 8388672, 13238373, 16758747, 16724889},
    {GP::csToxic, 0, 2905686, 4094843, 12377822, 4624014},
};

TEST(ColourSchemeTables, EveryCellOfTheGradientProgressBarSchemes)
{
    THostForm host;
    auto* bar = new TGradientProgressBar(host.form.get());
    bar->SetParent(host.form.get());
    for (const auto& row : kBarRows) {
        const int ordinal = static_cast<int>(row.Scheme);
        for (auto index : {GradientProgressBar::ciColorBorder, GradientProgressBar::ciBackColorFace,
                           GradientProgressBar::ciBackColorGrad, GradientProgressBar::ciForeColorFace,
                           GradientProgressBar::ciForeColorGrad})
            bar->SetColor(index, Sentinel);
        bar->SetColorScheme(row.Scheme);
        EXPECT_EQ(bar->ColorScheme(), row.Scheme) << ordinal;
        EXPECT_EQ(bar->ColorBorder(), row.Border) << ordinal;
        EXPECT_EQ(bar->BackColorFace(), row.BackFace) << ordinal;
        EXPECT_EQ(bar->BackColorGrad(), row.BackGrad) << ordinal;
        EXPECT_EQ(bar->ForeColorFace(), row.ForeFace) << ordinal;
        EXPECT_EQ(bar->ForeColorGrad(), row.ForeGrad) << ordinal;
    }
    bar->SetColorScheme(GP::csCustom);
    EXPECT_EQ(bar->ForeColorGrad(), 4624014);
}

// ---- Guarded setters at their boundaries -------------------------------------


TEST(GuardBoundaries, ProgressBarAcceptsEqualityAndRefusesOneBeyond)
{
    THostForm host;
    auto* bar = new TCountingBar(host.form.get());
    bar->SetParent(host.form.get());
    bar->SetBounds(10, 10, 140, 11);
    Pump();
    // Each row starts from Min 10, Max 20, Position 15.
    struct TCase {
        const char* What;
        int Property;  // 0 Position, 1 Min, 2 Max
        int Value;
        bool Accepted;
    };
    const TCase cases[] = {
        {"Position = Min", 0, 10, true}, {"Position = Min - 1", 0, 9, false},
        {"Position = Max + 1", 0, 21, true},
        {"Min = Max", 1, 20, true},       {"Min = Max + 1", 1, 21, false},
        {"Max = Min", 2, 10, true},       {"Max = Min - 1", 2, 9, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        bar->SetMax(20);
        bar->SetMin(10);
        bar->SetPosition(15);
        ASSERT_EQ(bar->Min(), 10);
        ASSERT_EQ(bar->Max(), 20);
        ASSERT_EQ(bar->Position(), 15);
        const int paints = bar->Paints;
        if (c.Property == 0) bar->SetPosition(c.Value);
        if (c.Property == 1) bar->SetMin(c.Value);
        if (c.Property == 2) bar->SetMax(c.Value);
        const int now = c.Property == 0 ? bar->Position() : c.Property == 1 ? bar->Min() : bar->Max();
        EXPECT_EQ(now, c.Accepted ? c.Value : (c.Property == 0 ? 15 : c.Property == 1 ? 10 : 20));
        EXPECT_EQ(bar->Paints, paints + (c.Accepted ? 1 : 0));
        EXPECT_EQ(bar->Position(), c.Property == 0 && c.Accepted ? c.Value : 15);  // never adjusted
    }
    // Min = Max makes an empty range, and painting it must not fail.
    bar->SetMin(20);
    EXPECT_NO_THROW(bar->SetPosition(20));
}

TEST(GuardBoundaries, GradientButtonReleaseInsideIsStrictAtColumnAndRowZero)
{
    THostForm host;
    auto* button = new TGradientButton(host.form.get());
    button->SetParent(host.form.get());
    button->SetBounds(10, 10, 75, 25);
    Pump();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    struct TCase {
        int X, Y;
        bool Click;
        TButtonVisualState After;
    };
    // The click needs 0 <= X < Width, 0 <= Y < Height; the hot look needs
    // 0 < X < Width and 0 < Y < Height; outside, the pressed look stays.
    const TCase cases[] = {
        {0, 12, true, vsNormal},  {1, 12, true, vsOver},   {74, 12, true, vsOver}, {75, 12, false, vsDown},
        {-1, 12, false, vsDown},  {37, 0, true, vsNormal}, {37, 1, true, vsOver},  {37, 24, true, vsOver},
        {37, 25, false, vsDown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 12));
        ASSERT_EQ(button->VisualState(), vsDown);
        clicks = 0;
        SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(c.X), c.Y));
        EXPECT_EQ(clicks, c.Click ? 1 : 0);
        EXPECT_EQ(button->VisualState(), c.After);
        EXPECT_FALSE(button->MousePressed());
    }
}

// ---- Mouse event arguments ---------------------------------------------------

struct TMouseRecord {
    std::string Kind;
    TObject* Sender;
    TMouseButton Button;
    TShiftState Shift;
    int X, Y;
};

struct TMouseCase {
    const char* What;
    UINT Message;
    WPARAM Keys;      // MK_* flags of the message
    bool Alt;         // Alt held on the keyboard
    TMouseButton Button;
    TShiftState Shift;
};

const TMouseCase kWindowMouseCases[] = {
    {"left down", WM_LBUTTONDOWN, MK_LBUTTON, false, mbLeft, ssLeft},
    {"left down + shift", WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, false, mbLeft, ssLeft | ssShift},
    {"left down + ctrl", WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, false, mbLeft, ssLeft | ssCtrl},
    {"left down + alt", WM_LBUTTONDOWN, MK_LBUTTON, true, mbLeft, ssLeft | ssAlt},
    {"right down", WM_RBUTTONDOWN, MK_RBUTTON, false, mbRight, ssRight},
    {"middle down", WM_MBUTTONDOWN, MK_MBUTTON, false, mbMiddle, ssMiddle},
    {"left up, all keys", WM_LBUTTONUP, MK_SHIFT | MK_CONTROL, true, mbLeft, ssShift | ssCtrl | ssAlt},
    {"right up", WM_RBUTTONUP, 0, false, mbRight, 0},
    {"middle up + shift", WM_MBUTTONUP, MK_SHIFT, false, mbMiddle, ssShift},
    {"right double", WM_RBUTTONDBLCLK, MK_RBUTTON, false, mbRight, ssRight | ssDouble},
};

void HoldAlt(bool alt)
{
    BYTE keys[256] = {};
    if (alt) keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
}

template <class C>
void BindMouse(C* control, std::vector<TMouseRecord>& seen)
{
    control->OnMouseDown = [&seen](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        seen.push_back({"down", s, b, sh, x, y});
    };
    control->OnMouseUp = [&seen](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        seen.push_back({"up", s, b, sh, x, y});
    };
}

// window: where the message goes; (dx, dy): the control's origin in it.
template <class C>
void CheckMouseArguments(C* control, HWND window, int dx, int dy)
{
    std::vector<TMouseRecord> seen;
    BindMouse(control, seen);
    int x = 3;
    for (const auto& c : kWindowMouseCases) {
        SCOPED_TRACE(c.What);
        seen.clear();
        HoldAlt(c.Alt);
        ++x;
        const int y = 7 + x % 3;
        SendMessageW(window, c.Message, c.Keys, MAKELPARAM(dx + x, dy + y));
        ReleaseCapture();
        ASSERT_EQ(seen.size(), 1u);
        const bool down = c.Message != WM_LBUTTONUP && c.Message != WM_RBUTTONUP && c.Message != WM_MBUTTONUP;
        EXPECT_EQ(seen[0].Kind, down ? "down" : "up");
        EXPECT_EQ(seen[0].Sender, control);
        EXPECT_EQ(seen[0].Button, c.Button);
        EXPECT_EQ(seen[0].Shift, c.Shift);
        EXPECT_EQ(seen[0].X, x);
        EXPECT_EQ(seen[0].Y, y);
    }
    HoldAlt(false);
}

TEST(MouseEventArguments, GradientButton)
{
    THostForm host;
    auto* button = new TGradientButton(host.form.get());
    button->SetParent(host.form.get());
    button->SetBounds(10, 10, 75, 25);
    Pump();
    CheckMouseArguments(button, button->Handle(), 0, 0);
}

TEST(MouseEventArguments, GradientProgressBarThroughItsParent)
{
    THostForm host;
    auto* bar = new TGradientProgressBar(host.form.get());
    bar->SetParent(host.form.get());
    bar->SetBounds(30, 40, 140, 16);
    Pump();
    CheckMouseArguments(bar, host.Handle(), 30, 40);
}

TEST(MouseEventArguments, TrayIconWithTheCursorPosition)
{
    TComponent owner(nullptr);
    auto* tray = new TTrayIcon(&owner);
    std::vector<TMouseRecord> seen;
    BindMouse(tray, seen);
    tray->OnMouseMove = [&seen](TObject* s, TShiftState sh, int x, int y) {
        seen.push_back({"move", s, mbLeft, sh, x, y});
    };
    struct TCase {
        const char* What;
        UINT Message;
        std::initializer_list<int> Keys;
        const char* Kind;
        TMouseButton Button;
        TShiftState Shift;
    };
    const TCase cases[] = {
        {"left down + shift", WM_LBUTTONDOWN, {VK_SHIFT}, "down", mbLeft, ssLeft | ssShift},
        {"left up + alt", WM_LBUTTONUP, {VK_MENU}, "up", mbLeft, ssLeft | ssAlt},
        {"right down + ctrl", WM_RBUTTONDOWN, {VK_CONTROL}, "down", mbRight, ssRight | ssCtrl},
        {"right up, all", WM_RBUTTONUP, {VK_SHIFT, VK_CONTROL, VK_MENU}, "up", mbRight,
         ssRight | ssShift | ssCtrl | ssAlt},
        {"middle down", WM_MBUTTONDOWN, {}, "down", mbMiddle, ssMiddle},
        {"middle up + alt", WM_MBUTTONUP, {VK_MENU}, "up", mbMiddle, ssMiddle | ssAlt},
        {"left double + alt", WM_LBUTTONDBLCLK, {VK_MENU}, "down", mbLeft, ssDouble | ssAlt},
        {"right double", WM_RBUTTONDBLCLK, {}, "down", mbRight, ssDouble},
        {"middle double + shift", WM_MBUTTONDBLCLK, {VK_SHIFT}, "down", mbMiddle, ssDouble | ssShift},
        {"move + alt", WM_MOUSEMOVE, {VK_MENU}, "move", mbLeft, ssAlt},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        SetCursorPos(200 + 7 * n, 150 + 3 * n);
        ++n;
        POINT at{};
        GetCursorPos(&at);
        BYTE keys[256] = {};
        for (int vk : c.Keys) keys[vk] = 0x80;
        SetKeyboardState(keys);
        seen.clear();
        SendMessageW(tray->WindowHandle(), TrayCallbackMessage, 0, c.Message);
        ASSERT_FALSE(seen.empty());
        const auto& r = seen.back();  // after a click, the up event
        EXPECT_EQ(r.Kind, c.Kind);
        EXPECT_EQ(r.Sender, tray);
        if (std::string(c.Kind) != "move") EXPECT_EQ(r.Button, c.Button);
        EXPECT_EQ(r.Shift, c.Shift);
        EXPECT_EQ(r.X, at.x);
        EXPECT_EQ(r.Y, at.y);
    }
    BYTE keys[256] = {};
    SetKeyboardState(keys);
}

}  // namespace
