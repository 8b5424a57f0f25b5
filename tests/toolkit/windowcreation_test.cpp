// When windows come into being: a control gets none until it and its parent
// show (or its handle is asked for), then takes the place among its siblings
// it would have had; hiding a container hands the focus on.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fixtures.h"
#include "recorder.h"
#include "toolkit/application.h"

namespace {

std::vector<HWND> ChildrenTopFirst(HWND parent)
{
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
}

// A shown form holding a box with three panels; `hidden` (an index, or -1)
// starts invisible.
struct TBoxOfThree {
    std::unique_ptr<TForm> form{NewShownForm()};
    TPanelControl* box = nullptr;
    TPanelControl* panels[3] = {};

    TBoxOfThree(int hidden, bool boxHidden = false)
    {
        box = CreateComponent<TPanelControl>(form.get());
        box->SetBounds(10, 10, 300, 200);
        box->SetVisible(!boxHidden);
        for (int i = 0; i < 3; ++i) {
            panels[i] = CreateComponent<TPanelControl>(form.get());
            // Overlapping, so that their stacking shows.
            panels[i]->SetBounds(10 + 20 * i, 10 + 20 * i, 80, 60);
            panels[i]->SetVisible(i != hidden);
            panels[i]->SetParent(box);
        }
        box->SetParent(form.get());
        Pump();
    }
    std::vector<HWND> Stack() const { return ChildrenTopFirst(box->WindowHandle()); }
};

TEST(WindowCreation, AHiddenControlGetsItsWindowWhenFirstShownInItsPlace)
{
    const TBoxOfThree eager(-1);
    const std::vector<HWND> eagerStack = eager.Stack();
    ASSERT_EQ(eagerStack.size(), 3u);
    std::vector<int> eagerOrder;
    for (HWND w : eagerStack)
        for (int i = 0; i < 3; ++i)
            if (eager.panels[i]->WindowHandle() == w) eagerOrder.push_back(i);

    for (int hidden = 0; hidden < 3; ++hidden) {
        SCOPED_TRACE(hidden);
        TBoxOfThree lazy(hidden);
        EXPECT_FALSE(lazy.panels[hidden]->HandleAllocated());
        EXPECT_EQ(lazy.Stack().size(), 2u);

        lazy.panels[hidden]->Show();
        ASSERT_TRUE(lazy.panels[hidden]->HandleAllocated());
        HWND shown = lazy.panels[hidden]->WindowHandle();
        EXPECT_EQ(GetParent(shown), lazy.box->WindowHandle());
        EXPECT_TRUE(IsWindowVisible(shown));
        std::vector<HWND> expected;
        for (int i : eagerOrder) expected.push_back(lazy.panels[i]->WindowHandle());
        EXPECT_EQ(lazy.Stack(), expected);
    }
}

TEST(WindowCreation, AHiddenContainerMakesNoWindowsUntilShownOrAsked)
{
    {
        TBoxOfThree lazy(1, true);
        EXPECT_FALSE(lazy.box->HandleAllocated());
        for (TPanelControl* p : lazy.panels) EXPECT_FALSE(p->HandleAllocated());

        // Asked for, a control's window is made with its parent's; the
        // hidden parent's other children still wait, until it shows.
        HWND first = lazy.panels[0]->Handle();
        EXPECT_TRUE(lazy.box->HandleAllocated());
        EXPECT_FALSE(IsWindowVisible(first));
        EXPECT_FALSE(lazy.panels[1]->HandleAllocated());
        EXPECT_FALSE(lazy.panels[2]->HandleAllocated());
        lazy.box->Show();
        ASSERT_TRUE(lazy.panels[2]->HandleAllocated());
        EXPECT_TRUE(IsWindowVisible(lazy.panels[2]->WindowHandle()));
        EXPECT_TRUE(IsWindowVisible(first));
        EXPECT_FALSE(lazy.panels[1]->HandleAllocated());
        EXPECT_EQ(lazy.Stack(), (std::vector<HWND>{first, lazy.panels[2]->WindowHandle()}));
    }
    {
        // A form made without being shown (one that starts in the tray) has
        // no child windows until it shows.
        std::unique_ptr<TForm> form(new TForm(nullptr));
        form->SetBounds(60, 60, 300, 200);
        auto* panel = CreateComponent<TPanelControl>(form.get());
        panel->SetTabStop(false);  // not made by taking the focus
        panel->SetParent(form.get());
        form->Handle();
        EXPECT_FALSE(panel->HandleAllocated());
        form->Show();
        ASSERT_TRUE(panel->HandleAllocated());
        EXPECT_TRUE(IsWindowVisible(panel->WindowHandle()));
    }
    {
        TBoxOfThree lazy(1, true);
        lazy.box->Show();
        EXPECT_TRUE(IsWindowVisible(lazy.box->WindowHandle()));
        EXPECT_TRUE(IsWindowVisible(lazy.panels[0]->WindowHandle()));
        EXPECT_FALSE(lazy.panels[1]->HandleAllocated());
        // Hidden again and shown again: the same windows, not new ones.
        HWND box = lazy.box->WindowHandle();
        lazy.box->Hide();
        EXPECT_FALSE(IsWindowVisible(box));
        lazy.box->Show();
        EXPECT_EQ(lazy.box->WindowHandle(), box);
        EXPECT_TRUE(IsWindowVisible(box));
    }
}

TEST(WindowCreation, HidingTheContainerOfTheFocusHandsItOn)
{
    // Focus inside a box with a control after it: that control takes it, as
    // a Tab would give it.
    {
        TBoxOfThree setup(-1);
        auto* after = CreateComponent<TPanelControl>(setup.form.get());
        after->SetBounds(10, 230, 80, 25);
        after->SetParent(setup.form.get());
        setup.panels[1]->SetFocus();
        ASSERT_TRUE(setup.panels[1]->Focused());
        setup.box->Hide();
        EXPECT_TRUE(after->Focused());
        EXPECT_EQ(setup.form->ActiveControl(), after);
    }
    // Nothing left that can take it: the form keeps the keyboard, not a
    // hidden window.
    {
        TBoxOfThree setup(-1);
        setup.panels[2]->SetFocus();
        setup.box->Hide();
        EXPECT_EQ(setup.form->ActiveControl(), nullptr);
        EXPECT_EQ(GetFocus(), setup.form->WindowHandle());
    }
    // Focus elsewhere stays where it is.
    {
        TBoxOfThree setup(-1);
        auto* after = CreateComponent<TPanelControl>(setup.form.get());
        after->SetBounds(10, 230, 80, 25);
        after->SetParent(setup.form.get());
        after->SetFocus();
        setup.box->Hide();
        EXPECT_TRUE(after->Focused());
    }
}

}  // namespace
