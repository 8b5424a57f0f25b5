// The spin edit in a real edit window: reading and writing Value, the key
// filter, stepping by keys and arrow buttons (with auto-repeat), clamping on
// exit, and where the arrows and the text area sit.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/spinedit.h"
#include "tests/controls/control_test_support.h"

using namespace ctltest;

namespace {

class SpinEditTest : public ::testing::Test {
protected:
    THostForm host{320, 200};
    TSpinEdit* spin = nullptr;
    TEdit* other = nullptr;

    void SetUp() override
    {
        spin = new TSpinEdit(host.form.get());
        spin->SetParent(host.form.get());
        spin->SetBounds(10, 10, 51, 22);
        other = new TEdit(host.form.get());
        other->SetParent(host.form.get());
        other->SetBounds(10, 100, 80, 21);
        host.form->Show();
        Pump();
        spin->SetFocus();
        Pump();
    }
    void Type(wchar_t ch) { SendMessageW(spin->Handle(), WM_CHAR, ch, 1); }
    void Key(WPARAM vk) { SendMessageW(spin->Handle(), WM_KEYDOWN, vk, 1); }
    HWND Arrows() { return spin->Button()->Handle(); }
};

TEST_F(SpinEditTest, ValueReadsTheTextAndWritesItClamped)
{
    EXPECT_EQ(spin->Text(), L"0");
    spin->SetValue(1);  // equal limits: no range at all
    EXPECT_EQ(spin->Text(), L"1");
    spin->SetValue(INT_MIN);
    EXPECT_EQ(spin->Value(), INT_MIN);

    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    EXPECT_EQ(spin->Value(), INT_MIN);  // limits alone leave the text
    for (const wchar_t* text : {L"", L"-", L"1-2", L"1.5", L"99999999999", L"abc"}) {
        spin->SetText(text);
        EXPECT_EQ(spin->Value(), 1) << ToUtf8(text);  // reads as MinValue
    }
    spin->SetText(L"15");
    EXPECT_EQ(spin->Value(), 15);  // no clamping on reading
    spin->SetValue(15);
    EXPECT_EQ(spin->Text(), L"10");
    spin->SetValue(-3);
    EXPECT_EQ(spin->Text(), L"1");
}

TEST_F(SpinEditTest, LeavingCorrectsAnOutOfRangeNumberOnly)
{
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    spin->SetText(L"15");
    other->SetFocus();
    EXPECT_EQ(spin->Text(), L"10");
    spin->SetFocus();
    spin->SetText(L"");
    other->SetFocus();
    EXPECT_EQ(spin->Text(), L"");
}

TEST_F(SpinEditTest, KeyFilterTakesOnlyNumberCharacters)
{
    spin->SetText(L"");
    for (wchar_t ch : {L'1', L'a', L'-', L'2', L'\r', L' ', L'+'}) Type(ch);
    EXPECT_EQ(spin->Text(), L"1-2+");
    Type(L'\b');
    EXPECT_EQ(spin->Text(), L"1-2");

    // Editor off: only stepping changes the text.
    spin->SetText(L"5");
    spin->SetEditorEnabled(false);
    SendMessageW(spin->Handle(), EM_SETSEL, 1, 1);
    Type(L'7');
    Type(L'\b');
    EXPECT_EQ(spin->Text(), L"5");
    if (OpenClipboard(spin->Handle())) {
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 3 * sizeof(wchar_t));
        wcscpy(static_cast<wchar_t*>(GlobalLock(mem)), L"42");
        GlobalUnlock(mem);
        SetClipboardData(CF_UNICODETEXT, mem);
        CloseClipboard();
    }
    SendMessageW(spin->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin->Handle(), WM_PASTE, 0, 0);
    SendMessageW(spin->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin->Text(), L"5");
    Key(VK_UP);
    EXPECT_EQ(spin->Text(), L"6");
    spin->SetEditorEnabled(true);
    SendMessageW(spin->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin->Text(), L"42");
}

TEST_F(SpinEditTest, ArrowKeysStepClampAndWrap)
{
    spin->SetValue(INT_MAX);
    Key(VK_UP);
    EXPECT_EQ(spin->Value(), INT_MIN);  // no range: wraps around

    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    spin->SetValue(9);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(spin->Text(), L"10");
    spin->SetIncrement(100);
    Key(VK_DOWN);
    EXPECT_EQ(spin->Text(), L"1");

    spin->SetReadOnly(true);
    Key(VK_UP);
    EXPECT_EQ(spin->Text(), L"1");
}

TEST_F(SpinEditTest, ArrowButtonsStepAndTakeTheFocusIntoTheEdit)
{
    other->SetFocus();
    const RECT up = spin->Button()->UpButton()->BoundsRect();
    const RECT down = spin->Button()->DownButton()->BoundsRect();
    SendMessageW(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.left + 5, up.top + 3));
    EXPECT_TRUE(spin->Focused());
    SendMessageW(Arrows(), WM_LBUTTONUP, 0, MAKELPARAM(up.left + 5, up.top + 3));
    EXPECT_EQ(spin->Value(), 1);
    SendMessageW(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.left + 5, down.bottom - 3));
    SendMessageW(Arrows(), WM_LBUTTONUP, 0, MAKELPARAM(down.left + 5, down.bottom - 3));
    SendMessageW(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.left + 5, down.bottom - 3));
    SendMessageW(Arrows(), WM_LBUTTONUP, 0, MAKELPARAM(down.left + 5, down.bottom - 3));
    EXPECT_EQ(spin->Value(), -1);
    EXPECT_FALSE(spin->Button()->Focused());  // its own TabStop is off
}

TEST_F(SpinEditTest, HeldArrowRepeatsUntilReleased)
{
    const RECT up = spin->Button()->UpButton()->BoundsRect();
    const LPARAM at = MAKELPARAM(up.left + 5, up.top + 3);
    SendMessageW(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PumpFor(250);
    EXPECT_EQ(spin->Value(), 0);  // nothing before the first delay
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() >= 2; }));
    // Dragged off the arrow, still held: the repeat stops, and goes on when
    // the pointer comes back.
    SendMessageW(Arrows(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.right + 20, up.top + 3));
    const int off = spin->Value();
    PumpFor(300);
    EXPECT_EQ(spin->Value(), off);
    SendMessageW(Arrows(), WM_MOUSEMOVE, MK_LBUTTON, at);
    ASSERT_TRUE(PumpUntil([&] { return spin->Value() > off; }));
    const int held = spin->Value();
    SendMessageW(Arrows(), WM_LBUTTONUP, 0, at);
    const int released = spin->Value();
    EXPECT_GE(released, held);
    PumpFor(300);
    EXPECT_EQ(spin->Value(), released);  // the timer stops with the release
}

TEST_F(SpinEditTest, ArrowsSitInsideTheRightEdgeAndTextStaysClear)
{
    const RECT b = spin->Button()->BoundsRect();
    EXPECT_EQ(spin->Height(), 22);
    EXPECT_EQ(b.left, spin->Width() - 15 - 5);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.right - b.left, 15);
    EXPECT_EQ(b.bottom - b.top, spin->Height() - 5);
    RECT client{}, text{};
    GetClientRect(spin->Handle(), &client);
    SendMessageW(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, client.right - 15 - 2);

    spin->SetHeight(5);  // never lower than its font needs
    EXPECT_EQ(spin->Height(), 22);
    spin->Button()->SetWidth(8);
    EXPECT_EQ(spin->Button()->Width(), 15);
}

TEST_F(SpinEditTest, TabLeavesTheBoxAndReturnIsNoCharacter)
{
    const LRESULT code = SendMessageW(spin->Handle(), WM_GETDLGCODE, VK_TAB, 0);
    EXPECT_EQ(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0);
    EXPECT_NE(code & DLGC_WANTCHARS, 0);
    PostMessageW(spin->Handle(), WM_KEYDOWN, VK_TAB, 1);
    Application->ProcessMessages();
    EXPECT_TRUE(other->Focused());
}

}  // namespace

namespace {

TEST_F(SpinEditTest, EnteringSelectsBeforeOnEnterAndLeavingCorrectsAfterOnExit)
{
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    other->SetFocus();
    Pump();
    spin->SetText(L"15");
    std::vector<std::wstring> seen;
    spin->OnEnter = [&](TObject*) {
        seen.push_back(L"enter " + std::to_wstring(spin->SelStart()) + L"+" + std::to_wstring(spin->SelLength()));
        spin->SetSelStart(1);  // the handler's own choice stands
    };
    spin->OnExit = [&](TObject*) { seen.push_back(L"exit " + spin->Text()); };
    other->OnEnter = [&](TObject*) { seen.push_back(L"other enter " + spin->Text()); };

    spin->SetFocus();
    EXPECT_EQ(spin->SelStart(), 1);
    EXPECT_EQ(spin->SelLength(), 0);
    other->SetFocus();
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"enter 0+2", L"exit 15", L"other enter 10"}));
    EXPECT_EQ(spin->Text(), L"10");

    // A click into the box places the caret: nothing is selected for it.
    seen.clear();
    SendMessageW(spin->Handle(), EM_SETSEL, 0, 0);
    SendMessageW(spin->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
    SendMessageW(spin->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"enter 0+0"}));
    other->SetFocus();

    // Without AutoSelect nothing is selected for OnEnter.
    seen.clear();
    spin->SetAutoSelect(false);
    SendMessageW(spin->Handle(), EM_SETSEL, 0, 0);
    spin->SetFocus();
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"enter 0+0"}));
}

TEST_F(SpinEditTest, ValuesAtTheLimitsAndOneBeyond)
{
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    struct TCase {
        const wchar_t* Typed;
        const wchar_t* AfterExit;
        const wchar_t* AfterUp;
        const wchar_t* AfterDown;
    };
    const TCase cases[] = {
        {L"1", L"1", L"2", L"1"},    {L"10", L"10", L"10", L"9"}, {L"0", L"1", L"1", L"1"},
        {L"11", L"10", L"10", L"10"}, {L"010", L"010", L"10", L"9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Typed));
        spin->SetFocus();
        spin->SetText(c.Typed);
        other->SetFocus();
        EXPECT_EQ(spin->Text(), c.AfterExit);
        spin->SetFocus();
        spin->SetText(c.Typed);
        Key(VK_UP);
        EXPECT_EQ(spin->Text(), c.AfterUp);
        spin->SetText(c.Typed);
        Key(VK_DOWN);
        EXPECT_EQ(spin->Text(), c.AfterDown);
    }
    const std::pair<int, const wchar_t*> set[] = {{1, L"1"}, {10, L"10"}, {0, L"1"}, {11, L"10"}};
    for (const auto& [v, text] : set) {
        spin->SetValue(v);
        EXPECT_EQ(spin->Text(), text) << v;
    }
}

TEST_F(SpinEditTest, AutoRepeatWaitsItsDelayThenKeepsItsPeriod)
{
    std::vector<DWORD> steps;
    spin->OnChange = [&](TObject*) { steps.push_back(GetTickCount()); };
    const RECT up = spin->Button()->UpButton()->BoundsRect();
    const LPARAM at = MAKELPARAM(up.left + 5, up.top + 3);
    const DWORD pressed = GetTickCount();
    SendMessageW(Arrows(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    const bool enough = PumpUntil([&] { return steps.size() >= 6; });
    SendMessageW(Arrows(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(enough);
    // About 400 ms to the first repeat, then about 100 ms apart. A tick
    // handled late makes one gap long and the next one short, so single gaps
    // are only bounded above; their mean is held to the period.
    EXPECT_GE(steps[0] - pressed, 330u);
    EXPECT_LE(steps[0] - pressed, 800u);
    for (size_t i = 1; i < 6; ++i) EXPECT_LE(steps[i] - steps[i - 1], 350u) << i;
    EXPECT_GE(steps[5] - steps[0], 5u * 70u);
    EXPECT_LE(steps[5] - steps[0], 5u * 200u);
}

}  // namespace
