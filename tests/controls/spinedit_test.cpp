// The spin edit in a real edit window: reading and writing Value, the key
// filter, stepping by keys and arrow buttons (with auto-repeat), clamping on
// exit, and where the arrows and the text area sit.
#include <gtest/gtest.h>

#include <climits>

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
    PumpFor(600);
    const int held = spin->Value();
    EXPECT_GE(held, 2);
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
