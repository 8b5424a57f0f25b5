// Components: ownership, removal notification and the load session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/component.h"
#include "toolkit/loader.h"

namespace {

std::vector<std::string> journal;

class TProbe : public TComponent {
public:
    explicit TProbe(TComponent* owner, std::string tag = {}) : TComponent(owner), tag_(std::move(tag)) {}
    ~TProbe() override { journal.push_back("destroy " + tag_); }

    TProbe* Buddy = nullptr;  // not owned
    void SetBuddy(TProbe* buddy)
    {
        if (Buddy != nullptr) Buddy->RemoveFreeNotification(this);
        Buddy = buddy;
        if (buddy != nullptr) buddy->FreeNotification(this);
    }
    void SetValue(int v)
    {
        journal.push_back(tag_ + (IsLoading() ? ".value(loading)=" : ".value=") + std::to_string(v));
    }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == Buddy) Buddy = nullptr;
    }
    void Loaded() override { journal.push_back("loaded " + tag_ + (IsLoading() ? " (still loading)" : "")); }
    void AfterLoad() override { journal.push_back("created " + tag_); }

private:
    std::string tag_;
};

TEST(Ownership, OwnedComponentsDieWithTheOwnerInReverseCreationOrder)
{
    journal.clear();
    auto* root = new TProbe(nullptr, "root");
    CreateComponent<TProbe>(root, "a");
    auto* b = CreateComponent<TProbe>(root, "b");
    CreateComponent<TProbe>(b, "b1");
    CreateComponent<TProbe>(root, "c");
    EXPECT_EQ(root->ComponentCount(), 3u);
    root->Free();
    EXPECT_EQ(journal, (std::vector<std::string>{"destroy root", "destroy c", "destroy b", "destroy b1", "destroy a"}));
}

TEST(Ownership, FreeingAnOwnedComponentEarlyRemovesItFromItsOwner)
{
    journal.clear();
    TProbe root(nullptr, "root");
    auto* a = CreateComponent<TProbe>(&root, "a");
    a->SetName(L"A");
    CreateComponent<TProbe>(&root, "b");
    EXPECT_EQ(root.FindComponent(L"A"), a);
    a->Free();
    EXPECT_EQ(root.ComponentCount(), 1u);
    EXPECT_EQ(root.FindComponent(L"A"), nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"destroy a"}));
}

TEST(FreeNotification, ReferencesAreClearedWhenTheTargetGoesInEitherDirection)
{
    TProbe root(nullptr, "root");
    auto* menu = CreateComponent<TProbe>(&root, "menu");
    auto* icon = CreateComponent<TProbe>(&root, "icon");
    icon->SetBuddy(menu);
    menu->Free();
    EXPECT_EQ(icon->Buddy, nullptr);

    // The referring side going first must not leave a dangling notifier behind.
    auto* menu2 = CreateComponent<TProbe>(&root, "menu2");
    auto* icon2 = CreateComponent<TProbe>(&root, "icon2");
    icon2->SetBuddy(menu2);
    icon2->Free();
    menu2->Free();  // would touch the freed icon2 if the link were one-way

    // Switching the reference drops the old link.
    auto* x = CreateComponent<TProbe>(&root, "x");
    auto* y = CreateComponent<TProbe>(&root, "y");
    auto* z = CreateComponent<TProbe>(&root, "z");
    z->SetBuddy(x);
    z->SetBuddy(y);
    x->Free();
    EXPECT_EQ(z->Buddy, y);
}

TEST(Loading, PropertiesInOrderThenFixupsThenLoadedThenCreation)
{
    journal.clear();
    TProbe form(nullptr, "form");
    {
        TLoadSession load(&form);
        auto* a = CreateComponent<TProbe>(&form, "a");
        EXPECT_TRUE(a->IsLoading());
        a->SetValue(1);
        auto* b = CreateComponent<TProbe>(&form, "b");
        load.Fixup([&] {
            journal.push_back("fixup");
            EXPECT_TRUE(a->IsLoading() && b->IsLoading());
            a->SetBuddy(b);
        });
        b->SetValue(2);
        a->SetValue(3);
        load.Finish();
        EXPECT_EQ(a->Buddy, b);
        EXPECT_FALSE(a->IsLoading());
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"a.value(loading)=1", "b.value(loading)=2", "a.value(loading)=3",
                                                  "fixup", "loaded form", "loaded a", "loaded b", "created form"}));
    journal.clear();
    auto* later = CreateComponent<TProbe>(&form, "later");
    later->SetValue(4);
    EXPECT_EQ(journal, (std::vector<std::string>{"later.value=4"}));
}

TEST(Loading, AFailedLoadRunsNoFixupNoLoadedNoCreation)
{
    journal.clear();
    TProbe form(nullptr, "form");
    try {
        TLoadSession load(&form);
        CreateComponent<TProbe>(&form, "a");
        load.Fixup([] { journal.push_back("fixup"); });
        throw std::runtime_error("bad layout");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(form.IsLoading());
    EXPECT_FALSE(form.Components(0)->IsLoading());
    EXPECT_EQ(journal, std::vector<std::string>{});
}

TEST(Components, ABadIndexRaisesAListErrorNamingIt)
{
    TProbe owner(nullptr, "owner");
    new TProbe(&owner, "a");
    new TProbe(&owner, "b");
    EXPECT_NE(owner.Components(1), nullptr);
    for (std::size_t bad : {std::size_t{2}, std::size_t{100}, static_cast<std::size_t>(-1)}) {
        try {
            owner.Components(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), L"List index out of bounds (" + std::to_wstring(static_cast<long long>(bad)) + L")");
        }
    }
    journal.clear();
}

}  // namespace
