#include "toolkit/actions.h"

#include "tests/toolkit/controls_fixture.h"
#include "toolkit/loader.h"
#include "toolkit/menus.h"
#include "toolkit/speedbutton.h"

namespace {

class ActionsTest : public ToolkitTest {
protected:
    TSpeedButton* Button(const std::wstring& name)
    {
        auto* b = CreateComponent<TSpeedButton>(form.get());
        b->SetName(name);
        b->SetParent(form.get());
        return b;
    }
    TAction* MakeAction(const std::wstring& caption, const std::string& tag)
    {
        auto* a = CreateComponent<TAction>(form.get());
        a->SetActionList(list);
        a->SetCaption(caption);
        a->OnExecute = [this, tag, a](TObject* sender) { rec.Add(tag + (sender == a ? ":by-action" : ":other")); };
        return a;
    }

    TActionList* list = nullptr;
};

TEST_F(ActionsTest, LoadingGivesClientsOnlyWhatTheyLack)
{
    TSpeedButton *own = nullptr, *named = nullptr, *empty = nullptr, *hidden = nullptr, *disabled = nullptr;
    TMenuItem *item = nullptr, *captioned = nullptr;
    TAction* optimize = nullptr;
    {
        TLoadSession load(form.get());
        list = CreateComponent<TActionList>(form.get());
        optimize = MakeAction(L"&Optimize", "optimize");
        own = Button(L"SpeedButtonOptimize");
        own->SetCaption(L"&Optimize Now");
        named = Button(L"SpeedButtonOptimize2");
        named->SetCaption(L"SpeedButtonOptimize2");
        empty = Button(L"Empty");
        hidden = Button(L"Hidden");
        hidden->SetVisible(false);
        disabled = Button(L"Disabled");
        disabled->SetEnabled(false);
        item = CreateComponent<TMenuItem>(form.get());
        item->SetName(L"OptimizeNow");
        captioned = CreateComponent<TMenuItem>(form.get());
        captioned->SetName(L"Mine");
        captioned->SetCaption(L"Mine");
        load.Fixup([&] {
            for (TSpeedButton* b : {own, named, empty, hidden, disabled}) b->SetAction(optimize);
            item->SetAction(optimize);
            captioned->SetAction(optimize);
        });
        load.Finish();
    }
    EXPECT_EQ(own->Caption(), L"&Optimize Now");
    EXPECT_EQ(named->Caption(), L"&Optimize");
    EXPECT_EQ(empty->Caption(), L"&Optimize");
    EXPECT_EQ(item->Caption(), L"&Optimize");
    EXPECT_EQ(captioned->Caption(), L"Mine");  // an item keeps even a caption equal to its name
    EXPECT_FALSE(hidden->Visible());
    EXPECT_FALSE(disabled->Enabled());
    EXPECT_TRUE(own->Enabled());
    EXPECT_TRUE(rec.Entries().empty());
    EXPECT_EQ(optimize->ClientCount(), 7u);
}

TEST_F(ActionsTest, ADisabledActionDisablesEnabledClientsWhileLoading)
{
    TSpeedButton* b = nullptr;
    {
        TLoadSession load(form.get());
        list = CreateComponent<TActionList>(form.get());
        TAction* a = MakeAction(L"A", "a");
        a->SetEnabled(false);
        a->SetVisible(false);
        b = Button(L"B");
        load.Fixup([&] { b->SetAction(a); });
        load.Finish();
    }
    EXPECT_FALSE(b->Enabled());
    EXPECT_FALSE(b->Visible());
}

TEST_F(ActionsTest, ClickingAClientRunsTheActionUnlessItHasItsOwnHandler)
{
    list = CreateComponent<TActionList>(form.get());
    TAction* a = MakeAction(L"&Settings", "settings");
    TSpeedButton* plain = Button(L"Plain");
    TSpeedButton* own = Button(L"Own");
    own->OnClick = Note("own");
    plain->SetAction(a);
    own->SetAction(a);
    auto* item = CreateComponent<TMenuItem>(form.get());
    item->SetAction(a);
    plain->Click();
    own->Click();
    item->Click();
    EXPECT_TRUE(rec.Matches({{"settings:by-action"}, {"own"}, {"settings:by-action"}}));
    a->SetEnabled(false);
    rec.Flush();
    a->Execute();
    plain->Click();
    EXPECT_TRUE(rec.Entries().empty());
}

TEST_F(ActionsTest, ActionChangesReachClientsThatFollowIt)
{
    list = CreateComponent<TActionList>(form.get());
    TAction* a = MakeAction(L"&Optimize", "optimize");
    TSpeedButton* follower = Button(L"Follower");
    TSpeedButton* own = Button(L"Own");
    follower->SetAction(a);  // after loading: takes everything
    own->SetAction(a);
    own->SetCaption(L"&Optimize Now");
    auto* item = CreateComponent<TMenuItem>(form.get());
    item->SetAction(a);
    EXPECT_EQ(follower->Caption(), L"&Optimize");

    a->SetCaption(L"&Free");
    EXPECT_EQ(follower->Caption(), L"&Free");
    EXPECT_EQ(item->Caption(), L"&Free");
    EXPECT_EQ(own->Caption(), L"&Optimize Now");

    a->SetEnabled(false);
    EXPECT_FALSE(follower->Enabled());
    EXPECT_FALSE(own->Enabled());
    EXPECT_FALSE(item->Enabled());
    a->SetEnabled(true);
    // A client disabled on its own touches neither the action nor the others.
    own->SetEnabled(false);
    EXPECT_TRUE(a->Enabled());
    EXPECT_TRUE(follower->Enabled());
    EXPECT_TRUE(item->Enabled());
    a->SetHint(L"Frees memory");
    EXPECT_EQ(follower->Hint(), L"Frees memory");
}

TEST_F(ActionsTest, DestroyedActionsLeaveTheirClientsSafely)
{
    list = CreateComponent<TActionList>(form.get());
    TAction* a = MakeAction(L"A", "a");
    TSpeedButton* b = Button(L"B");
    auto* item = CreateComponent<TMenuItem>(form.get());
    b->SetAction(a);
    item->SetAction(a);
    EXPECT_EQ(list->ActionCount(), 1u);
    a->Free();
    EXPECT_EQ(b->Action(), nullptr);
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0u);
    b->Click();
    item->Click();
    EXPECT_TRUE(rec.Entries().empty());
    // The list frees the actions it holds.
    TAction* c = MakeAction(L"C", "c");
    b->SetAction(c);
    const std::size_t before = form->ComponentCount();
    list->Free();
    EXPECT_EQ(form->ComponentCount(), before - 2);
    EXPECT_EQ(b->Action(), nullptr);
}

}  // namespace
