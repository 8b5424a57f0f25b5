// The tray icon against the real shell of the test desktop: what reaches the
// shell and when, the tip rule, the callbacks turned into events, the popup
// menu and its default item, the taskbar coming back, and the animation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/trayicon.h"
#include "resources/resource.h"
#include "tests/controls/control_test_support.h"

using namespace ctltest;

namespace {

struct TShellCall {
    DWORD Message;
    bool Result;
    std::wstring Tip;
    HICON Icon;
    UINT Flags;
};

// Records every request on its way to the real shell; can make the shell
// refuse the next add, as it does while the taskbar is not up yet.
class TRecordingTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    std::vector<TShellCall> Calls;
    bool RefuseNextAdd = false;
    RECT Place{};  // where the shell shows the icon; empty: it cannot tell

protected:
    bool IconRect(RECT& rect) override
    {
        rect = Place;
        return !IsRectEmpty(&Place);
    }
    bool NotifyShell(DWORD message, NOTIFYICONDATAW& data) override
    {
        bool ok = false;
        if (message == NIM_ADD && RefuseNextAdd)
            RefuseNextAdd = false;
        else
            ok = TTrayIcon::NotifyShell(message, data);
        Calls.push_back({message, ok, data.szTip, data.hIcon, data.uFlags});
        return ok;
    }
};

std::unique_ptr<TIcon> ProgramIcon()
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromResourceID(GetModuleHandleW(nullptr), IDI_QUENFEL);
    return icon;
}

std::unique_ptr<TIcon> SystemIcon(LPCWSTR id)
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromHandle(LoadIconW(nullptr, id));
    return icon;
}

// What a restarted shell has: no icon of ours.
void ShellForgets(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

// The shell still knows our icon when it accepts a change to it.
bool ShellKnows(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

class TrayIconTest : public ::testing::Test {
protected:
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TRecordingTrayIcon* tray = new TRecordingTrayIcon(owner.get());
    std::vector<std::string> events;

    void TearDown() override
    {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    void Bind()
    {
        tray->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            events.push_back("down" + Describe(b, s));
        };
        tray->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            events.push_back("up" + Describe(b, s));
        };
        tray->OnClick = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            events.push_back("click" + Describe(b, s));
        };
        tray->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
        tray->OnMouseMove = [this](TObject*, TShiftState, int, int) { events.push_back("move"); };
    }
    static std::string Describe(TMouseButton b, TShiftState s)
    {
        std::string text = b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M";
        if (s & ssShift) text += "+shift";
        if (s & ssCtrl) text += "+ctrl";
        if (s & ssDouble) text += "+double";
        if (s & (ssLeft | ssRight | ssMiddle)) text += "+button";
        return text;
    }
    void Callback(UINT mouseMessage) { SendMessageW(tray->WindowHandle(), TrayCallbackMessage, 0, mouseMessage); }
};

TEST_F(TrayIconTest, ShellShowsTheIconWhileActive)
{
    EXPECT_EQ(FindWindowW(TrayIconWindowClass, nullptr), tray->WindowHandle());
    tray->SetHint(L"Free memory");
    EXPECT_FALSE(tray->IconAdded());  // no image yet: nothing to show, no error
    tray->SetIcon(ProgramIcon().get());
    ASSERT_TRUE(tray->IconAdded());
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));

    tray->SetActive(false);
    EXPECT_FALSE(tray->IconAdded());
    EXPECT_FALSE(ShellKnows(tray->WindowHandle()));
    tray->SetActive(true);
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));

    // An empty image takes the icon away; Active stays, so a new one brings it back.
    tray->SetIcon(nullptr);
    EXPECT_FALSE(ShellKnows(tray->WindowHandle()));
    EXPECT_TRUE(tray->Active());
    const auto icon = ProgramIcon();
    tray->SetIcon(icon.get());
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));

    const HWND window = tray->WindowHandle();
    owner.reset();  // destroying the component removes its icon and its window
    EXPECT_FALSE(ShellKnows(window));
    EXPECT_EQ(FindWindowW(TrayIconWindowClass, nullptr), nullptr);
}

TEST_F(TrayIconTest, TipRuleAndNoShellCallForAnUnchangedHint)
{
    const auto icon = ProgramIcon();
    tray->SetHint(L"abc|def");
    tray->SetIcon(icon.get());
    ASSERT_FALSE(tray->Calls.empty());
    EXPECT_EQ(tray->Calls.back().Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(tray->Calls.back().Tip, L"abc");

    tray->Calls.clear();
    tray->SetHint(L"abc|def");
    EXPECT_TRUE(tray->Calls.empty());

    const std::wstring hundred(100, L'x');
    tray->SetHint(hundred);
    ASSERT_EQ(tray->Calls.size(), 1u);
    EXPECT_EQ(tray->Calls[0].Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_TRUE(tray->Calls[0].Result);
    EXPECT_EQ(tray->Calls[0].Tip, hundred.substr(0, 63));
    EXPECT_EQ(tray->Calls[0].Flags, static_cast<UINT>(NIF_TIP)) << "a new tip alone hands the shell no picture";

    // Beyond the ANSI code page.
    tray->SetHint(L"Свободно 512 MB");
    EXPECT_EQ(tray->Calls.back().Tip, L"Свободно 512 MB");
}

TEST_F(TrayIconTest, EmptyTipAddIsFollowedByOneModify)
{
    const auto icon = ProgramIcon();
    tray->SetIcon(icon.get());
    ASSERT_GE(tray->Calls.size(), 3u);
    const size_t n = tray->Calls.size();
    EXPECT_EQ(tray->Calls[n - 3].Message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(tray->Calls[n - 2].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(tray->Calls[n - 1].Message, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(TrayIconTest, RefusedAddIsRetriedOnTheNextChange)
{
    tray->RefuseNextAdd = true;
    const auto icon = ProgramIcon();
    tray->SetIcon(icon.get());
    EXPECT_FALSE(tray->IconAdded());
    EXPECT_TRUE(tray->Active());
    tray->SetHint(L"512 MB");
    EXPECT_TRUE(tray->IconAdded());
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));
}

TEST_F(TrayIconTest, IconComesBackWhenTheTaskbarIsCreatedAgain)
{
    const auto icon = ProgramIcon();
    tray->SetIcon(icon.get());
    ASSERT_TRUE(tray->IconAdded());
    ShellForgets(tray->WindowHandle());
    ASSERT_FALSE(ShellKnows(tray->WindowHandle()));
    SendMessageW(tray->WindowHandle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(tray->IconAdded());
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));

    // An inactive icon stays away.
    tray->SetActive(false);
    SendMessageW(tray->WindowHandle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(ShellKnows(tray->WindowHandle()));
}

TEST_F(TrayIconTest, CallbacksBecomeEventsWithShiftState)
{
    Bind();
    BYTE keys[256] = {};
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Callback(WM_LBUTTONDOWN);
    Callback(WM_LBUTTONUP);
    Callback(WM_LBUTTONDBLCLK);
    Callback(WM_LBUTTONUP);
    keys[VK_SHIFT] = 0;
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Callback(WM_MBUTTONDOWN);
    Callback(WM_MBUTTONUP);
    Callback(WM_MOUSEMOVE);
    Callback(WM_RBUTTONUP);  // pressed elsewhere: no click
    EXPECT_EQ(events, (std::vector<std::string>{
                          "downL+shift+button", "clickL+shift+button", "upL+shift+button", "dblclick",
                          "downL+shift+double", "upL+shift+button", "downM+ctrl+button", "upM+ctrl+button",
                          "move", "upR+ctrl+button"}));

    // Disabled: the icon stays, nothing fires.
    events.clear();
    tray->SetEnabled(false);
    Callback(WM_LBUTTONDOWN);
    Callback(WM_LBUTTONUP);
    Callback(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayIconTest, PressStartedBeforeTheIconWasAddedAgainIsNoClick)
{
    Bind();
    const auto icon = ProgramIcon();
    tray->SetIcon(icon.get());
    Callback(WM_LBUTTONDOWN);
    tray->SetActive(false);
    tray->SetActive(true);
    Callback(WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"downL+button", "upL+button"}));
}

// Looks for the open menu while the tray's menu loop runs, then closes it.
HWND g_menuSeen = nullptr;
RECT g_menuRect{};
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) {
        g_menuSeen = menu;
        GetWindowRect(menu, &g_menuRect);
        KillTimer(nullptr, id);
        EndMenu();
    }
}

// Closes each menu it finds, for as long as it runs.
void CALLBACK CloseEveryMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) EndMenu();
}

class TrayMenuTest : public TrayIconTest {
protected:
    TPopupMenu* menu = new TPopupMenu(owner.get());
    std::vector<std::string> chosen;

    TMenuItem* AddItem(const std::wstring& caption, bool isDefault, bool enabled)
    {
        auto* item = new TMenuItem(owner.get());
        item->SetCaption(caption);
        item->SetDefault(isDefault);
        item->SetEnabled(enabled);
        item->OnClick = [this, caption](TObject*) { chosen.push_back(std::string(caption.begin(), caption.end())); };
        menu->Items().Add(item);
        return item;
    }
    void SetUp() override
    {
        const auto icon = ProgramIcon();
        tray->SetIcon(icon.get());
        tray->SetPopupMenu(menu);
        Bind();
    }
};

TEST_F(TrayMenuTest, RightClickOpensTheMenuInsteadOfAClick)
{
    AddItem(L"Open &Main Window", true, true);
    AddItem(L"E&xit", false, true);
    g_menuSeen = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseMenu);
    Callback(WM_RBUTTONDOWN);
    Callback(WM_RBUTTONUP);
    KillTimer(nullptr, timer);
    EXPECT_NE(g_menuSeen, nullptr);
    EXPECT_EQ(menu->PopupComponent(), tray);
    EXPECT_EQ(events, (std::vector<std::string>{"downR+button", "upR+button"}));

    // Without AutoPopup the right click is a click.
    events.clear();
    menu->SetAutoPopup(false);
    Callback(WM_RBUTTONDOWN);
    Callback(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"downR+button", "clickR+button", "upR+button"}));
}

// Reached from the keyboard (Enter, Space or the menu key), the icon opens
// its menu where the icon is, not where the pointer was left; Escape hands
// the focus back to the notification area. A right click's own context-menu
// callback, which follows its release, opens no second menu.
TEST_F(TrayMenuTest, TheKeyboardOpensTheMenuAtTheIconAndEscapeGoesBackToTheTray)
{
    AddItem(L"Open &Main Window", true, true);
    tray->Place = {600, 700, 616, 716};
    // Far from the icon, so a menu opened at the pointer cannot pass for one at the icon.
    ASSERT_TRUE(SetCursorPos(5, 5));
    POINT pointer{};
    ASSERT_TRUE(GetCursorPos(&pointer));
    ASSERT_LT(pointer.x + pointer.y, 100);
    for (UINT key : {static_cast<UINT>(NIN_KEYSELECT), static_cast<UINT>(WM_CONTEXTMENU)}) {
        g_menuSeen = nullptr;
        tray->Calls.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseMenu);
        Callback(key);
        KillTimer(nullptr, timer);
        ASSERT_NE(g_menuSeen, nullptr) << key;
        EXPECT_GT(g_menuRect.left, 400) << key;
        EXPECT_GT(g_menuRect.bottom, 400) << key;
        ASSERT_FALSE(tray->Calls.empty()) << key;
        EXPECT_EQ(tray->Calls.back().Message, static_cast<DWORD>(NIM_SETFOCUS)) << key;
    }

    g_menuSeen = nullptr;
    tray->Calls.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseMenu);
    Callback(WM_RBUTTONDOWN);
    Callback(WM_RBUTTONUP);
    KillTimer(nullptr, timer);
    ASSERT_NE(g_menuSeen, nullptr);
    g_menuSeen = nullptr;
    timer = SetTimer(nullptr, 0, 50, &CloseMenu);  // a second menu would close again
    Callback(WM_CONTEXTMENU);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_menuSeen, nullptr);
    EXPECT_TRUE(tray->Calls.empty()) << "the pointer's menu leaves the focus alone";

    // Enter's two selections, both queued before the first is handled: the
    // second arrives in the pump before the menu shows, and opens no other.
    int menus = 0;
    menu->OnPopup = [&](TObject*) { ++menus; };
    g_menuSeen = nullptr;
    const UINT_PTR closer = SetTimer(nullptr, 0, 50, &CloseEveryMenu);
    for (int i = 0; i < 2; ++i) PostMessageW(tray->WindowHandle(), TrayCallbackMessage, 0, NIN_KEYSELECT);
    PumpFor(500);
    KillTimer(nullptr, closer);
    EXPECT_EQ(menus, 1);
}

TEST_F(TrayMenuTest, DoubleClickRunsTheFirstEnabledDefaultItem)
{
    AddItem(L"First", false, true);
    AddItem(L"Disabled default", true, false);
    AddItem(L"Default", true, true);
    AddItem(L"Second default", true, true);
    Callback(WM_LBUTTONDBLCLK);
    EXPECT_EQ(chosen, (std::vector<std::string>{"Default"}));
    EXPECT_EQ(events, (std::vector<std::string>{"downL+double"}));
}

TEST_F(TrayMenuTest, DoubleClickWithoutDefaultItemFiresOnDblClick)
{
    AddItem(L"Disabled default", true, false);
    Callback(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(events, (std::vector<std::string>{"dblclick", "downL+double"}));

    // The menu going away clears the reference.
    events.clear();
    delete menu;
    menu = nullptr;
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    Callback(WM_RBUTTONDOWN);
    Callback(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"downR+button", "clickR+button", "upR+button"}));
}

TEST_F(TrayIconTest, AnimationStepsThroughTheFramesAndPausesWhileHidden)
{
    TIconList frames;
    for (LPCWSTR id : {IDI_APPLICATION, IDI_WARNING, IDI_INFORMATION}) {
        frames.Add(SystemIcon(id).get());
    }
    const auto still = ProgramIcon();
    tray->SetIcon(still.get());
    tray->SetAnimated(true);
    EXPECT_FALSE(tray->Animated());  // no frames yet

    tray->SetIcons(&frames);
    tray->SetInterval(20);
    tray->SetAnimated(true);
    ASSERT_TRUE(tray->Animated());
    // Each frame at the size the notification area draws.
    const int small = GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(tray->Calls.back().Icon, tray->Icons().Items(0)->HandleForSize(small));  // frame 0 at once
    tray->Calls.clear();
    std::vector<HICON> shown;
    ASSERT_TRUE(PumpUntil([&] {
        shown.clear();
        for (const auto& c : tray->Calls)
            if (c.Message == NIM_MODIFY) shown.push_back(c.Icon);
        return shown.size() >= 4;
    }));
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_NE(shown[i], shown[i - 1]);

    // Hidden: no steps; back: on from the frame it had reached.
    tray->SetActive(false);
    const int frame = tray->FrameIndex();
    tray->Calls.clear();
    PumpFor(200);
    EXPECT_EQ(tray->FrameIndex(), frame);
    EXPECT_EQ(tray->Calls.size(), 0u);
    tray->SetActive(true);
    EXPECT_EQ(tray->FrameIndex(), frame);
    EXPECT_EQ(tray->Calls.back().Icon, tray->Icons().Items(frame)->HandleForSize(small));
    tray->Calls.clear();
    EXPECT_TRUE(PumpUntil([&] { return tray->Calls.size() >= 3; }));
    EXPECT_TRUE(ShellKnows(tray->WindowHandle()));

    // Emptying the frames ends the animation and shows the still icon again.
    tray->Icons().Clear();
    EXPECT_FALSE(tray->Animated());
    EXPECT_EQ(tray->Calls.back().Icon, still->HandleForSize(small));
    tray->Calls.clear();
    PumpFor(100);
    EXPECT_TRUE(tray->Calls.empty());
}

TEST_F(TrayIconTest, DestroyedWhileAnimatingLeavesNoStepBehind)
{
    TIconList frames;
    frames.Add(SystemIcon(IDI_APPLICATION).get());
    frames.Add(SystemIcon(IDI_WARNING).get());
    tray->SetIcons(&frames);
    tray->SetInterval(0);
    tray->SetAnimated(true);
    const size_t calls = tray->Calls.size();
    ASSERT_TRUE(PumpUntil([&] { return tray->Calls.size() > calls; }));  // a step was taken
    owner.reset();
    EXPECT_NO_THROW(PumpFor(50));
}

}  // namespace
