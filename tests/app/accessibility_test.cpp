// The main window as a screen reader finds it: read from outside through
// oleacc (AccessibleObjectFromWindow, AccessibleChildren), its default
// actions, the events that announce changes, and objects that outlive their
// controls.
#include "tests/app/formmain_fixture.h"

#include <oleacc.h>

#include <string>
#include <vector>

#include "controls/gradientbutton.h"
#include "controls/gradientprogressbar.h"
#include "tests/support/accessible_tree.h"
#include "tests/support/main_window_tree.h"
#include "toolkit/accessibility.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"
#include "toolkit/trackbar.h"

namespace {

using Lines = std::vector<std::wstring>;

// The figures over the fixture's machine: 4,000,000,000 bytes, a quarter of
// them free; the slider starts at half its maximum.
const Lines kFigures = {L"25%", L"953.67 MB Available", L"value=25%", L"value=0%", L"1000 MB", L"value=1000 MB"};

bool ShowsFigure(const Lines& lines, const std::wstring& figure)
{
    for (const auto& l : lines)
        if (l.find(L"\"" + figure + L"\"") != std::wstring::npos || l.find(L" " + figure) != std::wstring::npos)
            return true;
    return false;
}

std::string Joined(const Lines& lines)
{
    std::wstring out;
    for (const auto& l : lines) out += l + L"\n";
    return ToUtf8(out);
}

VARIANT Id(LONG id)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The object a reader gets for control's window, through oleacc.
IAccessible* ObjectOf(TWinControl* control)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

// The WinEvents of one kind raised in this process, as a hook records them.
class TEventRecorder {
public:
    explicit TEventRecorder(DWORD event)
    {
        recorder_ = this;
        hook_ = SetWinEventHook(event, event, nullptr, &Record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~TEventRecorder()
    {
        UnhookWinEvent(hook_);
        recorder_ = nullptr;
    }
    bool Hooked() const { return hook_ != nullptr; }
    // Events delivered so far; out-of-context events come with the messages.
    std::vector<std::pair<HWND, LONG>> Take()
    {
        Application->ProcessMessages();
        auto out = std::move(events_);
        events_.clear();
        return out;
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
    {
        if (recorder_ != nullptr && object == OBJID_CLIENT) recorder_->events_.push_back({window, child});
    }
    static inline TEventRecorder* recorder_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<std::pair<HWND, LONG>> events_;
};

}  // namespace

// What the table asks for, with the settings page closed and open:
// roles, names (a label or a group names what has no caption), values,
// default actions, shortcuts, and the controls the window cuts off.
TEST_F(FormMainTest, AScreenReaderReadsTheWindowAsDesigned)
{
    Create();
    form->Show();
    Application->ProcessMessages();
    const Lines closed = accessible_tree::Read(form->Handle());
    EXPECT_EQ(main_window_tree::WithoutFigures(closed), main_window_tree::Expected(false)) << Joined(closed);
    for (const auto* figure : {L"25%", L"953.67 MB Available", L"value=25%", L"value=0%"})
        EXPECT_TRUE(ShowsFigure(closed, figure)) << ToUtf8(figure);

    form->ActionSettingsExecute(form);
    Application->ProcessMessages();
    const Lines open = accessible_tree::Read(form->Handle());
    EXPECT_EQ(main_window_tree::WithoutFigures(open), main_window_tree::Expected(true)) << Joined(open);
    for (const auto& figure : kFigures) EXPECT_TRUE(ShowsFigure(open, figure)) << ToUtf8(figure);
}

// A reader's "do default action" on the button runs its click, from the
// message loop once the reader's call has returned; hit testing finds the
// windowless bar by its place on the screen, and navigation its neighbour.
TEST_F(FormMainTest, AReaderPressesOptimizeNowAndFindsTheMonitorByItsPlace)
{
    Create();
    form->Show();
    form->TrackRAM->SetPosition(2);
    Application->ProcessMessages();
    IAccessible* button = ObjectOf(form->SpeedButtonOptimize);
    ASSERT_NE(button, nullptr);
    form->ProgressBarFree->SetPosition(1);
    EXPECT_EQ(button->accDoDefaultAction(Id(CHILDID_SELF)), S_OK);
    EXPECT_EQ(form->ProgressBarFree->Position(), 1) << "the run waits for the message loop";
    Application->ProcessMessages();
    EXPECT_EQ(form->ProgressBarFree->Position(), form->ProgressBarFree->Max()) << "no run";
    button->Release();

    IAccessible* monitor = ObjectOf(form->GroupBoxMonitor);
    ASSERT_NE(monitor, nullptr);
    const POINT centre = form->ProgressBarMEM->ClientToScreen(
        {form->ProgressBarMEM->Width() / 2, form->ProgressBarMEM->Height() / 2});
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_EQ(monitor->accHitTest(centre.x, centre.y, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_I4);
    BSTR value = nullptr;
    EXPECT_EQ(monitor->get_accValue(hit, &value), S_OK);
    EXPECT_EQ(value != nullptr ? std::wstring(value) : L"", L"25%");
    SysFreeString(value);

    // The text before the bar is the free-memory line, which holds the run's
    // report now.
    VARIANT before;
    VariantInit(&before);
    EXPECT_EQ(monitor->accNavigate(NAVDIR_PREVIOUS, hit, &before), S_OK);
    ASSERT_EQ(before.vt, VT_I4);
    BSTR name = nullptr;
    EXPECT_EQ(monitor->get_accName(before, &name), S_OK);
    EXPECT_EQ(name != nullptr ? std::wstring(name) : L"", L"No memory was freed");
    SysFreeString(name);
    monitor->Release();
}

// The monitor's value is announced when its percentage changes and only
// then: a tick with the same figure raises nothing. Its lines' texts are
// announced as names.
TEST_F(FormMainTest, OnlyATickThatChangesThePercentageAnnouncesTheMonitor)
{
    Create();
    form->Show();
    Application->ProcessMessages();
    {
        // A label's new text is announced as its new name.
        TEventRecorder names(EVENT_OBJECT_NAMECHANGE);
        ASSERT_TRUE(names.Hooked());
        names.Take();
        form->LabelFree->SetCaption(L"Freed 1.00 MB");
        const auto line = std::make_pair(form->GroupBoxMonitor->Handle(), AccessibleChildId(form->LabelFree));
        EXPECT_EQ(names.Take(), (std::vector<std::pair<HWND, LONG>>{line}));
    }
    TEventRecorder values(EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(values.Hooked());
    values.Take();

    const auto monitor = std::make_pair(form->GroupBoxMonitor->Handle(), AccessibleChildId(form->ProgressBarMEM));
    status.AvailPhys = 1'200'000'000ull;  // 25% to 30%
    form->TimerMemTimer(form);
    EXPECT_EQ(values.Take(), (std::vector<std::pair<HWND, LONG>>{monitor}));

    status.AvailPhys = 1'200'100'000ull;  // still 30%
    form->TimerMemTimer(form);
    EXPECT_TRUE(values.Take().empty());
}

// A reader may keep an object after the control is gone: its calls then
// answer an error and reach nothing.
TEST_F(FormMainTest, AnObjectKeptAfterItsWindowIsGoneAnswersAnError)
{
    Create();
    form->Show();
    Application->ProcessMessages();
    IAccessible* window = ObjectOf(form);
    IAccessible* button = ObjectOf(form->GradientButton1);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(button, nullptr);
    form->Free();
    form = nullptr;

    auto disconnected = [](HRESULT hr) { return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED; };
    BSTR name = nullptr;
    EXPECT_PRED1(disconnected, button->get_accName(Id(CHILDID_SELF), &name));
    EXPECT_EQ(name, nullptr);
    EXPECT_PRED1(disconnected, button->accDoDefaultAction(Id(CHILDID_SELF)));
    EXPECT_PRED1(disconnected, window->get_accName(Id(1), &name));
    long count = -1;
    EXPECT_PRED1(disconnected, window->get_accChildCount(&count));
    VARIANT hit;
    VariantInit(&hit);
    EXPECT_PRED1(disconnected, window->accHitTest(10, 10, &hit));
    button->Release();
    window->Release();
}
