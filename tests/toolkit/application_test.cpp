// The application object's error report, the exception boundary of window
// procedures, the timer rules, dialog keys and characters, subclassed
// built-in controls with their reflected notifications, and form loading and
// scaling.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "fixtures.h"
#include "recorder.h"
#include "toolkit/accelkey.h"
#include "toolkit/application.h"
#include "toolkit/checkbox.h"
#include "toolkit/groupbox.h"
#include "toolkit/highcontrast.h"
#include "toolkit/label.h"
#include "toolkit/loader.h"
#include "toolkit/timer.h"

namespace {

// Reports land here instead of in a message box.
struct TReportCatcher {
    std::vector<std::wstring> messages;
    TReportCatcher()
    {
        Application->OnException = [this](TObject*, const Exception& e) { messages.push_back(e.Message()); };
    }
    ~TReportCatcher() { Application->OnException = nullptr; }
};

TEST(ErrorReport, AnErrorInAHandlerIsReportedAndTheLoopGoesOn)
{
    TReportCatcher reports;
    std::unique_ptr<TForm> form(NewShownForm());
    auto* panel = CreateComponent<TPanelControl>(form.get());
    panel->SetParent(form.get());
    int clicks = 0;
    panel->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1) throw EConvertError(L"'abc' is not a valid integer value");
        if (clicks == 2) throw EAbort();
        if (clicks == 3) throw std::bad_alloc();
    };
    for (int i = 0; i < 4; ++i) {
        PostMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    Pump();
    EXPECT_EQ(clicks, 4);  // every click after the failures still ran
    EXPECT_EQ(reports.messages,
              (std::vector<std::wstring>{L"'abc' is not a valid integer value", L"Out of memory"}));
}

TEST(ErrorReport, AnErrorInATimerHandlerIsReported)
{
    TReportCatcher reports;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw Exception(L"tick failed");
    };
    const DWORD until = GetTickCount() + 2000;
    while (ticks < 2 && GetTickCount() < until) {
        Application->HandleMessage();
    }
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(reports.messages.at(0), L"tick failed");
}

// Pumps for a while, counting ticks.
int TicksWhile(TTimer& timer, int milliseconds, const std::function<void()>& eachRound = {})
{
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    const DWORD until = GetTickCount() + milliseconds;
    while (GetTickCount() < until) {
        if (eachRound) eachRound();
        Pump();
        Sleep(5);
    }
    timer.OnTimer = nullptr;
    return ticks;
}

TEST(Timer, SettingTheSameValueKeepsThePeriodAndAChangeRestartsIt)
{
    TTimer timer(nullptr);
    timer.SetInterval(60);
    // Setting the value it has every few milliseconds leaves the period running.
    EXPECT_GT(TicksWhile(timer, 600, [&] { timer.SetInterval(60); timer.SetEnabled(true); }), 0);
    // A real change restarts the period each time, so it never completes.
    bool flip = false;
    EXPECT_EQ(TicksWhile(timer, 600, [&] { timer.SetInterval((flip = !flip) ? 300 : 301); }), 0);
    timer.SetEnabled(false);
    EXPECT_EQ(TicksWhile(timer, 300), 0);
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_EQ(TicksWhile(timer, 300), 0);  // an interval of 0 never ticks
    timer.SetInterval(20);
    EXPECT_GT(TicksWhile(timer, 300), 0);
}

TEST(Timer, NoTickWhileTheFormLoads)
{
    TForm form(nullptr);
    TLoadSession load(&form);
    auto* timer = CreateComponent<TTimer>(&form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    Sleep(50);
    Pump();
    EXPECT_EQ(ticks, 0);
    load.Finish();
    const DWORD until = GetTickCount() + 2000;
    while (ticks == 0 && GetTickCount() < until) Application->HandleMessage();
    EXPECT_GT(ticks, 0);
}

// A button that answers dialog keys and its accelerator the way a push button does.
class TDialogButton : public TPanelControl {
public:
    using TPanelControl::TPanelControl;
    bool Default = false;
    wchar_t Accelerator = 0;
    bool DialogKey(WORD key, LPARAM) override
    {
        if (key == VK_RETURN && Default && CanFocus()) {
            Click();
            return true;
        }
        return false;
    }
    bool DialogChar(wchar_t ch, LPARAM) override
    {
        if (Enabled() && towupper(ch) == Accelerator) {
            Click();
            return true;
        }
        return false;
    }
};

// An edit box over the built-in class: subclassed, wants characters, and
// hears its own EN_CHANGE through reflection.
class TTestEdit : public TWinControl {
public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner)
    {
        SetBounds(0, 0, 80, 21);
        SetTabStop(true);
    }
    int Changes = 0;

protected:
    void CreateParams(TCreateParams& p) override
    {
        TWinControl::CreateParams(p);
        p.WinClassName = L"EDIT";
        p.SystemClass = true;
        p.ExStyle |= WS_EX_CLIENTEDGE;
        p.Style |= ES_AUTOHSCROLL;
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) ++Changes;
        TWinControl::WndProc(m);
    }
};

class DialogNavigation : public testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetPosition(TPosition::poDesigned);
        form->SetBounds(60, 60, 300, 200);
        first = Make<TPanelControl>(10);
        edit = Make<TTestEdit>(50);
        button = Make<TDialogButton>(90);
        button->Default = true;
        button->Accelerator = L'O';
        button->OnClick = [this](TObject*) { ++clicks; };
        form->Show();
        Pump();
    }
    template <class T>
    T* Make(int top)
    {
        auto* c = CreateComponent<T>(form.get());
        c->SetBounds(10, top, 80, 25);
        c->SetParent(form.get());
        return c;
    }
    void Post(HWND target, UINT message, WPARAM key, LPARAM data = 1)
    {
        PostMessageW(target, message, key, data);
        Pump();
    }

    std::unique_ptr<TForm> form;
    TPanelControl* first = nullptr;
    TTestEdit* edit = nullptr;
    TDialogButton* button = nullptr;
    int clicks = 0;
};

TEST_F(DialogNavigation, TabFollowsTabOrderBothWaysAndWraps)
{
    ASSERT_TRUE(first->Focused());  // first tab stop when the form shows
    EXPECT_EQ(form->ActiveControl(), first);
    Post(first->Handle(), WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(edit->Focused());
    button->SetTabOrder(0);
    Post(edit->Handle(), WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(button->Focused());  // edit was last: wraps to the new first

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Post(button->Handle(), WM_KEYDOWN, VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(edit->Focused());

    first->SetEnabled(false);  // skipped: cannot take the focus
    Post(edit->Handle(), WM_KEYDOWN, VK_TAB);
    Post(button->Handle(), WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(DialogNavigation, ReturnIsOfferedToTheFormsControls)
{
    first->SetFocus();
    Post(first->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicks, 1);
    button->SetVisible(false);  // cannot take the focus: does not answer
    Post(first->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicks, 1);
}

// As Windows matches a menu's: in any script, in either case.
TEST(AccessKey, MatchesItsLetterInEitherCaseInEveryScript)
{
    const struct {
        wchar_t pressed;
        const wchar_t* caption;
        bool chosen;
    } cases[] = {
        {L'o', L"&Optimize Now", true},
        {L'O', L"&Optimize Now", true},
        {L'X', L"E&xit", true},
        {L'1', L"Option &1", true},
        {L'\x043E', L"&\x041E\x043F\x0442\x0438\x043C\x0438\x0437\x0438\x0440\x043E\x0432\x0430\x0442\x044C", true},  // о, Оптимизировать
        {L'\x043F', L"&\x041F\x0430\x0440\x0430\x043C\x0435\x0442\x0440\x044B", true},  // п, Параметры
        {L'\x0454', L"&\x0404", true},  // Ukrainian є, Є
        {L'\x03C9', L"&\x03A9", true},  // Greek ω, Ω
        {L'\x00E9', L"&\x00C9tat", true},  // é, État
        {L'\x0161', L"&\x0160t\x011Bt\x00ED", true},  // Czech š
        {L'p', L"&Optimize Now", false},
        {L'\x043E', L"&Optimize Now", false},  // a Cyrillic о is no Latin O
        {0, L"Minimize Tray", false},
        {L'&', L"Fish && Chips", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAccel(c.pressed, c.caption), c.chosen) << int(c.pressed);
}

TEST_F(DialogNavigation, AcceleratorsWorkWithAndWithoutAltUnlessTheFocusWantsCharacters)
{
    first->SetFocus();
    Post(first->Handle(), WM_CHAR, L'o');
    EXPECT_EQ(clicks, 1);
    Post(first->Handle(), WM_SYSCHAR, L'O', 1 | (1 << 29));
    EXPECT_EQ(clicks, 2);

    edit->SetFocus();
    Post(edit->Handle(), WM_CHAR, L'o');
    EXPECT_EQ(clicks, 2);  // typed into the edit instead
    wchar_t text[16] = {};
    GetWindowTextW(edit->Handle(), text, 16);
    EXPECT_STREQ(text, L"o");
    Post(edit->Handle(), WM_SYSCHAR, L'o', 1 | (1 << 29));
    EXPECT_EQ(clicks, 3);  // with Alt it is an accelerator even there
}

TEST_F(DialogNavigation, BuiltInControlsAreSubclassedOnceAndHearTheirOwnNotifications)
{
    HWND h = edit->Handle();
    EXPECT_EQ(TWinControl::FindControl(h), edit);
    const int before = edit->Changes;
    SetWindowTextW(h, L"12");
    EXPECT_EQ(edit->Changes, before + 1);
    EXPECT_EQ(TWinControl::FindControl(form->Handle()), form.get());
    edit->Free();
    EXPECT_FALSE(IsWindow(h));
}

TEST(FormLoading, CreationHandlerRunsAfterLoadedAndControlsFollowTheFormFont)
{
    std::vector<std::string> order;
    struct TLoggedForm : TForm {
        std::vector<std::string>& log;
        TLoggedForm(std::vector<std::string>& l) : TForm(nullptr), log(l) {}
        void Loaded() override
        {
            TForm::Loaded();
            log.push_back("loaded");
        }
    };
    TLoggedForm form(order);
    {
        TLoadSession load(&form);
        form.SetScaled(false);
        form.Font().SetHeight(-11);
        auto* panel = CreateComponent<TPanelControl>(&form);
        panel->SetParent(&form);
        form.OnCreate = [&](TObject*) {
            order.push_back("create");
            EXPECT_FALSE(form.IsLoading());
            EXPECT_EQ(panel->Font().Height(), -11);
        };
        load.Fixup([&] { order.push_back("fixup"); });
        load.Finish();
    }
    EXPECT_EQ(order, (std::vector<std::string>{"fixup", "loaded", "create"}));
}

// A loaded layout states every caption, an empty one too, so a name given
// while loading never becomes the caption; a name given later still does.
TEST(FormLoading, NamesBecomeCaptionsOnlyOutsideLoading)
{
    struct Case {
        const char* what;
        TControl* (*make)(TForm*);
    };
    const Case cases[] = {
        {"group box", [](TForm* f) -> TControl* { return CreateComponent<TGroupBox>(f); }},
        {"label", [](TForm* f) -> TControl* { return CreateComponent<TLabel>(f); }},
        {"check box", [](TForm* f) -> TControl* { return CreateComponent<TCheckBox>(f); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        TForm form(nullptr);
        TControl* loaded = nullptr;
        {
            TLoadSession load(&form);
            loaded = k.make(&form);
            loaded->SetName(L"Frame1");
            loaded->SetParent(&form);
            load.Finish();
        }
        EXPECT_EQ(loaded->Caption(), L"");
        loaded->SetName(L"Frame2");  // the caption was not the old name
        EXPECT_EQ(loaded->Caption(), L"");

        TControl* later = k.make(&form);
        later->SetName(L"Box1");
        EXPECT_EQ(later->Caption(), L"Box1");
        later->SetName(L"Box2");
        EXPECT_EQ(later->Caption(), L"Box2");
        later->SetCaption(L"Mine");
        later->SetName(L"Box3");
        EXPECT_EQ(later->Caption(), L"Mine");
    }
}

TEST(FormScaling, PositionsSizesAndOwnFontsScaleTogether)
{
    EXPECT_EQ(ScaleValue(13, 16, 13), 16);
    EXPECT_EQ(ScaleValue(7, 3, 2), 11);  // 10.5 rounds away from zero
    EXPECT_EQ(ScaleValue(-11, 16, 13), -14);

    TForm form(nullptr);
    form.SetClientWidth(497);
    form.SetClientHeight(346);
    auto* panel = CreateComponent<TPanelControl>(&form);
    panel->SetParent(&form);
    panel->SetBounds(3, 202, 150, 27);
    panel->Font().SetHeight(-11);  // its own font
    auto* inner = CreateComponent<TPanelControl>(&form);
    inner->SetParent(panel);
    inner->SetBounds(13, 13, 26, 26);
    form.ScaleBy(16, 13);
    EXPECT_EQ(form.ClientWidth(), 612);
    EXPECT_EQ(form.ClientHeight(), 426);
    EXPECT_EQ(panel->Left(), 4);
    EXPECT_EQ(panel->Top(), 249);
    EXPECT_EQ(panel->Width(), 184);  // scaled edges: 3 -> 4 and 153 -> 188
    EXPECT_EQ(panel->Height(), 33);
    EXPECT_EQ(panel->Font().Height(), -14);
    EXPECT_EQ(inner->Left(), 16);
    EXPECT_EQ(inner->Width(), 32);
    EXPECT_EQ(form.Font().Height(), -14);
}

TEST(FormScaling, LoadingScalesByTheDpiOnlyWhenTheScreenDiffersFromTheDesign)
{
    auto load = [](int designPixelsPerInch) {
        auto form = std::make_unique<TForm>(nullptr);
        TLoadSession session(form.get());
        form->SetPixelsPerInch(designPixelsPerInch);
        auto* panel = CreateComponent<TPanelControl>(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 130, 26);
        session.Finish();
        return std::make_pair(std::move(form), panel);
    };
    auto [same, samePanel] = load(ScreenPixelsPerInch());
    EXPECT_EQ(samePanel->Width(), 130);

    // Designed at another resolution: scaled by the ratio of the dpis.
    auto [other, otherPanel] = load(ScreenPixelsPerInch() * 2);
    EXPECT_EQ(otherPanel->Width(), 65);
    EXPECT_EQ(other->Dpi(), ScreenPixelsPerInch());
}

}  // namespace

namespace {

TEST(ApplicationHook, SeesTheApplicationWindowsMessagesFirstUntilRemoved)
{
    const UINT probe = RegisterWindowMessageW(L"Quenfel.HookProbe");
    ASSERT_NE(probe, 0u);
    TObject first, second;
    int firstSeen = 0, secondSeen = 0;
    bool dropSecond = false;
    Application->HookMainWindow(&first, [&](TMessage& m) {
        if (m.Msg != probe) return false;
        ++firstSeen;
        if (dropSecond) Application->UnhookMainWindow(&second);
        return false;  // not answered: the next hook and the default see it
    });
    Application->HookMainWindow(&second, [&](TMessage& m) {
        if (m.Msg != probe) return false;
        ++secondSeen;
        m.Result = 42;
        return true;
    });
    EXPECT_EQ(SendMessageW(Application->Handle(), probe, 0, 0), 42);
    EXPECT_EQ(firstSeen, 1);
    EXPECT_EQ(secondSeen, 1);

    // A hook removed by an earlier one during the same message is not called.
    dropSecond = true;
    EXPECT_EQ(SendMessageW(Application->Handle(), probe, 0, 0), 0);
    EXPECT_EQ(firstSeen, 2);
    EXPECT_EQ(secondSeen, 1);

    Application->UnhookMainWindow(&first);
    SendMessageW(Application->Handle(), probe, 0, 0);
    EXPECT_EQ(firstSeen, 2);
}

// The answer is kept between changes, and a start in the tray has no form
// window to hear one: the application window asks again for them.
TEST(HighContrastQuestion, IsAskedAgainWhenTheApplicationWindowHearsOfAChange)
{
    struct TSystemAnswersAgain {
        ~TSystemAnswersAgain()
        {
            SetHighContrastSource(nullptr);
            RefreshHighContrast();
        }
    } restore;
    RefreshHighContrast();
    ASSERT_FALSE(HighContrast());  // Wine's answer
    SetHighContrastSource([] { return true; });
    EXPECT_FALSE(HighContrast());
    SendMessageW(Application->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(HighContrast());
}

}  // namespace
