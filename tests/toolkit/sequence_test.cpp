// What windowed controls send and receive, as message sequences: a window's
// life from WM_NCCREATE to WM_NCDESTROY and the back-pointer around it,
// notifications bounced back to the child's own object, and the messages a
// setter sends (none when the value does not change).
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/toolkit/controls_fixture.h"
#include "tests/toolkit/fixtures.h"
#include "tests/toolkit/msgsequence.h"
#include "toolkit/checkbox.h"
#include "toolkit/progressbar.h"
#include "toolkit/trackbar.h"

namespace {

// A windowed control that notes the notifications it gets as a parent and
// the ones bounced back to it as a child, and answers the latter with Answer.
class TProbe : public TCustomControl {
public:
    TProbe(TComponent* owner, TRecorder& rec, std::string name) : TCustomControl(owner), rec_(rec), name_(std::move(name))
    {
        SetControlStyle(ControlStyle() | csAcceptsControls);
    }
    LRESULT Answer = 0;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg >= CN_BASE && m.Msg < CN_END) {
            rec_.Add(name_ + ":reflected " + MessageName(m.Msg - CN_BASE));
            EXPECT_EQ(m.WParam, lastWParam);
            EXPECT_EQ(m.LParam, lastLParam);
            m.Result = Answer;
            return;
        }
        if (IsNotification(m.Msg)) {
            rec_.Add(name_ + ":" + MessageName(m.Msg));
            lastWParam = m.WParam;
            lastLParam = m.LParam;
        }
        TCustomControl::WndProc(m);
    }

private:
    static bool IsNotification(UINT m)
    {
        return m == WM_COMMAND || m == WM_NOTIFY || m == WM_HSCROLL || m == WM_VSCROLL || m == WM_DRAWITEM;
    }
    static inline WPARAM lastWParam = 0;  // what the parent got, for the child to compare
    static inline LPARAM lastLParam = 0;
    TRecorder& rec_;
    std::string name_;
};

class Sequences : public ToolkitTest {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        ShowForm();
    }
    template <class T>
    T* Put(int left, int top, int width, int height)
    {
        auto* c = CreateComponent<T>(form.get());
        c->SetBounds(left, top, width, height);
        c->SetParent(form.get());
        return c;
    }
};

// ---- A window's life ----

TEST_F(Sequences, OwnWindowIsCreatedAndDestroyedWithItsObjectLinkedInBetween)
{
    auto* panel = CreateComponent<TPanelControl>(form.get());
    panel->SetBounds(10, 10, 50, 30);
    TMessageSequence seq(form->Handle());
    LONG_PTR atCreate = -1, atDestroy = -1;
    TWinControl* foundAtDestroy = panel;
    seq.OnHandled = [&](HWND w, UINT m, LRESULT) {
        if (m == WM_NCCREATE) atCreate = GetWindowLongPtrW(w, GWLP_USERDATA);
        if (m == WM_NCDESTROY) {
            atDestroy = GetWindowLongPtrW(w, GWLP_USERDATA);
            foundAtDestroy = TWinControl::FindControl(w);
        }
    };

    panel->SetParent(form.get());  // the form's window exists: the panel's is made now
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(seq.Matches({
        {WM_NCCREATE, sent},
        {WM_NCCALCSIZE, sent | wparam, FALSE},
        {WM_CREATE, sent},
        {WM_SIZE, sent | wparam, SIZE_RESTORED},
        {WM_MOVE, sent},
        {WM_PARENTNOTIFY, sent | parent | wparam, WM_CREATE},
        {WM_SHOWWINDOW, sent | wparam, TRUE},  // made with WS_VISIBLE
        {WM_WINDOWPOSCHANGING, sent},
        {WM_NCPAINT, sent | optional},
        {WM_ERASEBKGND, sent | optional},
        {WM_ERASEBKGND, sent | parent | optional},
        {WM_WINDOWPOSCHANGED, sent},
        {WM_SETFONT, sent | wparam | lparam, reinterpret_cast<WPARAM>(panel->Font().Handle()), FALSE},
    }));
    EXPECT_EQ(atCreate, reinterpret_cast<LONG_PTR>(static_cast<TWinControl*>(panel)));
    EXPECT_EQ(TWinControl::FindControl(panel->Handle()), panel);

    seq.Flush();
    HWND window = panel->Handle();
    panel->Free();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(seq.Matches({
        {0x0090, sent | optional},
        {WM_PARENTNOTIFY, sent | parent | wparam, WM_DESTROY},
        {WM_SHOWWINDOW, sent | wparam, FALSE},
        {WM_WINDOWPOSCHANGING, sent},
        {WM_ERASEBKGND, sent | parent | optional},
        {WM_WINDOWPOSCHANGED, sent},
        {WM_DESTROY, sent},
        {WM_NCDESTROY, sent},
    }));
    EXPECT_EQ(atDestroy, 0) << "the window still pointed at its object after WM_NCDESTROY";
    EXPECT_EQ(foundAtDestroy, nullptr);
}

TEST_F(Sequences, SystemControlIsHookedOnceAndReleasedAtWmNcDestroy)
{
    auto* bar = CreateComponent<TTrackBar>(form.get());
    TMessageSequence seq(form->Handle());
    seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_STYLECHANGING, WM_STYLECHANGED,
                WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCCALCSIZE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                WM_NOTIFYFORMAT, WM_QUERYUISTATE, WM_UPDATEUISTATE, WM_CHANGEUISTATE, WM_GETFONT});
    TWinControl* foundAtDestroy = bar;
    seq.OnHandled = [&](HWND w, UINT m, LRESULT) {
        if (m == WM_NCDESTROY) foundAtDestroy = TWinControl::FindControl(w);
    };
    bar->SetParent(form.get());
    HWND window = bar->Handle();
    EXPECT_EQ(TWinControl::FindControl(window), bar);
    // The stored settings reach the window once each, after creation.
    EXPECT_TRUE(seq.Matches({
        {WM_NCCREATE, sent},
        {WM_CREATE, sent},
        {WM_PARENTNOTIFY, sent | parent | wparam, WM_CREATE},
        {WM_SETFONT, sent},
        {TBM_SETTHUMBLENGTH, sent | wparam, 20},
        {TBM_SETLINESIZE, sent | lparam, 0, 1},
        {TBM_SETPAGESIZE, sent | lparam, 0, 2},
        {TBM_SETRANGEMIN, sent | lparam, 0, 0},
        {TBM_SETRANGEMAX, sent | lparam, 0, 10},
        {TBM_SETTICFREQ, sent | wparam, 1},
        {TBM_SETPOS, sent | lparam, 0, 0},
    }));

    // Destroyed from outside: the object lets the window go and can make a new one.
    seq.Flush();
    DestroyWindow(window);
    EXPECT_TRUE(seq.Matches({
        {0x0090, sent | optional},
        {WM_PARENTNOTIFY, sent | parent | wparam, WM_DESTROY},
        {WM_DESTROY, sent},
        {WM_NCDESTROY, sent},
    }));
    EXPECT_EQ(foundAtDestroy, nullptr);
    EXPECT_FALSE(bar->HandleAllocated());
    bar->SetPosition(4);  // no window: only stored
    HWND again = bar->Handle();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(TWinControl::FindControl(again), bar);
    EXPECT_EQ(SendMessageW(again, TBM_GETPOS, 0, 0), 4);
}

TEST_F(Sequences, ReleasedFormGoesOnlyWhenItsPostedRequestIsDispatched)
{
    auto* other = new TForm(nullptr);
    other->SetBounds(50, 50, 200, 100);
    HWND window = other->Handle();
    TMessageSequence seq(window);
    other->Release();  // the handler that asks is still running: nothing goes yet
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(seq.Matches({}));
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(seq.Matches({
        {CM_RELEASE, posted | parent},
        {WM_DESTROY, sent | parent},
        {WM_NCDESTROY, sent | parent},
    }));
}

// ---- Notifications come back to the child ----

TEST_F(Sequences, NotificationsSentToTheParentAreAnsweredByTheChildsObject)
{
    auto* child = CreateComponent<TProbe>(form.get(), rec, "child");
    auto* outer = CreateComponent<TProbe>(form.get(), rec, "box");
    outer->SetBounds(10, 10, 200, 150);
    outer->SetParent(form.get());
    child->SetBounds(10, 20, 50, 20);
    child->SetParent(outer);
    child->Answer = 0x1234;
    HWND c = child->Handle();
    NMHDR header{c, 7, NM_CLICK};
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON;
    draw.hwndItem = c;

    struct Case {
        UINT message;
        WPARAM w;
        LPARAM l;
    };
    const Case cases[] = {
        {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(c)},
        {WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)},
        {WM_HSCROLL, TB_LINEDOWN, reinterpret_cast<LPARAM>(c)},
        {WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(c)},
        {WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&draw)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(MessageName(k.message));
        rec.Flush();
        EXPECT_EQ(SendMessageW(outer->Handle(), k.message, k.w, k.l), 0x1234);
        EXPECT_TRUE(rec.Matches({{"box:" + MessageName(k.message)}, {"child:reflected " + MessageName(k.message)}}));
    }

    // From a window that is not a control of ours: the parent's default answer.
    HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, outer->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    rec.Flush();
    EXPECT_EQ(SendMessageW(outer->Handle(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(foreign)), 0);
    EXPECT_TRUE(rec.Matches({{"box:WM_COMMAND"}}));
    DestroyWindow(foreign);
}

TEST_F(Sequences, TrackBarScrollReachesItsOwnObjectThroughTheParent)
{
    auto* bar = Put<TTrackBar>(10, 10, 150, 40);
    bar->OnChange = [this](TObject* s) { rec.Add("change:" + std::to_string(static_cast<TTrackBar*>(s)->Position())); };
    form->OnClick = Note("form:click");
    TMessageSequence seq(form->Handle());
    seq.Watch(bar->Handle());
    seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_GETDLGCODE, WM_NOTIFY});
    rec.Flush();
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_TRUE(seq.Matches({
        {WM_KEYDOWN, sent | wparam, VK_RIGHT},
        {WM_HSCROLL, sent | parent | wparam, TB_LINEDOWN},
        {TBM_GETPOS, sent},  // the bar's own object reads its new position
    }));
    EXPECT_TRUE(rec.Matches({{"change:1"}}));
}

TEST_F(Sequences, CheckBoxClickReachesItsOwnObjectThroughTheParent)
{
    auto* box = Put<TCheckBox>(10, 60, 120, 20);
    box->OnClick = Note("box:click");
    form->OnClick = Note("form:click");
    TMessageSequence seq(form->Handle());
    seq.Watch(box->Handle());
    seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CAPTURECHANGED,
                WM_SETFOCUS, WM_KILLFOCUS, WM_ACTIVATE, WM_NCACTIVATE, WM_GETTEXT, WM_GETTEXTLENGTH, WM_GETFONT,
                BM_SETSTATE, BM_GETSTATE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_UPDATEUISTATE, WM_QUERYUISTATE,
                WM_CHANGEUISTATE, WM_PARENTNOTIFY, WM_MOUSEACTIVATE, WM_NOTIFY});
    rec.Flush();
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(seq.Matches({
        {BM_CLICK, sent},
        {WM_COMMAND, sent | parent | wparam, MAKEWPARAM(0, BN_CLICKED)},
        {BM_SETCHECK, sent | wparam, BST_CHECKED},  // the box's own object toggled it
    }));
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(rec.Matches({{"box:click"}}));
}

// The system tells only top-level windows that the user's colours changed. A
// common control keeps its own copy of them, so its form passes the news on;
// the toolkit's own windows are told by a call.
TEST_F(Sequences, ColourChangeIsPassedOnToCommonControls)
{
    auto* bar = Put<TTrackBar>(10, 10, 150, 40);
    TMessageSequence seq(form->Handle());
    seq.Watch(bar->Handle());
    seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_NOTIFY});
    SendMessageW(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_TRUE(seq.Matches({{WM_SYSCOLORCHANGE, sent | parent}, {WM_SYSCOLORCHANGE, sent}}));
}

// ---- What setters send ----

TWinControl* MakePanel(TForm* form)
{
    auto* p = CreateComponent<TPanelControl>(form);
    p->SetCaption(L"Old");
    p->SetParent(form);
    p->Handle();
    return p;
}

TEST_F(Sequences, SettersSendWhatChangedAndNothingWhenUnchanged)
{
    using Make = TWinControl* (*)(TForm*);
    struct Case {
        const char* what;
        Make make;
        void (*act)(TWinControl*);
        std::vector<TMsg> expected;
    };
    auto panel = [](TForm* f) -> TWinControl* { return MakePanel(f); };
    auto track = [](TForm* f) -> TWinControl* {
        auto* b = CreateComponent<TTrackBar>(f);
        b->SetParent(f);
        b->SetMax(100);
        b->SetPosition(50);
        b->Handle();
        return b;
    };
    auto progress = [](TForm* f) -> TWinControl* {
        auto* b = CreateComponent<TProgressBar>(f);
        b->SetParent(f);
        b->SetPosition(50);
        b->Handle();
        return b;
    };
    const Case cases[] = {
        {"caption", panel, [](TWinControl* c) { c->SetCaption(L"New"); }, {{WM_SETTEXT, sent}}},
        {"same caption", panel, [](TWinControl* c) { c->SetCaption(L"Old"); }, {}},
        {"disabled", panel, [](TWinControl* c) { c->SetEnabled(false); },
         {{WM_CANCELMODE, sent | optional}, {WM_ENABLE, sent | wparam, FALSE}}},
        {"still enabled", panel, [](TWinControl* c) { c->SetEnabled(true); }, {}},
        {"hidden", panel, [](TWinControl* c) { c->SetVisible(false); },
         {{WM_SHOWWINDOW, sent | wparam, FALSE}, {WM_WINDOWPOSCHANGING, sent}, {WM_WINDOWPOSCHANGED, sent}}},
        {"still visible", panel, [](TWinControl* c) { c->SetVisible(true); }, {}},
        {"same bounds", panel, [](TWinControl* c) { c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height()); }, {}},
        {"track position", track, [](TWinControl* c) { static_cast<TTrackBar*>(c)->SetPosition(7); },
         {{TBM_SETPOS, sent | wparam | lparam, TRUE, 7}}},
        {"same track position", track, [](TWinControl* c) { static_cast<TTrackBar*>(c)->SetPosition(50); }, {}},
        {"line size", track, [](TWinControl* c) { static_cast<TTrackBar*>(c)->SetLineSize(5); },
         {{TBM_SETLINESIZE, sent | lparam, 0, 5}}},
        {"same line size", track, [](TWinControl* c) { static_cast<TTrackBar*>(c)->SetLineSize(1); }, {}},
        {"same frequency", track, [](TWinControl* c) { static_cast<TTrackBar*>(c)->SetFrequency(1); }, {}},
        {"progress position", progress, [](TWinControl* c) { static_cast<TProgressBar*>(c)->SetPosition(80); },
         {{PBM_SETPOS, sent | wparam, 80}}},
        {"same progress position", progress, [](TWinControl* c) { static_cast<TProgressBar*>(c)->SetPosition(50); },
         {}},
        {"same progress max", progress, [](TWinControl* c) { static_cast<TProgressBar*>(c)->SetMax(100); }, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        TWinControl* control = k.make(form.get());
        Pump();
        TMessageSequence seq(form->Handle());
        seq.Watch(control->Handle());
        // Painting is checked elsewhere; here only what the setter asks for.
        seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_PRINTCLIENT});
        k.act(control);
        EXPECT_TRUE(seq.Matches(k.expected));
        control->Free();
    }
}

// ---- Setters at the edges of their ranges ----

TEST_F(Sequences, RangeSettersAtTheirEqualityBoundaries)
{
    struct Case {
        const char* what;
        void (*act)(TTrackBar*, TProgressBar*);
        int min, max, position;  // afterwards, both bars
        bool windowsTold;
    };
    // Both bars start at 0..10, position 5.
    const Case cases[] = {
        {"position = Min", [](TTrackBar* t, TProgressBar* p) { t->SetPosition(0); p->SetPosition(0); }, 0, 10, 0, true},
        {"position = Max", [](TTrackBar* t, TProgressBar* p) { t->SetPosition(10); p->SetPosition(10); }, 0, 10, 10,
         true},
        {"position below Min", [](TTrackBar* t, TProgressBar* p) { t->SetPosition(-1); p->SetPosition(-1); }, 0, 10, 0,
         true},
        {"position above Max", [](TTrackBar* t, TProgressBar* p) { t->SetPosition(11); p->SetPosition(11); }, 0, 10, 10,
         true},
        {"Max = Min", [](TTrackBar* t, TProgressBar* p) { t->SetMax(0); p->SetMax(0); }, 0, 0, 0, true},
        {"Min = Max", [](TTrackBar* t, TProgressBar* p) { t->SetMin(10); p->SetMin(10); }, 10, 10, 10, true},
        {"Max below Min", [](TTrackBar* t, TProgressBar* p) { t->SetMax(-1); p->SetMax(-1); }, 0, 10, 5, false},
        {"Min above Max", [](TTrackBar* t, TProgressBar* p) { t->SetMin(11); p->SetMin(11); }, 0, 10, 5, false},
        {"Min = Min", [](TTrackBar* t, TProgressBar* p) { t->SetMin(0); p->SetMin(0); }, 0, 10, 5, false},
        {"Max = Max", [](TTrackBar* t, TProgressBar* p) { t->SetMax(10); p->SetMax(10); }, 0, 10, 5, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto* track = Put<TTrackBar>(10, 10, 150, 40);
        track->SetPosition(5);
        auto* progress = Put<TProgressBar>(10, 60, 150, 16);
        progress->SetMax(10);
        progress->SetPosition(5);
        HWND t = track->Handle(), p = progress->Handle();
        int changes = 0;
        track->OnChange = [&](TObject*) { ++changes; };
        Pump();
        TMessageSequence seq(form->Handle());
        seq.Watch(t);
        seq.Watch(p);
        seq.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_PRINTCLIENT});

        k.act(track, progress);
        // Ignored and unchanged values reach neither window.
        EXPECT_EQ(seq.Recorded().empty(), !k.windowsTold);

        EXPECT_EQ(track->Min(), k.min);
        EXPECT_EQ(track->Max(), k.max);
        EXPECT_EQ(track->Position(), k.position);
        EXPECT_EQ(SendMessageW(t, TBM_GETRANGEMIN, 0, 0), k.min);
        EXPECT_EQ(SendMessageW(t, TBM_GETRANGEMAX, 0, 0), k.max);
        EXPECT_EQ(SendMessageW(t, TBM_GETPOS, 0, 0), k.position);
        EXPECT_EQ(changes, k.position != 5 ? 1 : 0);
        EXPECT_EQ(progress->Min(), k.min);
        EXPECT_EQ(progress->Max(), k.max);
        EXPECT_EQ(progress->Position(), k.position);
        EXPECT_EQ(SendMessageW(p, PBM_GETRANGE, TRUE, 0), k.min);
        EXPECT_EQ(SendMessageW(p, PBM_GETRANGE, FALSE, 0), k.max);
        EXPECT_EQ(SendMessageW(p, PBM_GETPOS, 0, 0), k.position);
        track->Free();
        progress->Free();
    }
}

}  // namespace
