// The memory window as the program opens it: from the tray and from the
// monitor's menu, one copy, its place kept, the division injected (Wine
// gives none) or refused, a run's tip, and the window at 150 %, dark and
// right to left.
#include "app/formmemory.h"
#include "app/memorysampling.h"
#include "controls/memorydivisionbar.h"
#include "controls/memorygraph.h"
#include "settings/usersettings.h"
#include "tests/app/formmain_fixture.h"
#include "tests/support/history_files.h"
#include "tests/support/keyboard.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/texts.h"
#include "toolkit/theme.h"
#include "toolkit/timer.h"

namespace {

constexpr std::uint64_t kMB = 1ull << 20;

// Types the menu item's access key while the menu's loop runs; a menu that
// takes none in five seconds is ended.
int g_ticks = 0;
void CALLBACK TypeD(HWND, UINT, UINT_PTR, DWORD)
{
    if (++g_ticks > 100) EndMenu();
    else if (g_ticks % 10 == 1) testsupport::TypeCharacter(L'd', false);
}

class MemoryWindowTest : public FormMainTest {
protected:
    void SetUp() override
    {
        FormMainTest::SetUp();
        // The lists as the memory-list class gives them, and the status
        // that agrees with them.
        engine->StatusSource = [this] { return Machine(4'000'000'000ull, freeBytes + standbyBytes); };
        engine->ListSource = [this] {
            TMemoryListReading lists;
            lists.Source = TDivisionSource::dsMemoryLists;
            lists.FreeBytes = freeBytes;
            lists.ModifiedBytes = modifiedBytes;
            lists.StandbyByPriority[5] = standbyBytes;
            return lists;
        };
        keptClock = SampleClock;
        SampleClock = [this] { return clock; };
        Create();
    }
    void TearDown() override
    {
        if (TFormMemory::Current() != nullptr) TFormMemory::Current()->Free();
        FormMainTest::TearDown();
        SampleClock = keptClock;
        SetDarkTheme(false);
        SetCurrentLanguage(EnglishLanguage());
    }
    // A tick of the monitor, a second later.
    void Tick()
    {
        ++clock;
        form->TimerMem->OnTimer(form);
    }
    TFormMemory* OpenFromTray()
    {
        static_cast<TMenuItem*>(form->FindComponent(L"MemoryDetails"))->Click();
        return TFormMemory::Current();
    }
    std::function<std::int64_t()> keptClock;
    std::int64_t clock = 1'800'000'000;
    std::uint64_t freeBytes = 1024 * kMB, modifiedBytes = 512 * kMB, standbyBytes = 1024 * kMB;
};

TEST_F(MemoryWindowTest, OpensOnceFromTheTrayAndFromTheMonitorsMenu)
{
    TFormMemory* window = OpenFromTray();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(OpenFromTray(), window) << "a second copy";
    window->Close();
    Application->ProcessMessages();
    EXPECT_EQ(TFormMemory::Current(), nullptr) << "closing frees the window";

    // The menu key on the monitor opens its menu; its access key opens the window.
    form->Show();
    g_ticks = 0;
    const UINT_PTR typing = SetTimer(nullptr, 0, 50, &TypeD);
    SendMessageW(form->GroupBoxMonitor->Handle(), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(form->GroupBoxMonitor->Handle()), -1);
    KillTimer(nullptr, typing);
    Application->ProcessMessages();
    EXPECT_NE(TFormMemory::Current(), nullptr);
}

TEST_F(MemoryWindowTest, KeepsItsPlaceAndSize)
{
    TFormMemory* window = OpenFromTray();
    window->SetBounds(123, 87, 600, 520);
    const RECT client = window->ClientRect();
    window->Close();
    Application->ProcessMessages();
    const auto kept = ReadDetailsPlace();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Left, 123);
    EXPECT_EQ(kept->Width, client.right);
    window = OpenFromTray();
    EXPECT_EQ(window->Left(), 123);
    EXPECT_EQ(window->Top(), 87);
    EXPECT_EQ(window->ClientRect().bottom, client.bottom);
}

TEST_F(MemoryWindowTest, ShowsTheDivisionOrSaysWindowsDoesNotGiveIt)
{
    Tick();
    TFormMemory* window = OpenFromTray();
    EXPECT_EQ(window->Bar->AccessibleValue(), L"In use 1.23 GB, Modified 512.00 MB, Standby 1.00 GB, Free 1.00 GB");
    EXPECT_FALSE(window->LabelNote->Visible());
    // Neither the memory-list class nor the counters, as under Wine.
    engine->ListSource = [] { return TMemoryListReading{}; };
    Tick();
    EXPECT_EQ(window->Bar->AccessibleValue(), L"In use 1.73 GB, Available 2.00 GB");
    EXPECT_TRUE(window->LabelNote->Visible());
    EXPECT_EQ(window->LabelNote->Caption(), Text(TText::DetailsNoDivision));
}

TEST_F(MemoryWindowTest, ARunsMarkTellsWhatItDidAndWhenTheGainWasGone)
{
    // A run a minute on, 2 s long, that took standby and modified pages
    // into free; available memory back at its level four minutes after.
    freeBytes = 200 * kMB;
    const std::int64_t start = clock + 60;
    testsupport::WriteBytes(form->HistoryFile, std::string(kHistoryHeader) + FormatIsoTime({2027, 1, 15, 8, 1, 0, 0}) +
                                                   ",manual,600,1224,1736,512,2.000,ok,\r\n");
    ASSERT_EQ(UtcSeconds(TLocalTime{2027, 1, 15, 8, 1, 0, 0}), start) << "the test's clock";
    for (int i = 0; i < 60; ++i) Tick();
    freeBytes = 840 * kMB;
    modifiedBytes = 0;
    standbyBytes = 896 * kMB;
    clock += 2;
    for (int i = 0; i < 300; ++i) {
        if (i == 240) freeBytes = 328 * kMB;
        Tick();
    }
    TFormMemory* window = OpenFromTray();
    ASSERT_EQ(window->Graph->Marks().size(), 1u);
    const std::wstring tip = window->Graph->Marks()[0].Tip;
    EXPECT_NE(tip.find(L"Manual, "), std::wstring::npos) << tip;
    EXPECT_NE(tip.find(L": Free +640.00 MB (Standby \u2212128.00 MB, Modified \u2212512.00 MB). Available memory was "
                       L"back to its level before the run after 4 min."),
              std::wstring::npos)
        << tip;
    EXPECT_NE(window->LabelRuns->Caption().find(L"Manual: Free +640.00 MB"), std::wstring::npos);
}

TEST_F(MemoryWindowTest, FollowsDpiThemeAndDirection)
{
    for (int i = 0; i < 20; ++i) Tick();
    TFormMemory* window = OpenFromTray();
    const int graphWidth = window->Graph->Width();
    RECT suggested;
    GetWindowRect(window->Handle(), &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
    SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(window->Graph->Width(), graphWidth * 3 / 2, 4);
    EXPECT_LE(window->LabelRuns->BoundsRect().bottom, window->ClientRect().bottom);

    Application->ProcessMessages();  // the light face drawn first
    form->ThemeClick(TThemeChoice::tcDark);
    EXPECT_TRUE(DarkTheme());
    // Repainted as the main window is, without being asked.
    UpdateWindow(window->Handle());
    Application->ProcessMessages();
    HDC dc = GetDC(window->Graph->Handle());
    const COLORREF top = GetPixel(dc, window->Graph->Width() - 3, 3);
    ReleaseDC(window->Graph->Handle(), dc);
    EXPECT_EQ(top, MemoryPartColor(TMemoryPart::mpFree)) << "the free part, dark";

    form->LanguageClick(L"ar");
    EXPECT_TRUE(window->RightToLeft());
    EXPECT_TRUE(GetWindowLongPtrW(window->Graph->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    form->LanguageClick(L"");
}

}  // namespace
