// The main window's kept settings, its report of what a run freed, and the
// unattended run: driven in-process over the real registry of the test prefix.
#include "tests/app/formmain_fixture.h"

#include <commctrl.h>
#include <sddl.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/language.h"
#include "app/closerequest.h"
#include "app/optimizerequest.h"
#include "app/productinfo.h"
#include "app/scheduledrun.h"
#include "app/singleinstance.h"
#include "controls/gradientbutton.h"
#include "controls/spinedit.h"
#include "controls/trayfigureicon.h"
#include "controls/trayicon.h"
#include "settings/autorun.h"
#include "settings/regaccess.h"
#include "settings/runhistory.h"
#include "tests/support/portable_copy.h"
#include "settings/usersettings.h"
#include "tests/support/history_files.h"
#include "tests/support/keyboard.h"
#include "tests/support/readonly_key.h"
#include "tests/support/user_values.h"
#include "toolkit/accel.h"
#include "toolkit/commandline.h"
#include "toolkit/modulepath.h"
#include "toolkit/checkbox.h"
#include "toolkit/edit.h"
#include "toolkit/groupbox.h"
#include "toolkit/hotkeyedit.h"
#include "toolkit/label.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/screen.h"
#include "toolkit/texts.h"
#include "toolkit/userlocale.h"
#include "toolkit/timer.h"
#include "toolkit/trackbar.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Quenfel";

void SetDword(const wchar_t* name, DWORD value)
{
    testsupport::SetUserDword(kKey, name, value);
}

void SetRaw(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    testsupport::SetUserRaw(kKey, name, type, bytes);
}

std::optional<DWORD> StoredDwordValue(const wchar_t* name)
{
    return testsupport::ReadUserDword(kKey, name);
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps messages until the condition holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Counts the blocks a run takes, and can act when the first one is taken.
struct TBlockCounter {
    int taken = 0;
    int held = 0;
    int failAfter = -1;
    std::function<void()> onFirst;
    TBlockSource Source()
    {
        TBlockSource heap = ProcessHeapBlocks();
        return {[this, heap](std::size_t size) -> void* {
                    if (failAfter >= 0 && held >= failAfter) return nullptr;
                    ++taken;
                    ++held;
                    if (taken == 1 && onFirst) onFirst();
                    return heap.Allocate(size);
                },
                [this, heap](void* block) {
                    --held;
                    heap.Free(block);
                }};
    }
};

constexpr std::uint16_t kDefaultKey = 0x0777;  // Ctrl+Alt+Shift+F8
constexpr std::uint16_t kCtrlAltK = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'K';

// Another program that takes a key for itself, on a window of its own.
class TOtherProgram {
public:
    TOtherProgram() : window_(CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {}
    ~TOtherProgram()
    {
        if (held_) UnregisterHotKey(window_, 7);
        DestroyWindow(window_);
    }
    TOtherProgram(const TOtherProgram&) = delete;
    TOtherProgram& operator=(const TOtherProgram&) = delete;
    // Whether the key was free to take; it is given back at once unless kept.
    bool Take(std::uint16_t key, bool keep = false)
    {
        const UINT flags = key >> 8;
        const UINT modifiers = (flags & HOTKEYF_SHIFT ? MOD_SHIFT : 0) | (flags & HOTKEYF_CONTROL ? MOD_CONTROL : 0)
                               | (flags & HOTKEYF_ALT ? MOD_ALT : 0);
        if (!RegisterHotKey(window_, 7, modifiers, key & 0xFF)) return false;
        if (keep)
            held_ = true;
        else
            UnregisterHotKey(window_, 7);
        return true;
    }

private:
    HWND window_;
    bool held_ = false;
};

// A caption's access key as a user types it: in lower case.
wchar_t LowerAccel(const std::wstring& caption)
{
    wchar_t letter = AccelChar(caption);
    CharLowerBuffW(&letter, 1);
    return letter;
}

// Typed while a menu is open, from inside its loop.
// Types a letter into the menu that is open, again every half second: on a
// loaded machine a letter typed before the menu has the keyboard is lost.
// A menu that takes none in five seconds is ended, so the test fails rather
// than waits for ever. The timer lives only while the menu's loop runs.
wchar_t g_typeInMenu = 0;
int g_menuTicks = 0;
void CALLBACK TypeInMenu(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_menuTicks;
    if (g_menuTicks > 100)
        EndMenu();
    else if (g_menuTicks % 10 == 1)
        testsupport::TypeCharacter(g_typeInMenu, false);
}

class FeaturesTest : public FormMainTest {
protected:
    void SetUp() override
    {
        FormMainTest::SetUp();
        Application->OnException = [this](TObject*, const Exception& e) { errors.push_back(e.Message()); };
    }
    void TearDown() override
    {
        FormMainTest::TearDown();
        Application->OnException = nullptr;
        SetCurrentLanguage(EnglishLanguage());
    }
    // The next window, as the program makes it after a restart.
    void Restart()
    {
        form->Free();
        form = nullptr;
        Create();
    }

    std::vector<std::wstring> errors;
};

} // namespace

// A portable copy says which program its autorun box starts, and says once,
// when it is first seen, that its folder cannot keep its settings.
TEST_F(FeaturesTest, APortableCopySaysOnceThatItsFolderCannotKeepItsSettings)
{
    // Where the new file would go: no save can be made, as on a read-only
    // stick. Made before the store is, which finds it out at once.
    testsupport::TScratchFolder folder(L"quenfel-portable-window");
    testsupport::WriteBytes(folder.File(L"Quenfel.ini"), "[Quenfel]\r\n");
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Quenfel.ini.new").c_str(), nullptr));
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    const testsupport::TRegistryStoreAfter registryAfter;
    const std::wstring notKept = Text(TText::ReportSettingsNotKept);

    Create();
    EXPECT_EQ(form->CheckBoxAutoRun2->Caption(), L"Autorun this copy on Windows start");
    form->TimerMemTimer(form);
    EXPECT_NE(form->LabelFree->Caption(), notKept) << "said before anything shows";
    form->Show();
    form->TimerMemTimer(form);
    EXPECT_EQ(form->LabelFree->Caption(), notKept);
    form->TimerReportTimer(form);

    form->ActionSettingsExecute(form);
    form->SpinEditAlarmMB->SetValue(300);
    form->ActionSettingsExecute(form);
    form->TimerMemTimer(form);
    EXPECT_TRUE(EndsWith(form->LabelFree->Caption(), L" Available")) << "said again";
    EXPECT_EQ(ReadStoredSettings().AlarmLevel, 300u) << "kept in memory";
    EXPECT_TRUE(errors.empty());
    Restart();
    EXPECT_EQ(form->SpinEditAlarmMB->Value(), 300) << "a window made again in the same run";

    // Nor its history: said once, after the run's report, never in a box;
    // later runs do not ask the folder again.
    form->Show();
    form->TimerMemTimer(form);  // this window's word on the settings
    form->TimerReportTimer(form);
    form->HistoryFile = folder.File(L"history.csv");
    const std::wstring lock = form->HistoryFile + L".lock";
    ASSERT_TRUE(CreateDirectoryW(form->HistoryFile.c_str(), nullptr) && CreateDirectoryW(lock.c_str(), nullptr));
    form->TrackRAM->SetPosition(1);
    for (int run = 0; run < 3; ++run) {
        form->ActionOptimizeExecute(form);
        EXPECT_NE(form->LabelFree->Caption(), Text(TText::ReportHistoryNotKept));
        form->TimerReportTimer(form);
        form->TimerMemTimer(form);
        EXPECT_EQ(form->LabelFree->Caption() == Text(TText::ReportHistoryNotKept), run == 0) << run;
        RemoveDirectoryW(form->HistoryFile.c_str());
        RemoveDirectoryW(lock.c_str());
    }
    EXPECT_EQ(GetFileAttributesW(form->HistoryFile.c_str()), INVALID_FILE_ATTRIBUTES) << "asked again";
    EXPECT_TRUE(errors.empty());
}

// Ticking the autorun box while Windows starts another copy asks first,
// naming it; the box shows whether the entry starts this copy, and a copy
// whose flag says "start with Windows" does not take the entry back.
TEST_F(FeaturesTest, TheAutorunBoxAsksBeforeTakingTheEntryFromAnotherCopy)
{
    testsupport::TScratchFolder folder(L"quenfel-other-copy");
    const std::wstring other = folder.File(L"Quenfel.exe"), ours = CommandForPath(ExecutablePath());
    testsupport::WriteBytes(other, "MZ");
    WriteRegValue(HKEY_CURRENT_USER, kUserRunKey, kUserRunValue, CommandForPath(other), TRegDataType::rdString);
    WriteRegValue(HKEY_CURRENT_USER, kKey, kAutorunFlagValue, std::wstring(L"1"), TRegDataType::rdString);
    auto entry = [] { return ReadRegString(kUserRunKey, kUserRunValue, HKEY_CURRENT_USER); };

    Create();
    EXPECT_FALSE(form->CheckBoxAutoRun2->Checked());
    EXPECT_EQ(entry(), CommandForPath(other));
    EXPECT_EQ(ReadRegString(kKey, kAutorunFlagValue, HKEY_CURRENT_USER), L"1");
    std::vector<std::wstring> asked;
    bool take = false;
    form->AskTakeAutorun = [&](const std::wstring& copy) {
        asked.push_back(copy);
        return take;
    };
    form->CheckBoxAutoRun2->SetChecked(true);
    EXPECT_FALSE(form->CheckBoxAutoRun2->Checked());
    EXPECT_EQ(entry(), CommandForPath(other));
    take = true;
    form->CheckBoxAutoRun2->SetChecked(true);
    EXPECT_TRUE(form->CheckBoxAutoRun2->Checked());
    EXPECT_EQ(entry(), ours);
    EXPECT_EQ(asked, (std::vector<std::wstring>{other, other}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, SettingsSurviveARestart)
{
    status = Machine(4'000'000'000ull, 1'000'000'000ull);  // the slider spans 1 to 2000
    Create();
    form->ActionSettingsExecute(form);
    form->TrackRAM->SetPosition(812);
    form->SpinEditAlarmMB->SetValue(300);
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditRefresh->SetValue(5);
    form->ShowFreeInIconClick(form);
    form->HotkeyOptimize->SetHotkey(kCtrlAltK);
    EXPECT_FALSE(form->ShowFreeInIcon->Checked());
    EXPECT_FALSE(StoredDwordValue(L"RamToFree"));  // nothing until the page closes
    form->ActionSettingsExecute(form);
    EXPECT_EQ(StoredDwordValue(L"RamToFree"), 812u);
    EXPECT_EQ(StoredDwordValue(L"AlarmLevel"), 300u);
    EXPECT_EQ(StoredDwordValue(L"AutoOptimize"), 1u);
    EXPECT_EQ(StoredDwordValue(L"RefreshPeriod"), 5u);
    EXPECT_EQ(StoredDwordValue(L"TrayShowsFree"), 0u);
    EXPECT_EQ(StoredDwordValue(L"OptimizeHotkey"), kCtrlAltK);

    Restart();
    EXPECT_EQ(form->TrackRAM->Position(), 812);
    EXPECT_EQ(form->LabelSlider->Caption(), L"812 MB");
    EXPECT_EQ(form->SpinEditAlarmMB->Value(), 300);
    EXPECT_TRUE(form->CheckBoxAutoOptimize->Checked());
    EXPECT_EQ(form->SpinEditRefresh->Value(), 5);
    EXPECT_EQ(form->TimerMem->Interval(), 5000u);
    EXPECT_TRUE(form->TimerMem->Enabled());
    EXPECT_FALSE(form->ShowFreeInIcon->Checked());
    EXPECT_EQ(form->HotkeyOptimize->Hotkey(), kCtrlAltK);
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, ClosingTheWindowOrEndingTheSessionStoresTheSettings)
{
    Create();
    form->SpinEditAlarmMB->SetValue(250);
    TCloseAction action = TCloseAction::caHide;
    form->FormClose(form, action);
    EXPECT_EQ(StoredDwordValue(L"AlarmLevel"), 250u);
    EXPECT_FALSE(form->TimerMem->Enabled());

    // Heard on the application window, which exists even when the main
    // window was never made (a start in the tray).
    EXPECT_FALSE(form->HandleAllocated());
    form->SpinEditAlarmMB->SetValue(260);
    SendMessageW(Application->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(StoredDwordValue(L"AlarmLevel"), 260u);
    form->SpinEditAlarmMB->SetValue(270);
    SendMessageW(Application->Handle(), WM_ENDSESSION, FALSE, 0);  // the session goes on
    EXPECT_EQ(StoredDwordValue(L"AlarmLevel"), 260u);
}

TEST_F(FeaturesTest, AStoreThatCannotBeWrittenIsReportedButTheWindowStillCloses)
{
    Create();
    SetDword(L"AlarmLevel", 9);
    TReadOnlyKey readOnly(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(readOnly.Applied());
    form->SpinEditAlarmMB->SetValue(250);
    TCloseAction action = TCloseAction::caHide;
    EXPECT_NO_THROW(form->FormClose(form, action));
    EXPECT_EQ(action, TCloseAction::caHide);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_FALSE(form->TimerMem->Enabled());
    EXPECT_EQ(StoredDwordValue(L"AlarmLevel"), 9u);
}

TEST_F(FeaturesTest, NothingStoredStartsAsDesigned)
{
    status = Machine(256'000'000ull, 100'000'000ull);
    Create();
    EXPECT_EQ(form->TrackRAM->Position(), 64);
    EXPECT_EQ(form->SpinEditAlarmMB->Value(), 0);
    EXPECT_FALSE(form->CheckBoxAutoOptimize->Checked());
    EXPECT_EQ(form->SpinEditRefresh->Value(), 1);
    EXPECT_EQ(form->TimerMem->Interval(), 1000u);
    EXPECT_TRUE(form->ShowFreeInIcon->Checked());
    EXPECT_EQ(form->HotkeyOptimize->Hotkey(), kDefaultKey);
    EXPECT_FALSE(StoredDwordValue(L"RamToFree"));  // starting writes nothing
}

TEST_F(FeaturesTest, ABadStoredValueFallsBackToItsDefaultWithoutAnError)
{
    status = Machine(256'000'000ull, 100'000'000ull);  // slider 1..128, starts at 64
    const std::vector<BYTE> text = {'5', 0, 0, 0};
    const std::vector<BYTE> shortDword = {5, 0};
    const std::vector<BYTE> qword = {5, 0, 0, 0, 0, 0, 0, 0};
    struct TCase {
        const char* what;
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
    };
    auto dword = [](DWORD v) {
        return std::vector<BYTE>{BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
    };
    const std::vector<TCase> cases = {
        {"ram as text", L"RamToFree", REG_SZ, text},
        {"ram short", L"RamToFree", REG_DWORD, shortDword},
        {"ram as qword", L"RamToFree", REG_QWORD, qword},
        {"alarm as text", L"AlarmLevel", REG_SZ, text},
        {"alarm short", L"AlarmLevel", REG_DWORD, shortDword},
        {"alarm out of range", L"AlarmLevel", REG_DWORD, dword(0x80000000u)},
        {"auto as text", L"AutoOptimize", REG_SZ, text},
        {"auto short", L"AutoOptimize", REG_DWORD, shortDword},
        {"auto out of range", L"AutoOptimize", REG_DWORD, dword(2)},
        {"refresh as text", L"RefreshPeriod", REG_SZ, text},
        {"refresh short", L"RefreshPeriod", REG_DWORD, shortDword},
        {"refresh out of range", L"RefreshPeriod", REG_DWORD, dword(0)},
        {"tray figure as text", L"TrayShowsFree", REG_SZ, text},
        {"tray figure out of range", L"TrayShowsFree", REG_DWORD, dword(2)},
        {"hotkey as text", L"OptimizeHotkey", REG_SZ, text},
        {"hotkey short", L"OptimizeHotkey", REG_DWORD, shortDword},
        {"hotkey with a modifier beyond the four", L"OptimizeHotkey", REG_DWORD, dword(0x1000u | kCtrlAltK)},
        {"hotkey beyond a word", L"OptimizeHotkey", REG_DWORD, dword(0x10000u | kCtrlAltK)},
        {"hotkey modifiers without a key", L"OptimizeHotkey", REG_DWORD, dword(kCtrlAltK & 0xFF00)},
        {"hotkey key alone", L"OptimizeHotkey", REG_DWORD, dword('K')},
        {"hotkey key with Shift only", L"OptimizeHotkey", REG_DWORD, dword(HOTKEYF_SHIFT << 8 | 'K')},
    };
    for (const TCase& c : cases) {
        ClearAutorunValues();
        // The others hold good values, which must still arrive.
        SetDword(L"RamToFree", 100);
        SetDword(L"AlarmLevel", 300);
        SetDword(L"AutoOptimize", 1);
        SetDword(L"RefreshPeriod", 5);
        SetDword(L"TrayShowsFree", 0);
        SetDword(L"OptimizeHotkey", kCtrlAltK);
        SetRaw(c.name, c.type, c.bytes);
        if (form != nullptr) form->Free();
        form = nullptr;
        Create();
        const std::wstring bad = c.name;
        EXPECT_EQ(form->TrackRAM->Position(), bad == L"RamToFree" ? 64 : 100) << c.what;
        EXPECT_EQ(form->SpinEditAlarmMB->Value(), bad == L"AlarmLevel" ? 0 : 300) << c.what;
        EXPECT_EQ(form->CheckBoxAutoOptimize->Checked(), bad != L"AutoOptimize") << c.what;
        EXPECT_EQ(form->SpinEditRefresh->Value(), bad == L"RefreshPeriod" ? 1 : 5) << c.what;
        EXPECT_EQ(form->TimerMem->Interval(), bad == L"RefreshPeriod" ? 1000u : 5000u) << c.what;
        EXPECT_EQ(form->ShowFreeInIcon->Checked(), bad == L"TrayShowsFree") << c.what;
        EXPECT_EQ(form->HotkeyOptimize->Hotkey(), bad == L"OptimizeHotkey" ? kDefaultKey : kCtrlAltK) << c.what;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, TheAmountToFreeIsHeldToTheSlider)
{
    status = Machine(256'000'000ull, 100'000'000ull);  // slider 1..128
    const struct { DWORD stored; int position; } cases[] = {{0, 1}, {129, 128}, {0xFFFFFFFFu, 128}, {7, 7}};
    for (const auto& c : cases) {
        SetDword(L"RamToFree", c.stored);
        if (form != nullptr) form->Free();
        form = nullptr;
        Create();
        EXPECT_EQ(form->TrackRAM->Position(), c.position) << c.stored;
        EXPECT_EQ(form->LabelSlider->Caption(), std::to_wstring(c.position) + L" MB") << c.stored;
    }
}

TEST_F(FeaturesTest, ARunsReportStandsInTheLabelForAboutThreeSeconds)
{
    status = Machine(4'000'000'000ull, 1'000'000'000ull);
    Create();
    form->Show();
    form->TrackRAM->SetPosition(2);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    // The release pass gives 812.5 MB back to the machine.
    engine->OnBlockReleased = [this](TObject*, std::int32_t) { status.AvailPhys = 1'000'000'000ull + 851'968'000ull; };
    form->ActionOptimizeExecute(form);
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_EQ(form->LabelFree->Caption(), L"Freed 812.50 MB");

    form->TimerMemTimer(form);  // a tick does not cut the report short
    EXPECT_EQ(form->LabelFree->Caption(), L"Freed 812.50 MB");
    ASSERT_TRUE(PumpUntil([&] { return EndsWith(form->LabelFree->Caption(), L" Available"); }, std::chrono::seconds(15)));
    const auto held = std::chrono::steady_clock::now() - shown;
    EXPECT_GE(held, std::chrono::milliseconds(2500));
    EXPECT_EQ(form->LabelFree->Caption(), L"1.72 GB Available");
    EXPECT_FALSE(form->TrayIcon->Active());
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"");

    // Nothing came back this time.
    engine->OnBlockReleased = nullptr;
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(form->LabelFree->Caption(), L"No memory was freed");
}

TEST_F(FeaturesTest, InTheTrayTheReportIsABalloonAndTheTipStaysTheFreeMemory)
{
    status = Machine(4'000'000'000ull, 1'000'000'000ull);
    Create();
    form->TrackRAM->SetPosition(1);
    form->GradientButton1Click(form);
    ASSERT_TRUE(form->TrayIcon->IconAdded());
    engine->OnBlockReleased = [this](TObject*, std::int32_t) { status.AvailPhys += 1'048'576; };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"Freed 1.00 MB");
    EXPECT_FALSE(form->TimerReport->Enabled());
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Hint(), L"954.67 MB Available");
    EXPECT_EQ(form->LabelFree->Caption(), L"954.67 MB Available");
}

TEST_F(FeaturesTest, InTheTrayTheIconShowsTheFigureWhileItsMenuItemIsChecked)
{
    status = Machine(4'000'000'000ull, 2'000'000'000ull);
    Create();
    const HICON program = form->Icon().Handle();
    form->GradientButton1Click(form);
    const HICON fifty = form->TrayIcon->Icon().Handle();
    EXPECT_NE(fifty, program);
    EXPECT_EQ(form->TrayIcon->Icon().Width(), GetSystemMetrics(SM_CXSMICON));
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Icon().Handle(), fifty);  // the same figure is not drawn again
    status.AvailPhys = 500'000'000ull;
    form->TimerMemTimer(form);
    EXPECT_NE(form->TrayIcon->Icon().Handle(), fifty);

    form->ShowFreeInIconClick(form);
    EXPECT_FALSE(form->ShowFreeInIcon->Checked());
    EXPECT_EQ(form->TrayIcon->Icon().Handle(), program);
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Icon().Handle(), program);
    form->ShowFreeInIconClick(form);
    const HICON dark = form->TrayIcon->Icon().Handle();
    EXPECT_NE(dark, program);
    EXPECT_TRUE(form->TrayIcon->IconAdded());

    // The user switches to a light taskbar; the system tells every window.
    constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    testsupport::SetUserDword(kPersonalize, L"SystemUsesLightTheme", 1);
    SendMessageW(Application->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme");
    EXPECT_TRUE(form->TrayFigure->LightTaskbar());
    EXPECT_NE(form->TrayIcon->Icon().Handle(), dark);
}

TEST_F(FeaturesTest, AnotherCopysRequestRunsOnceAndNeverInsideARun)
{
    Create();
    form->TrackRAM->SetPosition(3);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    const UINT request = OptimizeRequestMessage();
    ASSERT_NE(request, 0u);
    SendMessageW(Application->Handle(), request, 0, 0);
    EXPECT_EQ(counter.taken, 3);

    // A request that arrives while the run pumps its messages is dropped.
    counter.taken = 0;
    counter.onFirst = [&] { SendMessageW(Application->Handle(), request, 0, 0); };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 3);
    EXPECT_EQ(counter.held, 0);

    // On the settings page two requests wait, and run once, after it closes.
    counter = {};
    form->ActionSettingsExecute(form);
    for (int i = 0; i < 2; ++i) SendMessageW(Application->Handle(), request, 0, 0);
    EXPECT_FALSE(PumpUntil([&] { return counter.taken != 0; }, std::chrono::milliseconds(600)));
    form->ActionSettingsExecute(form);
    EXPECT_FALSE(PumpUntil([&] { return counter.taken > 3; }, std::chrono::milliseconds(600)));
    EXPECT_EQ(counter.taken, 3);
}

TEST_F(FeaturesTest, TheHotkeyRunsAsTheTrayMenuDoesAndNeverInsideARun)
{
    Create();
    form->TrackRAM->SetPosition(3);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    const LPARAM pressed = MAKELPARAM(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F8);
    SendMessageW(Application->Handle(), WM_HOTKEY, TFormMain::OptimizeHotkeyId, pressed);
    EXPECT_EQ(counter.taken, 3);
    EXPECT_EQ(form->LabelFree->Caption(), L"No memory was freed");  // reported as the menu's run is

    // Pressed again while the run pumps its messages: no second run.
    counter.taken = 0;
    counter.onFirst = [&] { SendMessageW(Application->Handle(), WM_HOTKEY, TFormMain::OptimizeHotkeyId, pressed); };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 3);
    EXPECT_EQ(counter.held, 0);
    // Another id is another program's business.
    counter.onFirst = nullptr;
    counter.taken = 0;
    SendMessageW(Application->Handle(), WM_HOTKEY, TFormMain::OptimizeHotkeyId + 1, pressed);
    EXPECT_EQ(counter.taken, 0);
    // Held back, silently, where the button is: on the settings page.
    form->TimerReportTimer(form);  // the last report's time is up
    form->ActionSettingsExecute(form);
    SendMessageW(Application->Handle(), WM_HOTKEY, TFormMain::OptimizeHotkeyId, pressed);
    EXPECT_EQ(counter.taken, 0);
    EXPECT_FALSE(form->SpeedButtonOptimize->Enabled());
    EXPECT_FALSE(form->TimerReport->Enabled()) << "said something";
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, TheHotkeyIsHeldChangedAtOnceAndGivenBackWithTheWindow)
{
    TOtherProgram other;
    Create();
    EXPECT_FALSE(other.Take(kDefaultKey));
    EXPECT_FALSE(form->LabelHotkeyTaken->Visible());

    form->ActionSettingsExecute(form);
    form->HotkeyOptimize->SetHotkey(kCtrlAltK);
    EXPECT_TRUE(other.Take(kDefaultKey));
    EXPECT_FALSE(other.Take(kCtrlAltK));
    // Emptied: no key at all.
    form->HotkeyOptimize->SetHotkey(0);
    EXPECT_TRUE(other.Take(kCtrlAltK));
    EXPECT_TRUE(other.Take(kDefaultKey));
    EXPECT_FALSE(form->LabelHotkeyTaken->Visible());
    form->ActionSettingsExecute(form);
    EXPECT_EQ(StoredDwordValue(L"OptimizeHotkey"), 0u);
    Restart();
    EXPECT_EQ(form->HotkeyOptimize->Hotkey(), 0);
    EXPECT_TRUE(other.Take(kDefaultKey));

    form->HotkeyOptimize->SetHotkey(kCtrlAltK);
    EXPECT_FALSE(other.Take(kCtrlAltK));
    form->Free();
    form = nullptr;
    EXPECT_TRUE(other.Take(kCtrlAltK));
    EXPECT_TRUE(errors.empty());
}

// The field as the keyboard drives it. Modifiers alone choose nothing;
// leaving or Escape keeps the last whole key; Backspace and Delete empty it;
// a reserved key is refused with a word beside the field and keeps its
// meaning; Alt with a letter is a combination, never the window's access key.
TEST_F(FeaturesTest, TheHotkeyFieldTakesOnlyWholeKeysPressedInIt)
{
    using namespace testsupport;
    TOtherProgram other;
    Create();
    form->Show();
    SetForegroundWindow(form->Handle());
    form->ActionSettingsExecute(form);
    THotkeyEdit* field = form->HotkeyOptimize;
    field->SetFocus();
    ASSERT_EQ(GetFocus(), field->Handle());
    const std::uint16_t ctrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;

    KeysDown({VK_CONTROL, VK_MENU});
    EXPECT_EQ(field->Shown(), ctrlAlt);
    EXPECT_EQ(field->AccessibleValue(), THotkeyEdit::HotkeyText(ctrlAlt));
    EXPECT_EQ(field->Hotkey(), kDefaultKey);
    EXPECT_FALSE(other.Take(kDefaultKey)) << "given back while modifiers are held";
    Press({'K'});
    KeysUp({VK_CONTROL, VK_MENU});
    EXPECT_EQ(field->Hotkey(), kCtrlAltK);
    EXPECT_EQ(field->Shown(), kCtrlAltK);
    EXPECT_FALSE(other.Take(kCtrlAltK));

    // Alt to see the access keys, Escape, Shift+Tab out: the key stays.
    Press({VK_MENU});
    EXPECT_EQ(field->Shown(), kCtrlAltK);
    Press({VK_ESCAPE});
    Press({VK_SHIFT, VK_TAB});
    EXPECT_NE(GetFocus(), field->Handle());
    EXPECT_EQ(field->Hotkey(), kCtrlAltK);
    EXPECT_EQ(field->Shown(), kCtrlAltK);
    EXPECT_FALSE(other.Take(kCtrlAltK));

    // Alt+S is the key, not "&Settings Menu", which would close the page.
    field->SetFocus();
    Press({VK_MENU, 'S'});
    EXPECT_EQ(field->Hotkey(), HOTKEYF_ALT << 8 | 'S');
    EXPECT_FALSE(form->SpeedButtonOptimize->Enabled()) << "the page was closed";

    for (const WORD emptying : {VK_BACK, VK_DELETE}) {
        Press({'K'});  // alone, it is taken with Ctrl+Alt
        EXPECT_EQ(field->Hotkey(), kCtrlAltK);
        Press({emptying});
        EXPECT_EQ(field->Hotkey(), 0) << emptying;
        EXPECT_EQ(field->Shown(), 0) << emptying;
        EXPECT_TRUE(other.Take(kCtrlAltK)) << emptying;
    }

    // Reserved: refused, said beside the field, the last key kept.
    Press({VK_CONTROL, VK_MENU, 'K'});
    for (const WORD letter : {'C', 'V', 'X', 'Z', 'A', 'S', 'P'}) {
        Press({VK_CONTROL, letter});
        EXPECT_EQ(field->Hotkey(), kCtrlAltK) << char(letter);
        EXPECT_TRUE(form->LabelHotkeyTaken->Visible()) << char(letter);
        EXPECT_EQ(form->LabelHotkeyTaken->Caption(), Text(TText::SettingsHotkeyReserved));
    }
    Press({VK_CONTROL, VK_MENU, 'J'});
    EXPECT_FALSE(form->LabelHotkeyTaken->Visible()) << "the word outlived a key chosen";
    // Alt+F4 still closes the window (asked here, so the test's program
    // goes on), and is never the key.
    bool closeAsked = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { closeAsked = !(canClose = false); };
    Press({VK_MENU, VK_F4});
    EXPECT_TRUE(closeAsked);
    EXPECT_EQ(field->Hotkey(), (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'J');
    EXPECT_TRUE(errors.empty());
}

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up turn the pages
// from any control on them, even the hotkey field that takes every other key,
// and a focus left on the page that went moves to the tabs.
TEST_F(FeaturesTest, CtrlTabTurnsTheSettingsPagesFromAnyControlOnThem)
{
    using namespace testsupport;
    Create();
    form->Show();
    SetForegroundWindow(form->Handle());
    form->ActionSettingsExecute(form);
    TPageControl* pages = form->PageControlSettings;
    const std::uint16_t key = form->HotkeyOptimize->Hotkey();
    form->HotkeyOptimize->SetFocus();
    Press({VK_CONTROL, VK_TAB});
    EXPECT_EQ(pages->ActivePage(), form->TabSheetMemory);
    EXPECT_EQ(form->HotkeyOptimize->Hotkey(), key) << "the field took Ctrl+Tab as its key";
    EXPECT_EQ(GetFocus(), pages->Handle());
    form->EditTrimExclude->SetFocus();
    Press({VK_CONTROL, VK_NEXT});
    EXPECT_EQ(pages->ActivePage(), form->TabSheetAbout);
    EXPECT_EQ(GetFocus(), pages->Handle());
    Press({VK_CONTROL, VK_TAB});
    EXPECT_EQ(pages->ActivePage(), form->TabSheetSettings) << "not round the end";
    form->TrackRAM->SetFocus();
    Press({VK_CONTROL, VK_PRIOR});
    EXPECT_EQ(pages->ActivePage(), form->TabSheetAbout);
    Press({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_EQ(pages->ActivePage(), form->TabSheetMemory);
    EXPECT_TRUE(errors.empty());
}

// Every language's access keys answer their letter typed in lower case, in
// whatever script: Alt with it in the window; in the tray menu, light (the
// system's menu) and dark (drawn by us, where the letter must choose the
// item, not only highlight it).
TEST_F(FeaturesTest, EveryLanguagesAccessKeysAnswerTheirLetterInLowerCase)
{
    using namespace testsupport;
    Create();
    form->Show();
    SetForegroundWindow(form->Handle());
    form->TrackRAM->SetPosition(1);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    HWND menuWindow = form->PopupMenuIcon->WindowHandle();
    for (const TLanguage& language : Languages()) {
        SCOPED_TRACE(ToUtf8(language.Tag));
        form->LanguageClick(language.Tag);
        SetForegroundWindow(form->Handle());
        int runs = counter.taken;
        TypeAltCharacter(LowerAccel(form->SpeedButtonOptimize->Caption()));
        EXPECT_EQ(counter.taken, runs + 1) << "Optimize Now";
        // Room on the desktop on the side it grows to.
        form->SetLeft(language.RightToLeft ? 1000 - form->Width() : 20);
        RECT closed{}, open{}, back{};
        GetWindowRect(form->Handle(), &closed);
        TypeAltCharacter(LowerAccel(form->SpeedButtonSettings->Caption()));
        EXPECT_FALSE(form->SpeedButtonOptimize->Enabled()) << "the settings did not open";
        GetWindowRect(form->Handle(), &open);
        TypeAltCharacter(LowerAccel(form->SpeedButtonSettings->Caption()));
        EXPECT_TRUE(form->SpeedButtonOptimize->Enabled()) << "the settings did not close";
        // The settings grow the window away from the edge its reading starts
        // at, and it shrinks back to that edge.
        GetWindowRect(form->Handle(), &back);
        EXPECT_GT(open.right - open.left, closed.right - closed.left);
        if (language.RightToLeft)
            EXPECT_EQ(open.right, closed.right);
        else
            EXPECT_EQ(open.left, closed.left);
        EXPECT_TRUE(EqualRect(&back, &closed));

        form->ThemeClick(TThemeChoice::tcLight);
        runs = counter.taken;
        g_typeInMenu = LowerAccel(form->OptimizeNow->Caption());
        SetForegroundWindow(menuWindow);
        g_menuTicks = 0;
        const UINT_PTR typing = SetTimer(nullptr, 0, 50, &TypeInMenu);
        EXPECT_TRUE(form->PopupMenuIcon->Popup(10, 10)) << "the light menu chose nothing";
        KillTimer(nullptr, typing);
        Application->ProcessMessages();
        EXPECT_EQ(counter.taken, runs + 1) << "the light menu's Optimize";

        form->ThemeClick(TThemeChoice::tcDark);
        HMENU menu = form->PopupMenuIcon->Handle();
        const auto asked = [&](HMENU within, const TMenuItem* item) {
            return SendMessageW(menuWindow, WM_MENUCHAR, MAKEWPARAM(LowerAccel(item->Caption()), MF_POPUP),
                                reinterpret_cast<LPARAM>(within));
        };
        // Each item where the menu shows it.
        const auto eachShown = [&](HMENU within, const TMenuItem& parent) {
            int position = 0;
            for (std::size_t i = 0; i < parent.Count(); ++i) {
                const TMenuItem* item = parent.Items(i);
                if (!item->Visible()) continue;
                if (AccelChar(item->Caption()) != 0) {
                    EXPECT_EQ(asked(within, item), MAKELRESULT(position, MNC_EXECUTE)) << ToUtf8(item->Caption());
                }
                ++position;
            }
            return position;
        };
        EXPECT_EQ(eachShown(menu, form->PopupMenuIcon->Items()), GetMenuItemCount(menu));
        HMENU themes = GetSubMenu(menu, form->ThemeMenu->MenuIndex());
        EXPECT_EQ(eachShown(themes, *form->ThemeMenu), GetMenuItemCount(themes));
    }
    form->ThemeClick(TThemeChoice::tcWindows);
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, AHotkeyAnotherProgramHoldsIsToldOnceAndTheProgramGoesOn)
{
    TOtherProgram other;
    ASSERT_TRUE(other.Take(kDefaultKey, true));
    Create();
    EXPECT_TRUE(form->LabelHotkeyTaken->Visible());
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"");  // the window is open: its settings page says it

    form->GradientButton1Click(form);
    const std::wstring told = Text(TText::SettingsHotkeyTakenTray, {THotkeyEdit::HotkeyText(kDefaultKey)});
    EXPECT_EQ(form->TrayIcon->BalloonText(), told);
    EXPECT_EQ(form->TrayIcon->BalloonStyle(), TBalloonStyle::bsQuiet);
    EXPECT_NE(told.find(L"F8"), std::wstring::npos);

    // Said once: neither the way back to the tray nor choosing the taken key
    // again says it anew.
    form->TrayIcon->ShowBalloon(L"", L"since", TBalloonStyle::bsQuiet);
    form->OpenMainClick(form);
    form->ActionSettingsExecute(form);
    form->HotkeyOptimize->SetHotkey(kCtrlAltK);
    EXPECT_FALSE(form->LabelHotkeyTaken->Visible());
    form->HotkeyOptimize->SetHotkey(kDefaultKey);
    EXPECT_TRUE(form->LabelHotkeyTaken->Visible());
    form->ActionSettingsExecute(form);
    form->GradientButton1Click(form);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"since");

    // The program works on, and keeps the user's choice.
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    form->TrackRAM->SetPosition(2);
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 2);
    EXPECT_EQ(StoredDwordValue(L"OptimizeHotkey"), kDefaultKey);
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, ASecondCopyReachesACopyStartedInTheTray)
{
    const std::wstring title = Application->Title();
    Application->SetTitle(ApplicationTitle);
    struct TRestoreTitle {
        std::wstring title;
        ~TRestoreTitle() { Application->SetTitle(title); }
    } restore{title};
    Create();
    form->TrackRAM->SetPosition(2);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    // Started in the tray: the main window is not made until first shown.
    form->TrayIcon->SetActive(true);
    EXPECT_FALSE(form->HandleAllocated());
    // An elevated request goes only to a copy known to be elevated too.
    for (const std::optional<bool> copyElevated : {std::optional<bool>(false), std::optional<bool>()})
        EXPECT_EQ(RequestRunningCopyOptimize(std::chrono::seconds(2), {true, [&](std::uint32_t) { return copyElevated; }}),
                  TRequestAnswer::raCopyLacksRights);
    ASSERT_EQ(RequestRunningCopyOptimize(std::chrono::seconds(2), {true, [](std::uint32_t) { return true; }}),
              TRequestAnswer::raSent);
    EXPECT_TRUE(PumpUntil([&] { return counter.taken == 2 && !form->Optimizing(); }, std::chrono::seconds(10)));
    EXPECT_EQ(counter.held, 0);
    EXPECT_FALSE(form->HandleAllocated());

    // No application window of that title: no copy runs, and the request fails.
    Application->SetTitle(title);
    EXPECT_EQ(RequestRunningCopyOptimize(std::chrono::milliseconds(300), {}), TRequestAnswer::raFailed);
}

TEST_F(FeaturesTest, AnUnattendedRunFreesTheStoredAmountOrHalfTheSlider)
{
    status = Machine(256'000'000ull, 100'000'000ull);  // slider 1..128
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    EXPECT_EQ(RunScheduledOptimize(*engine), kScheduledRunDone);
    EXPECT_EQ(counter.taken, 64);

    counter.taken = 0;
    SetDword(L"RamToFree", 7);
    EXPECT_EQ(RunScheduledOptimize(*engine), kScheduledRunDone);
    EXPECT_EQ(counter.taken, 7);

    counter.taken = 0;
    SetDword(L"RamToFree", 0xFFFFFFFFu);
    EXPECT_EQ(RunScheduledOptimize(*engine), kScheduledRunDone);
    EXPECT_EQ(counter.taken, 128);
    EXPECT_EQ(counter.held, 0);
}

TEST_F(FeaturesTest, AnUnattendedRunThatRunsOutOfMemoryFailsAndHoldsNothing)
{
    SetDword(L"RamToFree", 20);
    TBlockCounter counter;
    counter.failAfter = 5;
    engine->BlockSource = counter.Source();
    EXPECT_EQ(RunScheduledOptimize(*engine), kScheduledRunFailed);
    EXPECT_EQ(counter.taken, 5);
    EXPECT_EQ(counter.held, 0);
}

namespace {

// The trigger of every run in a history file, in order.
std::vector<std::string> Triggers(const std::string& file)
{
    std::vector<std::string> triggers;
    for (std::size_t at = file.find("\r\n"); at != std::string::npos && at + 2 < file.size(); at = file.find("\r\n", at + 2)) {
        const std::size_t start = file.find(',', at) + 1;
        triggers.push_back(file.substr(start, file.find(',', start) - start));
    }
    return triggers;
}

} // namespace

TEST_F(FeaturesTest, AnAlarmOutOfReachRunsOnceAMinuteAndReportsOnlyTheFirstSilently)
{
    testsupport::TScratchFolder folder(L"QuenfelAlarm");
    status = Machine(4'000'000'000ull, 1'000'000'000ull);
    Create();
    form->HistoryFile = folder.File(L"history.csv");
    std::uint64_t now = 5'000'000;
    form->Clock = [&] { return now; };
    form->TrackRAM->SetPosition(1);
    // Each run gives back one more MB than the one before, so each would
    // have a report of its own.
    int runs = 0;
    engine->OnBlockReleased = [&](TObject*, std::int32_t) { status.AvailPhys += 1'048'576ull * ++runs; };
    form->CheckBoxAutoOptimize->SetChecked(true);
    form->SpinEditAlarmMB->SetValue(4000);
    form->GradientButton1Click(form);
    ASSERT_TRUE(form->TrayIcon->IconAdded());

    form->TimerMemTimer(form);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"Freed 1.00 MB");
    EXPECT_EQ(form->TrayIcon->BalloonStyle(), TBalloonStyle::bsQuiet);
    EXPECT_TRUE(form->TimerMem->Enabled());

    now += 1'000;
    form->TimerMemTimer(form);  // within the cool-down
    EXPECT_EQ(runs, 1);

    form->ActionOptimizeExecute(form);  // the user's run is never held back, and heard
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"Freed 2.00 MB");
    EXPECT_EQ(form->TrayIcon->BalloonStyle(), TBalloonStyle::bsAnnounce);

    now += 59'000;
    form->TimerMemTimer(form);  // a minute after the alarm run: again, but only the tip
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"Freed 2.00 MB");
    EXPECT_EQ(form->TrayIcon->Hint(), L"959.67 MB Available");

    now += 1'000;
    SendMessageW(Application->Handle(), OptimizeRequestMessage(), 0, 0);  // another copy's /optimize
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(Triggers(testsupport::ReadBytes(form->HistoryFile)),
              (std::vector<std::string>{"alarm", "manual", "alarm", "request"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FeaturesTest, AHistoryThatCannotBeWrittenIsReportedOnceAndTheRunsGoOn)
{
    testsupport::TScratchFolder folder(L"QuenfelLocked");
    const std::wstring file = folder.File(L"history.csv");
    const std::string stored = testsupport::HistoryOf(2);
    ASSERT_TRUE(testsupport::WriteBytes(file, stored));
    // Held by another program that shares it with no one. (A read-only file
    // would do as well on Windows; the tests run as root, whom Wine lets
    // write to it.)
    HANDLE holder = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Create();
    form->Show();
    form->HistoryFile = file;
    form->TrackRAM->SetPosition(2);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    engine->OnBlockReleased = [this](TObject*, std::int32_t) { status.AvailPhys += 1'048'576; };

    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 2);
    EXPECT_EQ(form->LabelFree->Caption(), L"Freed 2.00 MB");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(L"run history could not be written"), std::wstring::npos) << ToUtf8(errors[0]);

    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 4);
    EXPECT_EQ(errors.size(), 1u);
    CloseHandle(holder);
    EXPECT_EQ(testsupport::ReadBytes(file), stored);
}

namespace {

std::vector<BYTE> TextBytes(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {bytes, bytes + (text.size() + 1) * sizeof(wchar_t)};
}

} // namespace

// A language chosen in the tray menu re-labels the open window, its
// settings page and its menu at once, in a face that has its script, is kept
// and is spoken again after a restart. A stored value that names no
// language of ours, or is not text, gives Windows' own.
TEST_F(FeaturesTest, AChosenLanguageRelabelsTheOpenWindowAndSurvivesARestart)
{
    Create();
    form->TrackRAM->SetPosition(812);
    form->LanguageClick(L"de");
    auto german = [this](const char* when) {
        EXPECT_EQ(form->SpeedButtonOptimize->Caption(), L"Jetzt &optimieren") << when;
        EXPECT_EQ(form->CheckBoxAutoOptimize->Caption(), L"Automatisch optimieren bei freiem RAM unter") << when;
        EXPECT_EQ(form->OpenMain->Caption(), L"&Hauptfenster \u00F6ffnen") << when;
        EXPECT_EQ(form->LanguageMenu->Caption(), L"&Sprache") << when;
        EXPECT_TRUE(EndsWith(form->LabelFree->Caption(), L" verf\u00FCgbar")) << when;
        EXPECT_EQ(form->SpeedButtonOptimize->Font().Name(), MessageFontFace().Name) << when;
        EXPECT_EQ(form->Font().Name(), MessageFontFace().Name) << when;
        EXPECT_EQ(form->LanguageMenu->Items(0)->Caption(), L"Windows-Standard") << when;
        EXPECT_FALSE(form->LanguageMenu->Items(0)->Checked()) << when;
    };
    german("chosen");
    EXPECT_EQ(form->LabelSlider->Caption(), L"812 MB");
    const auto germanItem = static_cast<int>(1 + (FindLanguage(L"de") - Languages().data()));
    EXPECT_TRUE(form->LanguageMenu->Items(germanItem)->Checked());

    form->Free();
    form = nullptr;
    SetCurrentLanguage(EnglishLanguage());
    SpeakChosenLanguage();  // as a start does
    Create();
    german("after a restart");

    // Arabic reads from the right: the window and what is in it mirrored,
    // the tray menu, and every message box.
    EXPECT_EQ(MessageBoxReading(), 0u);
    form->Show();
    form->LanguageClick(L"ar");
    auto mirrored = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0; };
    EXPECT_TRUE(mirrored(form->Handle()));
    EXPECT_TRUE(mirrored(form->GroupBoxMonitor->Handle()));
    EXPECT_TRUE(form->PopupMenuIcon->RightToLeft());
    EXPECT_EQ(MessageBoxReading(), static_cast<UINT>(MB_RTLREADING | MB_RIGHT));
    // The shell's tip reads from the right too.
    form->GradientButton1Click(form);
    form->TimerMemTimer(form);
    EXPECT_EQ(form->TrayIcon->Hint().substr(0, 1), L"\u200F");
    form->OpenMainClick(form);

    // Back to Windows' own: the designed face again.
    form->LanguageClick(L"");
    EXPECT_FALSE(mirrored(form->Handle()));
    EXPECT_FALSE(mirrored(form->GroupBoxMonitor->Handle()));
    const TLanguage& windows = ChooseLanguage(UserPreferredLanguages());
    EXPECT_EQ(&CurrentLanguage(), &windows);
    EXPECT_TRUE(form->LanguageMenu->Items(0)->Checked());
    if (&windows == &EnglishLanguage()) {
        EXPECT_EQ(form->SpeedButtonOptimize->Caption(), L"&Optimize Now");
        EXPECT_EQ(form->Font().Name(), L"MS Sans Serif");
    }

    // A choice stored in another case checks the item of the language it
    // names; one that names none, Windows' own, which is then spoken.
    const struct {
        const wchar_t* stored;
        const wchar_t* checked;  // "": Windows' own
    } stored[] = {{L"DE", L"de"}, {L"pt-br", L"pt-BR"}, {L"xx-YY", L""}};
    for (const auto& c : stored) {
        SetRaw(L"Language", REG_SZ, TextBytes(c.stored));
        SpeakChosenLanguage();
        Restart();
        const std::size_t expected = *c.checked ? 1 + (FindLanguage(c.checked) - Languages().data()) : 0;
        for (std::size_t i = 0; i < form->LanguageMenu->Count(); ++i)
            EXPECT_EQ(form->LanguageMenu->Items(i)->Checked(), i == expected)
                << ToUtf8(c.stored) << ": " << ToUtf8(form->LanguageMenu->Items(i)->Caption());
    }

    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
    } bad[] = {
        {"unknown name", REG_SZ, TextBytes(L"xx-YY")},
        {"a number", REG_DWORD, {4, 0, 0, 0}},
        {"too long for a tag", REG_SZ, TextBytes(std::wstring(300, L'a'))},
        {"text without its end, cut in half a character", REG_SZ, {'d', 0, 'e'}},
    };
    for (const auto& c : bad) {
        SetRaw(L"Language", c.type, c.bytes);
        SetCurrentLanguage(*FindLanguage(L"ja"));
        SpeakChosenLanguage();
        EXPECT_EQ(&CurrentLanguage(), &windows) << c.what;
    }
}

namespace {

// The areas field of a history's last line.
std::string LastAreas(const std::string& file)
{
    const std::size_t end = file.rfind("\r\n", file.size() - 3);
    const std::string line = file.substr(end + 2, file.size() - end - 4);
    return line.substr(line.rfind(',') + 1);
}

} // namespace

// The areas chosen run in their order, each recorded with what it gave; one
// that needs rights this copy lacks can be seen but not chosen, and a stored
// one is skipped for rights, never failed.
TEST_F(FeaturesTest, TheChosenAreasRunInTheirOrderEachSkippedOnlyForItsReason)
{
    testsupport::TScratchFolder folder(L"QuenfelAreas");
    SetDword(L"MemoryAreas", 0x7F);
    Create();
    form->HistoryFile = folder.File(L"history.csv");
    form->Elevated = [] { return false; };
    form->WindowsVersion = [] { return TWindowsVersion{10, 0, 19045}; };
    form->Wow64 = [] { return false; };
    form->TrackRAM->SetPosition(2);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();

    form->ActionSettingsExecute(form);
    for (const TFormMain::TAreaRow& row : form->AreaRows) {
        const bool free = row.Area == TMemoryArea::maFill || row.Area == TMemoryArea::maWorkingSets;
        SCOPED_TRACE(std::string(AreaName(row.Area)));
        EXPECT_TRUE(row.Box->Checked()) << "the stored choice is kept";
        EXPECT_EQ(row.Box->Enabled(), free);
        EXPECT_EQ(row.Why->Visible(), !free);
        if (!free) {
            EXPECT_EQ(row.Why->Caption(), Text(TText::MemoryNeedsAdmin));
        }
    }
    EXPECT_TRUE(form->GradientButtonElevate->Visible());
    form->ActionSettingsExecute(form);
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(counter.taken, 2);
    const std::string areas = LastAreas(testsupport::ReadBytes(form->HistoryFile));
    EXPECT_EQ(areas.substr(0, 12), "workingsets=") << areas;
    EXPECT_NE(areas.find(" filecache=skipped-rights fill="), std::string::npos) << areas;
    EXPECT_NE(areas.find(" modified=skipped-rights standbylow=skipped-rights standby=skipped-rights "
                         "combine=skipped-rights"),
              std::string::npos)
        << areas;
    EXPECT_EQ(StoredDwordValue(L"MemoryAreas"), 0x7Fu);

    // With the rights, on a Windows without page combining.
    form->Elevated = [] { return true; };
    form->WindowsVersion = [] { return TWindowsVersion{6, 1, 7601}; };
    form->ActionSettingsExecute(form);
    for (const TFormMain::TAreaRow& row : form->AreaRows) {
        const bool combine = row.Area == TMemoryArea::maCombine;
        EXPECT_EQ(row.Box->Enabled(), !combine) << AreaName(row.Area);
        EXPECT_EQ(row.Why->Visible(), combine) << AreaName(row.Area);
    }
    EXPECT_EQ(form->AreaRows.back().Why->Caption(), Text(TText::MemoryNeedsWindows));
    EXPECT_FALSE(form->GradientButtonElevate->Visible());

    // The 32-bit program on a 64-bit Windows leaves the system-wide areas to
    // the 64-bit one.
    form->Wow64 = [] { return true; };
    form->ActionSettingsExecute(form);
    form->ActionSettingsExecute(form);
    for (const TFormMain::TAreaRow& row : form->AreaRows)
        EXPECT_EQ(row.Why->Caption() == Text(TText::MemoryNeeds64bit), AreaIsSystemWide(row.Area)) << AreaName(row.Area);
    form->ActionSettingsExecute(form);
    form->ActionOptimizeExecute(form);
    EXPECT_NE(LastAreas(testsupport::ReadBytes(form->HistoryFile)).find("filecache=skipped-bitness"), std::string::npos);

    // Windows refuses an area: the report and the history's result say so.
    form->Wow64 = [] { return false; };
    form->SystemAreaCall = [](TMemoryArea area) {
        return area == TMemoryArea::maStandby ? TStepCall{TStepOutcome::soFailed, 1314} : TStepCall{};
    };
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(form->LabelFree->Hint(),
              Text(TText::ReportRefused, {form->LabelFree->Caption(), Text(TText::MemoryStandby)}));
    form->TimerReportTimer(form);
    EXPECT_EQ(form->LabelFree->Caption(), Text(TText::ReportRefusedShort));
    const std::string history = testsupport::ReadBytes(form->HistoryFile);
    EXPECT_NE(history.find(",area failed,workingsets="), std::string::npos);
    EXPECT_NE(LastAreas(history).find(" standby=failed-1314 "), std::string::npos);
    form->ActionSettingsExecute(form);
    // Nothing chosen is the fill, as with nothing stored.
    for (const TFormMain::TAreaRow& row : form->AreaRows) row.Box->SetChecked(false);
    form->ActionSettingsExecute(form);
    EXPECT_EQ(StoredDwordValue(L"MemoryAreas"), 1u);
    form->ActionOptimizeExecute(form);
    EXPECT_EQ(LastAreas(testsupport::ReadBytes(form->HistoryFile)).substr(0, 5), "fill=");
    EXPECT_TRUE(errors.empty());
}

// The interval's runs are quiet, count from the end of the last run of any
// kind, never start on the settings page, and the tray's tip tells the next.
TEST_F(FeaturesTest, TheIntervalRunsQuietlyFromTheLastRunAndTheTipTellsTheNext)
{
    testsupport::TScratchFolder folder(L"QuenfelInterval");
    SetDword(L"IntervalMinutes", 5);
    Create();
    std::uint64_t now = GetTickCount64();
    form->HistoryFile = folder.File(L"history.csv");
    form->Clock = [&] { return now; };
    form->TrackRAM->SetPosition(1);
    TBlockCounter counter;
    engine->BlockSource = counter.Source();
    form->GradientButton1Click(form);
    form->TimerMemTimer(form);
    EXPECT_EQ(counter.taken, 0);
    EXPECT_EQ(form->TrayIcon->Hint(), L"953.67 MB Available\n" + Text(TText::MemoryNextRun, {L"5"}));
    // Its own time, whatever the monitor's: a minute at most, an hour's refresh or not.
    form->SpinEditRefresh->SetValue(3600);
    form->ActionSettingsExecute(form);
    form->ActionSettingsExecute(form);
    EXPECT_EQ(form->TimerMem->Interval(), 3'600'000u);
    EXPECT_TRUE(form->TimerInterval->Enabled());
    EXPECT_LE(form->TimerInterval->Interval(), 60'000u);

    now += 5 * 60'000;
    form->TimerIntervalTimer(form);
    EXPECT_EQ(counter.taken, 1);
    EXPECT_EQ(form->TrayIcon->BalloonText(), L"") << "told only in the tip";
    now += 4 * 60'000;
    form->ActionOptimizeExecute(form);  // the user's, a minute before the next
    now += 2 * 60'000;
    form->TimerIntervalTimer(form);
    EXPECT_EQ(counter.taken, 2) << "ran before five minutes after the user's";
    EXPECT_NE(form->TrayIcon->Hint().find(Text(TText::MemoryNextRun, {L"3"})), std::wstring::npos);

    // Due while the settings are open: once they close.
    form->OpenMainClick(form);
    form->ActionSettingsExecute(form);
    now += 4 * 60'000;
    form->TimerIntervalTimer(form);
    EXPECT_EQ(counter.taken, 2);
    form->ActionSettingsExecute(form);
    form->TimerIntervalTimer(form);
    EXPECT_EQ(counter.taken, 3);
    EXPECT_EQ(Triggers(testsupport::ReadBytes(form->HistoryFile)),
              (std::vector<std::string>{"interval", "manual", "interval"}));
    EXPECT_TRUE(errors.empty());
}

// "Restart as administrator": refused at the prompt, nothing changes; taken,
// this copy closes and the new one takes its place with the memory page open.
TEST_F(FeaturesTest, RestartingAsAdministratorHandsOverOrChangesNothing)
{
    Create();
    form->Elevated = [] { return false; };
    form->Show();
    form->ActionSettingsExecute(form);
    std::wstring asked;
    bool accept = false;
    form->StartElevated = [&](const std::wstring& arguments) {
        asked = arguments;
        return accept;
    };
    bool closeAsked = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { closeAsked = !(canClose = false); };
    // Typed, with a slip mended.
    form->PageControlSettings->SetActivePage(form->TabSheetMemory);
    SetForegroundWindow(form->Handle());
    form->EditTrimExclude->SetFocus();
    for (const wchar_t ch : std::wstring(L"obs64.exex")) testsupport::TypeCharacter(ch);
    testsupport::Press({VK_BACK});
    form->GradientButtonElevate->Click();
    EXPECT_FALSE(closeAsked);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(errors.empty());

    accept = true;
    form->GradientButtonElevate->Click();
    EXPECT_TRUE(closeAsked);
    const std::optional<TTakeover> takeover = StartsTakingOver((L"Quenfel.exe " + asked).c_str());
    ASSERT_TRUE(takeover);
    EXPECT_EQ(takeover->ProcessId, GetCurrentProcessId());
    EXPECT_EQ(takeover->Left, form->Left());
    EXPECT_EQ(takeover->Top, form->Top());
    closeAsked = false;
    SendMessageW(Application->Handle(), CloseRequestMessage(), 0, 0);  // the installer's, across rights
    EXPECT_TRUE(closeAsked);

    // The new copy reads what this one kept, and stands where it stood.
    const int left = form->Left() + 7, top = form->Top() + 5;
    Restart();
    form->TakeOver(left, top);
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(form->Top(), top);
    EXPECT_TRUE(form->SettingsOpen());
    EXPECT_EQ(form->PageControlSettings->ActivePage(), form->TabSheetMemory);
    EXPECT_EQ(form->EditTrimExclude->Text(), L"obs64.exe");
    for (const wchar_t* bad : {L"Quenfel.exe /takeover", L"Quenfel.exe /takeover 0 1 2", L"Quenfel.exe /takeover x 1 2",
                               L"Quenfel.exe /takeover 12 1 2 3", L"Quenfel.exe /takeover 12 99999999999 2"})
        EXPECT_FALSE(StartsTakingOver(bad)) << bad;
    EXPECT_TRUE(errors.empty());
}

// A copy started as administrator makes the lock; a copy without rights is
// refused even the opening of it, and must still see that one runs.
TEST(SingleInstance, ALockACopyWithMoreRightsHoldsStillMeansOneRuns)
{
    PSECURITY_DESCRIPTOR denying = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &denying,
                                                                     nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, denying, FALSE};
    HANDLE held = CreateMutexW(&attributes, FALSE, L"QuenfelRightsTest");
    LocalFree(denying);
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(TSingleInstance(L"QuenfelRightsTest").AlreadyRunning());
    CloseHandle(held);
    EXPECT_FALSE(TSingleInstance(L"QuenfelRightsTest").AlreadyRunning());
}
