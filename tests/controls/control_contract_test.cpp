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
constexpr TColor Sentinel = 0x00123456;

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
    {"ColorFace", ciColorFace, {0x00C6ECFF, 0x00FFEEDD, 0x00DDF9E8, 0x00F3F3F3, 0x00E8E8FF, 0x00F0FFFF,
                                0x0095DDFF, 0x0098EBB7, 0x00FFE0C1, 0x00A8FFFF, 0x00C6C6FF, 0x00E0E0E0}},
    {"ColorGrad", ciColorGrad, {0x0037BEFF, 0x00FFB66C, 0x005EDF8E, 0x00BCBCBC, 0x009595FF, 0x0020D8F9,
                                Keep, Keep, Keep, Keep, Keep, Keep}},
    {"ColorLight", ciColorLight, {0x00B9E7FF, 0x00FFECD9, 0x00CBF5DB, 0x00F7F7F7, 0x00DDDDFF, 0x00F2FFFF,
                                  0x00B9E7FF, 0x00CBF5DB, 0x00FFECD9, 0x00F2FFFF, 0x00DDDDFF, 0x00F7F7F7}},
    {"ColorDark", ciColorDark, {0x00009CE8, 0x00FFA851, 0x0024B95C, 0x00A7A7A7, 0x008282FF, 0x0000BBBB,
                                0x00009CE8, 0x0024B95C, 0x00FFA953, 0x0000BBBB, 0x008282FF, 0x00AEAEAE}},
    {"ColorBorder", ciColorBorder, {0x00005680, 0x00B35900, 0x00156F37, 0x00626262, 0x0000009D, 0x00006464,
                                    0x00005680, 0x00156F37, 0x00B35900, 0x00006464, 0x0000009D, 0x00626262}},
    {"ColorText", ciColorText, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000,
                                0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {"OverColorFace", ciOverColorFace, {0x00B3E7FF, 0x00FFEBD7, 0x00BFF2D2, 0x00F0F0F0, 0x00DFDFFF, 0x00D5FCFF,
                                        0x006FD0FF, 0x0068E196, 0x00FFCD9B, 0x0066F3FF, 0x00B0B0FF, 0x00CFCFCF}},
    {"OverColorGrad", ciOverColorGrad, {0x0000A3F0, 0x00FFA346, 0x003DD877, 0x00A6A6A6, 0x007777FF, 0x0005BCDC,
                                        Keep, Keep, Keep, Keep, Keep, Keep}},
    {"OverColorLight", ciOverColorLight, {0x0095DAFF, 0x00FFE4CA, 0x00B5F0CB, 0x00EEEEEE, 0x00D7D7FF, 0x00CCFFFF,
                                          0x0095DAFF, 0x00B5F0CB, 0x00FFE4CA, 0x00CCFFFF, 0x00D7D7FF, 0x00EEEEEE}},
    {"OverColorDark", ciOverColorDark, {0x00008ED2, 0x00FF9E3E, 0x0023B459, 0x00A2A2A2, 0x006A6AFF, 0x0000A6A6,
                                        0x00008ED2, 0x0023B459, 0x00FFB164, 0x0000A6A6, 0x006A6AFF, 0x00797979}},
    {"OverColorBorder", ciOverColorBorder, {0x00005680, 0x00B35900, 0x0017793D, 0x00757575, 0x0000009D, 0x00006464,
                                            0x00005680, 0x0017793D, 0x00B35900, 0x00006464, 0x0000009D, 0x00757575}},
    {"OverColorText", ciOverColorText, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000,
                                        0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {"DownColorFace", ciDownColorFace, {0x002BBAFF, 0x00FFB366, 0x004EDC83, 0x00CACACA, 0x00A6A6FF, 0x0005D1F5,
                                        0x006FD0FF, 0x004EDC83, 0x00FFC082, 0x0022EEFF, 0x009F9FFF, 0x00D3D3D3}},
    {"DownColorGrad", ciDownColorGrad, {0x0077D2FF, 0x00FFCE9D, 0x0080E6A6, 0x00DADADA, 0x00B9B9FF, 0x0066F0FB,
                                        Keep, Keep, Keep, Keep, Keep, Keep}},
    {"DownColorLight", ciDownColorLight, {0x000077B7, 0x00FF9E3E, 0x00177D3E, 0x007C7C7C, 0x005E5EFF, 0x00008484,
                                          0x000077B7, 0x00177D3E, 0x00FF9122, 0x00008484, 0x005E5EFF, 0x007C7C7C}},
    {"DownColorDark", ciDownColorDark, {0x008AD9FF, 0x00FFD3A8, 0x0089E7AC, 0x00E9E9E9, 0x00CECEFF, 0x0066F3FF,
                                        0x008AD9FF, 0x0089E7AC, 0x00FFD3A8, 0x0066F3FF, 0x008888FF, 0x00E9E9E9}},
    {"DownColorBorder", ciDownColorBorder, {0x000070A6, 0x00B35900, 0x00167439, 0x004E4E4E, 0x0000009D, 0x00006464,
                                            0x000070A6, 0x00167439, 0x00B35900, 0x00006464, 0x0000009D, 0x004E4E4E}},
    {"DownColorText", ciDownColorText, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000,
                                        0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}},
    {"DisabledColorFace", ciDisabledColorFace, {0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE,
                                                0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2}},
    {"DisabledColorGrad", ciDisabledColorGrad, {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF,
                                                Keep, Keep, Keep, Keep, Keep, Keep}},
    {"DisabledColorLight", ciDisabledColorLight, {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF,
                                                  0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA}},
    {"DisabledColorDark", ciDisabledColorDark, {0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2,
                                                0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8}},
    {"DisabledColorBorder", ciDisabledColorBorder, {0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080,
                                                    0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4}},
    {"DisabledColorText", ciDisabledColorText, {0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080,
                                                0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080}},
    {"ColorFocusRect", ciColorFocusRect, {0x004080FF, 0x00FFA953, 0x0024B95C, 0x00ADADAD, 0x005E5EFF, 0x0000BBBB,
                                          0x004080FF, 0x0000A421, 0x00DC9B14, 0x00008CF4, 0x005E5EFF, 0x008A8A8A}},
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
    EXPECT_EQ(button->ColorFace(), 0x00E0E0E0);
    EXPECT_EQ(button->ColorGrad(), Sentinel);
    EXPECT_EQ(button->Gradient(), gradient);
}

struct TBarRow {
    TGradientProgressBar::TColorScheme Scheme;
    TColor Border, BackFace, BackGrad, ForeFace, ForeGrad;
};
using GP = TGradientProgressBar::TColorScheme;
const TBarRow kBarRows[] = {
    {GP::csDesert, 0x00005680, 0x00C6ECFF, 0x00FFFFFF, 0x009BDEFF, 0x00007BB7},
    {GP::csGrass, 0x00156F37, 0x00CBF5DC, 0x00FFFFFF, 0x00C9F5DB, 0x0028C162},
    {GP::csSilver, 0x006B6B6B, 0x00E0E0E0, 0x00FFFFFF, 0x00F0F0F0, 0x00ADADAD},
    {GP::csSky, 0x00B35900, 0x00FFEAD5, 0x00FFFFFF, 0x00FFEEDD, 0x00FFAE5E},
    {GP::csRose, 0x0000009D, 0x00D7D7FF, 0x00FFFFFF, 0x00E8E8FF, 0x008080FF},
    {GP::csSun, 0x00006464, 0x00CEFFFF, 0x00FFFFFF, 0x00DFFFFF, 0x0005BCDC},
    {GP::csHackers, 0x00000000, 0x00005500, 0x00008000, 0x0091ECAE, 0x0000AA00},
    {GP::csNight, 0x00000000, 0x00804000, 0x00A85400, 0x00FFCB97, 0x00EC7600},
    {GP::csVelvet, 0x00000000, 0x00000059, 0x0046468C, 0x009F9FF2, 0x004848BB},
    {GP::csMetal, 0x00000000, 0x00464646, 0x006F6F6F, 0x00CECECE, 0x00737373},
    {GP::csViolet, 0x00000000, 0x00800040, 0x00CA0065, 0x00FFB7DB, 0x00FF3399},
    {GP::csToxic, 0x00000000, 0x002C5656, 0x003E7B7B, 0x00BCDEDE, 0x00468E8E},
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
    EXPECT_EQ(bar->ForeColorGrad(), 0x00468E8E);
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
        if (std::string(c.Kind) != "move") {
            EXPECT_EQ(r.Button, c.Button);
        }
        EXPECT_EQ(r.Shift, c.Shift);
        EXPECT_EQ(r.X, at.x);
        EXPECT_EQ(r.Y, at.y);
    }
    BYTE keys[256] = {};
    SetKeyboardState(keys);
}

}  // namespace
