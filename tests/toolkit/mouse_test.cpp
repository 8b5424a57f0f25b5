// Mouse input reaching graphic and windowed controls: click order, capture,
// double clicks, enter and leave, and where hints are shown.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "fixtures.h"
#include "recorder.h"
#include "toolkit/application.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"

using enum TMouseButton;

namespace {

class MouseRouting : public testing::Test {
protected:
    void SetUp() override
    {
        form.reset(NewShownForm());
        box = CreateComponent<TGroupBox>(form.get());
        box->SetBounds(10, 10, 200, 150);
        box->SetCaption(L"Box");
        box->SetParent(form.get());
        label = CreateComponent<TLabel>(form.get());
        label->SetAutoSize(false);
        label->SetBounds(20, 40, 60, 20);
        label->SetCaption(L"Label");
        label->SetParent(box);
        swatch = CreateComponent<TSwatch>(form.get());
        swatch->SetBounds(250, 20, 40, 40);
        swatch->SetParent(form.get());
        rec.Watch(form.get(), "form");
        rec.Watch(box, "box");
        rec.Watch(label, "label");
        rec.Watch(swatch, "swatch");
        Pump();
        // Start from a neutral place so every test sees its own enter.
        SendMouse(FormHandle(), WM_MOUSEMOVE, 350, 250);
        Pump();
        rec.Flush();
    }
    HWND FormHandle() { return form->Handle(); }
    HWND BoxHandle() { return box->Handle(); }

    std::unique_ptr<TForm> form;
    TGroupBox* box = nullptr;
    TLabel* label = nullptr;
    TSwatch* swatch = nullptr;
    TRecorder rec;
};

TEST_F(MouseRouting, ClickOnGraphicControlRunsClickBeforeMouseUpAndHoldsCapture)
{
    SendMouse(FormHandle(), WM_MOUSEMOVE, 260, 30);
    SendMouse(FormHandle(), WM_LBUTTONDOWN, 260, 30, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), FormHandle());
    EXPECT_TRUE(swatch->MouseCapture());
    SendMouse(FormHandle(), WM_LBUTTONUP, 262, 32);
    EXPECT_FALSE(swatch->MouseCapture());
    EXPECT_TRUE(rec.Matches({{"form:leave"}, {"swatch:enter"}, {"swatch:down(L)"}, {"swatch:click"}, {"swatch:up(L)"}}));
}

TEST_F(MouseRouting, CapturedControlGetsTheReleaseOutsideAndNoClick)
{
    SendMouse(FormHandle(), WM_MOUSEMOVE, 260, 30);
    SendMouse(FormHandle(), WM_LBUTTONDOWN, 260, 30, MK_LBUTTON);
    SendMouse(FormHandle(), WM_MOUSEMOVE, 350, 200, MK_LBUTTON);
    SendMouse(FormHandle(), WM_LBUTTONUP, 350, 200);
    Pump();
    EXPECT_TRUE(rec.Matches({{"form:leave"},
                             {"swatch:enter"},
                             {"swatch:down(L)"},
                             {"swatch:leave"},
                             {"form:enter"},
                             {"swatch:up(L)"}}));
}

TEST_F(MouseRouting, DoubleClickGoesToTheControlUnderThePointer)
{
    // On the group box's own surface.
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 150, 100);
    SendMouse(BoxHandle(), WM_LBUTTONDOWN, 150, 100, MK_LBUTTON);
    SendMouse(BoxHandle(), WM_LBUTTONUP, 150, 100);
    SendMouse(BoxHandle(), WM_LBUTTONDBLCLK, 150, 100, MK_LBUTTON);
    SendMouse(BoxHandle(), WM_LBUTTONUP, 150, 100);
    Pump();
    EXPECT_TRUE(rec.Matches({{"form:leave"},
                             {"box:enter"},
                             {"box:down(L)"},
                             {"box:click"},
                             {"box:up(L)"},
                             {"box:dblclick"},
                             {"box:down(L,double)"},
                             {"box:up(L)"}}));

    // On the label inside it: the label's, not the box's.
    rec.Flush();
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 30, 45);
    SendMouse(BoxHandle(), WM_LBUTTONDBLCLK, 30, 45, MK_LBUTTON);
    SendMouse(BoxHandle(), WM_LBUTTONUP, 30, 45);
    Pump();
    EXPECT_TRUE(rec.Matches(
        {{"box:leave"}, {"label:enter"}, {"label:dblclick"}, {"label:down(L,double)"}, {"label:up(L)"}}));
}

TEST_F(MouseRouting, EnterAndLeaveFollowThePointerAcrossWindowsAndGraphicChildren)
{
    SendMouse(FormHandle(), WM_MOUSEMOVE, 300, 250);
    Pump();
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 150, 100);
    Pump();
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 30, 45);
    Pump();
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 31, 46);  // still on the label: nothing new
    Pump();
    SendMouse(FormHandle(), WM_MOUSEMOVE, 300, 250);
    Pump();
    EXPECT_TRUE(rec.Matches({{"form:leave"},
                             {"box:enter"},
                             {"box:leave"},
                             {"label:enter"},
                             {"label:leave"},
                             {"form:enter"}}));
}

TEST_F(MouseRouting, HiddenAndDisabledGraphicControlsLetTheClickThrough)
{
    swatch->SetVisible(false);
    SendMouse(FormHandle(), WM_LBUTTONDOWN, 260, 30, MK_LBUTTON);
    SendMouse(FormHandle(), WM_LBUTTONUP, 260, 30);
    swatch->SetVisible(true);
    swatch->SetEnabled(false);
    SendMouse(FormHandle(), WM_LBUTTONDOWN, 260, 30, MK_LBUTTON);
    SendMouse(FormHandle(), WM_LBUTTONUP, 260, 30);
    Pump();
    // The disabled swatch still counts for enter and leave (hints show over it):
    // once it shows under the pointer, the pointer enters it.
    EXPECT_TRUE(rec.Matches({{"form:down(L)"},
                             {"form:click"},
                             {"form:up(L)"},
                             {"form:leave", kOptional},
                             {"swatch:enter", kOptional},
                             {"form:down(L)"},
                             {"form:click"},
                             {"form:up(L)"},
                             {"form:leave", kOptional},
                             {"swatch:enter", kOptional}}));
}

TEST_F(MouseRouting, ControlDestroyedByItsClickHandlerIsNotTouchedAgain)
{
    swatch->OnClick = [this](TObject*) {
        swatch->Free();
        swatch = nullptr;
    };
    SendMouse(FormHandle(), WM_LBUTTONDOWN, 260, 30, MK_LBUTTON);
    SendMouse(FormHandle(), WM_LBUTTONUP, 260, 30);
    Pump();
    EXPECT_EQ(swatch, nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

// Holds Alt down in this thread's key state (what GetKeyState reads) while alive.
class TAltKey {
public:
    explicit TAltKey(bool down)
    {
        GetKeyboardState(saved_);
        BYTE keys[256];
        std::copy(std::begin(saved_), std::end(saved_), std::begin(keys));
        for (int vk : {VK_MENU, VK_LMENU, VK_SHIFT, VK_CONTROL}) keys[vk] = 0;
        if (down) keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
    }
    ~TAltKey() { SetKeyboardState(saved_); }
    TAltKey(const TAltKey&) = delete;
    TAltKey& operator=(const TAltKey&) = delete;

private:
    BYTE saved_[256] = {};
};

struct TMouseCall {
    std::string event;  // "down", "up" or "move"
    TObject* sender;
    TMouseButton button;
    TShiftState shift;
    int x, y;
};

std::ostream& operator<<(std::ostream& out, const TMouseCall& c)
{
    return out << c.event << " sender=" << c.sender << " button=" << static_cast<int>(c.button)
               << " shift=0x" << std::hex << static_cast<int>(c.shift) << std::dec << " at " << c.x << "," << c.y;
}

bool operator==(const TMouseCall& a, const TMouseCall& b)
{
    return a.event == b.event && a.sender == b.sender && (a.event == "move" || a.button == b.button) &&
           a.shift == b.shift && a.x == b.x && a.y == b.y;
}

TEST_F(MouseRouting, HandlersGetTheButtonEveryShiftKeyAndTheirOwnCoordinates)
{
    std::vector<TMouseCall> calls;
    for (TControl* c : std::initializer_list<TControl*>{form.get(), box, label, swatch}) {
        c->OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState k, int x, int y) {
            calls.push_back({"down", s, b, k, x, y});
        };
        c->OnMouseUp = [&](TObject* s, TMouseButton b, TShiftState k, int x, int y) {
            calls.push_back({"up", s, b, k, x, y});
        };
        c->OnMouseMove = [&](TObject* s, TShiftState k, int x, int y) { calls.push_back({"move", s, mbLeft, k, x, y}); };
    }
    EXPECT_EQ(ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle | ssDouble, 0x7F);  // bits 0 to 6

    struct Case {
        const char* what;
        bool onBox;  // sent to the group box's window, else to the form's
        UINT message;
        WPARAM keys;
        bool alt;
        int x, y;  // in the window the message goes to
        TMouseCall expected;
    };
    // The swatch (graphic, on the form) spans 250,20 - 290,60; the box's
    // window starts at 10,10 on the form; the label (graphic, in the box)
    // spans 20,40 - 80,60 of the box.
    TObject* const sw = swatch;
    TObject* const bx = box;
    TObject* const lb = label;
    const Case cases[] = {
        {"left down", false, WM_LBUTTONDOWN, MK_LBUTTON, false, 260, 30, {"down", sw, mbLeft, ssLeft, 10, 10}},
        {"right down with shift", false, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, false, 251, 21,
         {"down", sw, mbRight, ssRight | ssShift, 1, 1}},
        {"middle down with ctrl", false, WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, false, 289, 59,
         {"down", sw, mbMiddle, ssMiddle | ssCtrl, 39, 39}},
        {"left up with shift and alt", false, WM_LBUTTONUP, MK_SHIFT, true, 270, 25,
         {"up", sw, mbLeft, ssShift | ssAlt, 20, 5}},
        {"right up with alt", false, WM_RBUTTONUP, 0, true, 250, 20, {"up", sw, mbRight, ssAlt, 0, 0}},
        {"middle up", false, WM_MBUTTONUP, MK_LBUTTON, false, 255, 40, {"up", sw, mbMiddle, ssLeft, 5, 20}},
        {"left double", false, WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, false, 260, 30,
         {"down", sw, mbLeft, ssLeft | ssCtrl | ssDouble, 10, 10}},
        {"right double", false, WM_RBUTTONDBLCLK, MK_RBUTTON, true, 260, 30,
         {"down", sw, mbRight, ssRight | ssAlt | ssDouble, 10, 10}},
        {"middle double", false, WM_MBUTTONDBLCLK, MK_MBUTTON | MK_SHIFT, false, 260, 30,
         {"down", sw, mbMiddle, ssMiddle | ssShift | ssDouble, 10, 10}},
        {"move with buttons and alt", false, WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, true, 280, 50,
         {"move", sw, mbLeft, ssLeft | ssMiddle | ssAlt, 30, 30}},
        {"windowed: left down with everything", true, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, true, 150,
         100, {"down", bx, mbLeft, ssLeft | ssShift | ssCtrl | ssAlt, 150, 100}},
        {"windowed: right up", true, WM_RBUTTONUP, 0, false, 5, 7, {"up", bx, mbRight, 0, 5, 7}},
        {"windowed: middle up with all buttons", true, WM_MBUTTONUP, MK_LBUTTON | MK_RBUTTON | MK_MBUTTON, false, 190,
         140, {"up", bx, mbMiddle, ssLeft | ssRight | ssMiddle, 190, 140}},
        {"graphic in a box: middle down", true, WM_MBUTTONDOWN, MK_MBUTTON, false, 30, 45,
         {"down", lb, mbMiddle, ssMiddle, 10, 5}},
        {"graphic in a box: move with ctrl", true, WM_MOUSEMOVE, MK_CONTROL, false, 79, 59,
         {"move", lb, mbLeft, ssCtrl, 59, 19}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        calls.clear();
        {
            TAltKey alt(k.alt);
            SendMessageW(k.onBox ? BoxHandle() : FormHandle(), k.message, k.keys, MAKELPARAM(k.x, k.y));
        }
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0], k.expected);
        // Let go of whatever the press captured, so the next case starts free.
        for (TControl* c : std::initializer_list<TControl*>{swatch, box, label}) c->SetMouseCapture(false);
    }
}

std::wstring ToolText(HWND tooltip, HWND host)
{
    wchar_t buffer[256] = {};
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = host;
    ti.uId = 1;
    ti.lpszText = buffer;
    SendMessageW(tooltip, TTM_GETTEXTW, 255, reinterpret_cast<LPARAM>(&ti));
    return buffer;
}

TEST_F(MouseRouting, HintsShowOnlyWhereTurnedOnAndInheritTheParentsText)
{
    auto* quiet = CreateComponent<TGroupBox>(form.get());
    quiet->SetBounds(220, 100, 150, 100);
    quiet->SetHint(L"Never shown");  // hints stay off: inherited from the form
    quiet->SetParent(form.get());
    box->SetHint(L"Double click|long text");
    box->SetShowHint(true);
    swatch->SetHint(L"Own");

    EXPECT_EQ(TForm::HintFor(box), L"Double click");
    EXPECT_EQ(TForm::HintFor(label), L"Double click");  // inherits setting and text
    label->SetHint(L"Label's own");
    EXPECT_EQ(TForm::HintFor(label), L"Label's own");
    label->SetHint(L"");
    EXPECT_EQ(TForm::HintFor(quiet), L"");
    EXPECT_EQ(TForm::HintFor(swatch), L"");  // the form shows no hints
    label->SetParentShowHint(false);         // hints off for the label itself
    EXPECT_EQ(TForm::HintFor(label), L"Double click");
    label->SetParentShowHint(true);

    // The tooltip is made for the first hint shown, not with the form.
    SendMouse(quiet->Handle(), WM_MOUSEMOVE, 50, 50);
    Pump();
    EXPECT_EQ(form->MadeHintWindow(), nullptr);
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 30, 45);
    Pump();
    HWND tips = form->MadeHintWindow();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(tips, BoxHandle()), L"Double click");

    SendMouse(quiet->Handle(), WM_MOUSEMOVE, 50, 50);
    Pump();
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
    SendMouse(FormHandle(), WM_MOUSEMOVE, 260, 30);
    Pump();
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
}

// The tooltip decides when to pop up and go from the mouse messages relayed
// to it; without them it never shows.
struct TRelayed {
    std::vector<std::pair<HWND, UINT>> events;
};

LRESULT CALLBACK RecordRelay(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (message == TTM_RELAYEVENT && lParam != 0) {
        const auto* relayed = reinterpret_cast<const MSG*>(lParam);
        reinterpret_cast<TRelayed*>(data)->events.emplace_back(relayed->hwnd, relayed->message);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(MouseRouting, TheHintWindowHearsTheMouseOverTheForm)
{
    box->SetHint(L"Double click");
    box->SetShowHint(true);
    HWND tips = form->HintWindow();
    ASSERT_NE(tips, nullptr);
    TRelayed relayed;
    ASSERT_TRUE(SetWindowSubclass(tips, &RecordRelay, 1, reinterpret_cast<DWORD_PTR>(&relayed)));

    SendMouse(BoxHandle(), WM_MOUSEMOVE, 30, 45);
    SendMouse(BoxHandle(), WM_LBUTTONDOWN, 30, 45, MK_LBUTTON);
    SendMouse(BoxHandle(), WM_LBUTTONUP, 30, 45);
    SendMouse(FormHandle(), WM_MOUSEMOVE, 260, 30);
    Pump();
    RemoveWindowSubclass(tips, &RecordRelay, 1);

    const std::vector<std::pair<HWND, UINT>> expected{{BoxHandle(), WM_MOUSEMOVE},
                                                      {BoxHandle(), WM_LBUTTONDOWN},
                                                      {BoxHandle(), WM_LBUTTONUP},
                                                      {FormHandle(), WM_MOUSEMOVE}};
    EXPECT_EQ(relayed.events, expected);
}

}  // namespace
