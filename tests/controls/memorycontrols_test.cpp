// The division bar and the memory graph on a real window: the parts in
// proportion and in the reading direction, the keyboard cursor as a screen
// reader hears it, and a run's tip under the pointer.
#include <gtest/gtest.h>

#include "controls/memorydivisionbar.h"
#include "controls/memorygraph.h"
#include "tests/controls/control_test_support.h"
#include "tests/support/accessible_tree.h"
#include "toolkit/theme.h"

using namespace ctltest;

namespace {

constexpr std::uint64_t kGB = 1ull << 30;

std::wstring Size(std::uint64_t bytes) { return std::to_wstring(bytes / kGB) + L" GB"; }

// The value a screen reader hears from a control's own window.
std::wstring ReaderValue(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return L"(no object)";
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const std::wstring value = accessible_tree::Text([&](BSTR* t) { return object->get_accValue(self, t); });
    object->Release();
    return value;
}

TEST(MemoryDivisionBarTest, PartsInProportionFromWhereReadingStarts)
{
    for (bool rightToLeft : {false, true}) {
        THostForm host(420, 80);
        host.form->SetRightToLeft(rightToLeft);
        auto* bar = new TMemoryDivisionBar(host.form.get());
        bar->SetParent(host.form.get());
        bar->SetBounds(0, 0, 402, 60);
        bar->SizeText = Size;
        bar->SetParts({1 * kGB, 1 * kGB, 1 * kGB, 1 * kGB}, true);
        Pump();
        TCapture cap(bar->Handle(), 402, 60, rightToLeft);
        for (int part = 0; part < 4; ++part) {
            const int x = 50 + part * 100;
            EXPECT_EQ(cap.At(rightToLeft ? 401 - x : x, 9), static_cast<TColor>(MemoryPartColor(TMemoryPart(part))))
                << "part " << part << (rightToLeft ? " right to left" : "");
        }
        EXPECT_EQ(ReaderValue(bar->Handle()), L"In use 1 GB, Modified 1 GB, Standby 1 GB, Free 1 GB");
        // Undivided: in use and available only, the available in the free part's place.
        bar->SetParts({3 * kGB, 0, 0, 1 * kGB}, false);
        EXPECT_EQ(ReaderValue(bar->Handle()), L"In use 3 GB, Available 1 GB");
    }
}

class MemoryGraphTest : public ::testing::Test {
protected:
    THostForm host{420, 200};
    TMemoryGraph* graph = nullptr;
    void SetUp() override
    {
        graph = new TMemoryGraph(host.form.get());
        graph->SetParent(host.form.get());
        graph->SetBounds(0, 0, 401, 150);
        graph->SizeText = Size;
        graph->TimeText = [](std::int64_t t) { return L"t" + std::to_wstring(t); };
        // A sample every 10 s over 100 s, free memory growing a GB a sample.
        std::vector<TMemoryPoint> points;
        for (std::int64_t t = 10; t <= 100; t += 10)
            points.push_back({t, {kGB, 0, 0, static_cast<std::uint64_t>(t / 10) * kGB}});
        graph->SetPoints(points, 100, 100, true);
        graph->SetMarks({{50, 0, L"Manual, t50: Free +1 GB."}});
        graph->SetFocus();
        Pump();
    }
    void Press(WORD key)
    {
        SendMessageW(graph->Handle(), WM_KEYDOWN, key, 0);
        Pump();
    }
};

TEST_F(MemoryGraphTest, TheCursorWalksTheSamplesAndAReaderHearsThem)
{
    EXPECT_EQ(ReaderValue(graph->Handle()), L"t100: In use 1 GB, Modified 0 GB, Standby 0 GB, Free 10 GB");
    Press(VK_LEFT);
    EXPECT_EQ(ReaderValue(graph->Handle()), L"t90: In use 1 GB, Modified 0 GB, Standby 0 GB, Free 9 GB");
    Press(VK_HOME);
    EXPECT_EQ(graph->Cursor(), 0u);
    Press(VK_NEXT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    // At the run's mark the reader hears its tip after the sample.
    EXPECT_EQ(ReaderValue(graph->Handle()),
              L"t50: In use 1 GB, Modified 0 GB, Standby 0 GB, Free 5 GB Manual, t50: Free +1 GB.");
    Press(VK_END);
    EXPECT_EQ(graph->Cursor(), 9u);
    // A new sample keeps the cursor on the newest.
    auto points = graph->Points();
    points.push_back({110, {kGB, 0, 0, kGB}});
    graph->SetPoints(points, 110, 100, true);
    EXPECT_EQ(graph->Cursor(), 10u);
}

TEST_F(MemoryGraphTest, RightToLeftTimeRunsLeftwardAndLeftGoesForward)
{
    host.form->SetRightToLeft(true);
    Press(VK_HOME);
    Press(VK_LEFT);
    EXPECT_EQ(graph->Cursor(), 1u);
}

TEST_F(MemoryGraphTest, PointingAtAMarkShowsItsTip)
{
    // t50 of a 100 s span ending at t100 on 401 columns: column 200.
    SendMessageW(graph->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(201, 40));
    Pump();
    EXPECT_EQ(graph->Hint(), L"Manual, t50: Free +1 GB.");
    SendMessageW(graph->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 40));
    Pump();
    EXPECT_EQ(graph->Hint(), L"");
}

}  // namespace
