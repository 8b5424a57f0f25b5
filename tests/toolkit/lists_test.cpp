// The toolkit's ordered lists: menu items inserted at a position, moved and
// found again, and every indexed list answering a bad index with its error.
#include <string>
#include <vector>

#include "tests/toolkit/controls_fixture.h"
#include "tests/toolkit/fixtures.h"
#include "toolkit/actions.h"
#include "toolkit/errors.h"
#include "toolkit/menus.h"
#include "toolkit/pagecontrol.h"

namespace {

class Lists : public ToolkitTest {
protected:
    TMenuItem* Item(const std::wstring& caption)
    {
        auto* item = CreateComponent<TMenuItem>(form.get());
        item->SetCaption(caption);
        return item;
    }
    static std::wstring Captions(const TMenuItem& parent)
    {
        std::wstring out;
        for (std::size_t i = 0; i < parent.Count(); ++i) {
            out += parent.Items(i)->Caption();
            EXPECT_EQ(parent.Items(i)->MenuIndex(), static_cast<int>(i));
        }
        return out;
    }
};

TEST_F(Lists, MenuItemsGoWhereTheyAreInsertedAndMoveWithoutCopies)
{
    auto* menu = CreateComponent<TPopupMenu>(form.get());
    TMenuItem& root = menu->Items();
    TMenuItem* a = Item(L"a");
    TMenuItem* b = Item(L"b");
    TMenuItem* c = Item(L"c");
    TMenuItem* d = Item(L"d");
    struct Step {
        const char* what;
        TMenuItem* item;
        std::size_t index;
        const wchar_t* after;
    };
    const Step steps[] = {
        {"into an empty list", b, 0, L"b"},
        {"at the front", a, 0, L"ab"},
        {"at the end (index = Count)", d, 2, L"abd"},
        {"in the middle", c, 2, L"abcd"},
        {"moved from the front to the end", a, 3, L"bcda"},
        {"moved from the end to the front", a, 0, L"abcd"},
        {"moved onto its own place", c, 2, L"abcd"},
        {"moved one forward", b, 2, L"acbd"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        root.Insert(s.index, s.item);
        EXPECT_EQ(Captions(root), s.after);
        EXPECT_EQ(s.item->Parent(), &root);
    }

    // Taken from another parent: it leaves that one.
    TMenuItem* sub = Item(L"sub");
    root.Add(sub);
    sub->Insert(0, b);
    EXPECT_EQ(Captions(root), L"acdsub");
    EXPECT_EQ(Captions(*sub), L"b");
    EXPECT_EQ(b->Parent(), sub);

    root.Remove(c);
    EXPECT_EQ(Captions(root), L"adsub");
    EXPECT_EQ(c->MenuIndex(), -1);
    EXPECT_EQ(c->Parent(), nullptr);
}

TEST_F(Lists, InsertPastTheEndIsAnErrorAndChangesNothing)
{
    auto* menu = CreateComponent<TPopupMenu>(form.get());
    TMenuItem& root = menu->Items();
    TMenuItem* a = Item(L"a");
    TMenuItem* b = Item(L"b");
    root.Add(a);
    TMenuItem* other = Item(L"other");
    other->Add(b);
    try {
        root.Insert(2, b);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
    }
    EXPECT_EQ(Captions(root), L"a");
    EXPECT_EQ(b->Parent(), other) << "the item was taken from its parent all the same";
}

TEST_F(Lists, EveryIndexedListRaisesAListErrorPastItsEnd)
{
    auto* list = CreateComponent<TActionList>(form.get());
    auto* action = CreateComponent<TAction>(form.get());
    action->SetActionList(list);
    auto* pages = CreateComponent<TPageControl>(form.get());
    pages->SetParent(form.get());
    auto* sheet = CreateComponent<TTabSheet>(form.get());
    sheet->SetPageControl(pages);
    auto* menu = CreateComponent<TPopupMenu>(form.get());
    menu->Items().Add(Item(L"x"));

    struct Case {
        const char* what;
        std::size_t count;  // the valid indexes are 0 .. count - 1
        void (*read)(TForm*, TActionList*, TPageControl*, TPopupMenu*, std::size_t);
    };
    const Case cases[] = {
        {"components", form->ComponentCount(), [](TForm* f, TActionList*, TPageControl*, TPopupMenu*, std::size_t i) {
             f->Components(i);
         }},
        {"controls", 1, [](TForm* f, TActionList*, TPageControl*, TPopupMenu*, std::size_t i) {
             f->Controls(i);
         }},
        {"actions", 1, [](TForm*, TActionList* l, TPageControl*, TPopupMenu*, std::size_t i) { l->Actions(i); }},
        {"pages", 1, [](TForm*, TActionList*, TPageControl* p, TPopupMenu*, std::size_t i) { p->Pages(i); }},
        {"menu items", 1, [](TForm*, TActionList*, TPageControl*, TPopupMenu* m, std::size_t i) { m->Items().Items(i); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const std::size_t count = k.count;
        EXPECT_NO_THROW(k.read(form.get(), list, pages, menu, count - 1));
        for (std::size_t bad : {count, count + 7, static_cast<std::size_t>(-1)}) {
            try {
                k.read(form.get(), list, pages, menu, bad);
                ADD_FAILURE() << "no error for " << bad;
            } catch (const EListError& e) {
                EXPECT_EQ(e.Message(), L"List index out of bounds (" +
                                           std::to_wstring(static_cast<long long>(bad)) + L")");
            }
        }
    }
}

}  // namespace
