#include "toolkit/trackbar.h"

#include <commctrl.h>

#include "tests/toolkit/controls_fixture.h"
#include "toolkit/loader.h"
#include "toolkit/progressbar.h"

namespace {

class TrackBarTest : public ToolkitTest {
protected:
    // The settings page's slider: 10..1024 from 10, arrows by 100.
    TTrackBar* MakeSlider()
    {
        auto* bar = CreateComponent<TTrackBar>(form.get());
        bar->SetParent(form.get());
        bar->SetBounds(3, 18, 246, 35);
        bar->SetMax(1024);
        bar->SetMin(10);
        bar->SetPosition(10);
        bar->SetLineSize(100);
        bar->SetFrequency(100);
        bar->OnChange = [this](TObject* sender) {
            rec.Add("change:" + std::to_string(static_cast<TTrackBar*>(sender)->Position()));
        };
        return bar;
    }
    static LRESULT WindowPos(TTrackBar* bar) { return SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0); }
};

TEST_F(TrackBarTest, ArrowKeysMoveByLineSizeAndPageKeysByPageSize)
{
    TTrackBar* bar = MakeSlider();
    ShowForm();
    bar->SetFocus();
    rec.Flush();
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(bar->Position(), 110);
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(bar->Position(), 112);
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(bar->Position(), 12);
    SendMessageW(bar->Handle(), WM_KEYUP, VK_LEFT, static_cast<LPARAM>(0xC0000001u));
    // Every scroll notification is a change, the closing one included.
    EXPECT_TRUE(rec.Matches({{"change:110"}, {"change:112"}, {"change:12"}, {"change:12", kOptional}}));
}

TEST_F(TrackBarTest, ClickInTheChannelPagesTowardThePointer)
{
    TTrackBar* bar = MakeSlider();
    ShowForm();
    RECT channel{};
    SendMessageW(bar->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int y = (channel.top + channel.bottom) / 2;
    rec.Flush();
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(channel.right - 5, y));
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, Point(channel.right - 5, y));
    Pump();
    EXPECT_EQ(bar->Position(), 12);
    ASSERT_FALSE(rec.Entries().empty());
    EXPECT_EQ(rec.Entries().front(), "change:12");
}

TEST_F(TrackBarTest, CodeChangesThatMoveThePositionFireOnce)
{
    TTrackBar* bar = MakeSlider();
    ShowForm();
    rec.Flush();
    bar->SetPosition(500);
    bar->SetPosition(500);       // unchanged
    bar->SetMax(300);            // pushes the position down
    bar->SetMin(1);              // does not move it
    bar->SetMin(400);            // above Max: ignored
    bar->SetPosition(5000);      // clamped to Max
    EXPECT_EQ(bar->Min(), 1);
    EXPECT_EQ(bar->Max(), 300);
    EXPECT_EQ(WindowPos(bar), 300);
    EXPECT_TRUE(rec.Matches({{"change:500"}, {"change:300"}}));
    bar->SetMin(300);
    EXPECT_EQ(bar->Position(), 300);
    bar->SetMax(1000);
    bar->SetMin(1);
    bar->SetPosition(0);
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(Count("change:1"), 1u);
}

TEST_F(TrackBarTest, LoadingRunsNothingAndTheWindowGetsTheStoredSettings)
{
    TTrackBar* bar = nullptr;
    {
        TLoadSession load(form.get());
        bar = MakeSlider();
        load.Finish();
    }
    EXPECT_TRUE(rec.Entries().empty());
    HWND h = bar->Handle();
    EXPECT_EQ(SendMessageW(h, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendMessageW(h, TBM_GETRANGEMAX, 0, 0), 1024);
    EXPECT_EQ(SendMessageW(h, TBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(SendMessageW(h, TBM_GETLINESIZE, 0, 0), 100);
    EXPECT_EQ(SendMessageW(h, TBM_GETPAGESIZE, 0, 0), 2);
    EXPECT_EQ(SendMessageW(h, TBM_GETTHUMBLENGTH, 0, 0), 20);
    // Ticks every 100 units between the ends: 110, 210, ... 1010.
    EXPECT_EQ(SendMessageW(h, TBM_GETNUMTICS, 0, 0), 2 + 10);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_TRUE(style & TBS_AUTOTICKS);
    EXPECT_FALSE(style & (TBS_VERT | TBS_TOP | TBS_BOTH | TBS_NOTICKS));
}

using ProgressBarTest = ToolkitTest;

TEST_F(ProgressBarTest, RangeAndPositionStayConsistentWithTheWindow)
{
    auto* bar = CreateComponent<TProgressBar>(form.get());
    bar->SetParent(form.get());
    bar->SetPosition(50);
    bar->SetMax(128);
    bar->SetMin(200);  // above Max: ignored
    bar->SetMax(40);   // pulls the position in
    EXPECT_EQ(bar->Position(), 40);
    HWND h = bar->Handle();
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, FALSE, 0), 40);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 40);
    bar->SetPosition(-5);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 0);
    bar->SetStep(15);
    bar->StepIt();
    bar->StepIt();
    bar->StepIt();  // 45 is past 40: starts over
    EXPECT_EQ(bar->Position(), 45 % 40);
}

TEST_F(ProgressBarTest, OrientationAndSmoothnessAreWindowStyles)
{
    auto* bar = CreateComponent<TProgressBar>(form.get());
    bar->SetParent(form.get());
    bar->SetOrientation(TProgressBarOrientation::pbVertical);
    bar->SetSmooth(true);
    HWND h = bar->Handle();
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & (PBS_VERTICAL | PBS_SMOOTH), PBS_VERTICAL | PBS_SMOOTH);
    bar->SetOrientation(TProgressBarOrientation::pbHorizontal);
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & PBS_VERTICAL, 0);
}

}  // namespace
