// Mouse input reaching graphic and windowed controls: click order, capture,
// double clicks, enter and leave, and where hints are shown.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "fixtures.h"
#include "recorder.h"
#include "toolkit/application.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"

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

    HWND tips = form->HintWindow();
    ASSERT_NE(tips, nullptr);
    SendMouse(BoxHandle(), WM_MOUSEMOVE, 30, 45);
    Pump();
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(tips, BoxHandle()), L"Double click");

    SendMouse(quiet->Handle(), WM_MOUSEMOVE, 50, 50);
    Pump();
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
    SendMouse(FormHandle(), WM_MOUSEMOVE, 260, 30);
    Pump();
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
}

}  // namespace
