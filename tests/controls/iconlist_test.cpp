// The icon list: ownership of copies, one change event per change or batch,
// and the stored form read back (including damaged data).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/iconlist.h"
#include "resources/resource.h"
#include "toolkit/errors.h"

namespace {

std::unique_ptr<TIcon> ProgramIcon()
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromResourceID(GetModuleHandleW(nullptr), IDI_QUENFEL);
    return icon;
}

class IconListTest : public ::testing::Test {
protected:
    TIconList list;
    int changes = 0;
    void SetUp() override { list.OnChange = [this](TObject*) { ++changes; }; }
};

TEST_F(IconListTest, HoldsCopiesAndRaisesOneEventPerChange)
{
    auto icon = ProgramIcon();
    EXPECT_EQ(list.Add(icon.get()), 0);
    EXPECT_NE(list.Items(0), icon.get());
    EXPECT_EQ(list.Items(0)->Handle(), icon->Handle());
    icon->Clear();  // the caller's object is its own
    EXPECT_FALSE(list.Items(0)->Empty());

    changes = 0;
    list.SetItems(1, list.Items(0));  // index Count appends
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(changes, 1);

    changes = 0;
    list.Items(1)->Clear();  // changed in place
    EXPECT_EQ(changes, 1);

    changes = 0;
    EXPECT_EQ(list.AddResource(GetModuleHandleW(nullptr), L"NO_SUCH_ICON"), 2);
    EXPECT_TRUE(list.Items(2)->Empty());
    EXPECT_EQ(changes, 1);

    EXPECT_THROW(list.Items(3), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Move(0, 3), EListError);
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(IconListTest, ClearAndCopyRaiseOneEventEach)
{
    list.Clear();
    EXPECT_EQ(changes, 1);

    TIconList source;
    auto icon = ProgramIcon();
    for (int i = 0; i < 3; ++i) source.Add(icon.get());
    for (int i = 0; i < 5; ++i) list.Add(nullptr);
    changes = 0;
    list.CopyContents(&source);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Items(2)->Handle(), icon->Handle());

    changes = 0;
    list.CopyContents(&list);  // onto itself: nothing lost
    EXPECT_EQ(list.Count(), 3);
    list.Assign(icon.get());
    EXPECT_EQ(list.Count(), 1);
    TObject stranger;
    EXPECT_THROW(list.Assign(&stranger), EConvertError);
}

TEST_F(IconListTest, StoredFormRoundTripsAndEmptyEntriesComeBackNull)
{
    auto icon = ProgramIcon();
    list.Add(icon.get());
    list.Add(nullptr);
    const std::vector<std::uint8_t> bytes = list.SaveToBytes();
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes[0], 2);  // N
    const std::uint32_t s0 = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (bytes[7] << 24);
    EXPECT_EQ(bytes.size(), 4 + 4 + s0 + 4);
    EXPECT_EQ(bytes[8 + s0], 0);  // second S is 0

    TIconList loaded;
    int loadedChanges = 0;
    loaded.OnChange = [&](TObject*) { ++loadedChanges; };
    loaded.LoadFromBytes(bytes);
    EXPECT_EQ(loadedChanges, 1);
    ASSERT_EQ(loaded.Count(), 2);
    ASSERT_NE(loaded.Items(0), nullptr);
    EXPECT_FALSE(loaded.Items(0)->Empty());
    EXPECT_EQ(loaded.Items(1), nullptr);

    const std::vector<std::uint8_t> none = {0xFF, 0xFF, 0xFF, 0xFF};  // N = -1
    loaded.LoadFromBytes(none);
    EXPECT_EQ(loaded.Count(), 0);
}

TEST_F(IconListTest, DamagedDataKeepTheEntriesReadBeforeIt)
{
    auto icon = ProgramIcon();
    list.Add(icon.get());
    list.Add(icon.get());
    std::vector<std::uint8_t> bytes = list.SaveToBytes();
    bytes.resize(bytes.size() - 10);  // the second icon ends early
    TIconList loaded;
    int loadedChanges = 0;
    loaded.OnChange = [&](TObject*) { ++loadedChanges; };
    EXPECT_THROW(loaded.LoadFromBytes(bytes), EInvalidGraphic);
    EXPECT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loadedChanges, 1);

    // An entry that is no icon.
    std::vector<std::uint8_t> junk = {1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 7, 0, 1, 0};
    EXPECT_THROW(loaded.LoadFromBytes(junk), Exception);
    EXPECT_EQ(loaded.Count(), 0);
}

}  // namespace

namespace {

std::unique_ptr<TIcon> SystemIcon(LPCWSTR id)
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromHandle(LoadIconW(nullptr, id));
    return icon;
}

// The entries as objects, so that a test sees where each one went.
std::vector<TIcon*> Entries(const TIconList& list)
{
    std::vector<TIcon*> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.Items(i));
    return out;
}

class IconListOrderTest : public IconListTest {
protected:
    std::vector<TIcon*> e;  // a, b, c as first added
    void SetUp() override
    {
        IconListTest::SetUp();
        for (LPCWSTR id : {IDI_APPLICATION, IDI_WARNING, IDI_INFORMATION}) list.Add(SystemIcon(id).get());
        e = Entries(list);
        changes = 0;
    }
};

TEST_F(IconListOrderTest, InsertExchangeMoveAndIndexOf)
{
    const auto question = SystemIcon(IDI_QUESTION);
    list.Insert(1, question.get());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(changes, 1);
    TIcon* inserted = list.Items(1);
    EXPECT_NE(inserted, question.get());  // a copy
    EXPECT_EQ(inserted->Handle(), question->Handle());
    EXPECT_EQ(Entries(list), (std::vector<TIcon*>{e[0], inserted, e[1], e[2]}));
    list.Insert(4, question.get());  // at Count: appended
    EXPECT_EQ(list.Count(), 5);
    list.Delete(4);
    list.Delete(1);
    changes = 0;

    list.Exchange(0, 2);
    EXPECT_EQ(Entries(list), (std::vector<TIcon*>{e[2], e[1], e[0]}));
    list.Exchange(1, 1);
    EXPECT_EQ(Entries(list), (std::vector<TIcon*>{e[2], e[1], e[0]}));
    EXPECT_EQ(changes, 2);

    changes = 0;
    list.Move(0, 2);  // c, b, a -> b, a, c
    EXPECT_EQ(Entries(list), (std::vector<TIcon*>{e[1], e[0], e[2]}));
    list.Move(2, 0);
    EXPECT_EQ(Entries(list), (std::vector<TIcon*>{e[2], e[1], e[0]}));
    EXPECT_EQ(changes, 2);

    changes = 0;
    EXPECT_EQ(list.IndexOf(e[2]), 0);
    EXPECT_EQ(list.IndexOf(e[1]), 1);
    EXPECT_EQ(list.IndexOf(e[0]), 2);
    EXPECT_EQ(list.IndexOf(question.get()), -1);  // the same image, another object
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    EXPECT_EQ(changes, 0);
}

TEST_F(IconListOrderTest, IndexOutOfRangeNamesTheIndexAndChangesNothing)
{
    const auto icon = SystemIcon(IDI_QUESTION);
    struct TCase {
        const char* What;
        int Index;
        std::function<void()> Run;
    };
    const TCase cases[] = {
        {"Items(-1)", -1, [&] { list.Items(-1); }},
        {"Items(Count)", 3, [&] { list.Items(3); }},
        {"Delete(Count)", 3, [&] { list.Delete(3); }},
        {"Delete(-1)", -1, [&] { list.Delete(-1); }},
        {"Insert(Count + 1)", 4, [&] { list.Insert(4, icon.get()); }},
        {"Insert(-1)", -1, [&] { list.Insert(-1, icon.get()); }},
        {"Exchange first", 5, [&] { list.Exchange(5, 0); }},
        {"Exchange second", -2, [&] { list.Exchange(0, -2); }},
        {"Move from", 3, [&] { list.Move(3, 0); }},
        {"Move to", 7, [&] { list.Move(0, 7); }},
        {"InsertResource", 9, [&] { list.InsertResource(9, nullptr, L"NO_SUCH_ICON"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        changes = 0;
        try {
            c.Run();
            ADD_FAILURE() << "no error";
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message(), L"List index out of bounds (" + std::to_wstring(c.Index) + L")");
        }
        EXPECT_EQ(Entries(list), e);
        EXPECT_EQ(changes, 0);
    }
}

}  // namespace

#ifdef QUENFEL_ICONLIST_CORPUS
#include <fstream>
#include <iterator>

namespace {

// The fuzzer's seeds are icon lists that the real loader takes: each stored
// image becomes an icon with a handle.
TEST_F(IconListTest, FuzzSeedsLoadAsRealIcons)
{
    const struct {
        const char* Name;
        int Count, Icons;
    } seeds[] = {
        {"one-16x16-32bpp", 1, 1},
        {"two-sizes-and-an-empty-entry", 2, 1},
        {"three-frames-1bpp-4bpp-24bpp", 3, 3},
        {"empty-list", 0, 0},
    };
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.Name);
        std::ifstream in(std::string(QUENFEL_ICONLIST_CORPUS) + "/" + seed.Name, std::ios::binary);
        ASSERT_TRUE(in.good());
        const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        list.LoadFromBytes(data);
        ASSERT_EQ(list.Count(), seed.Count);
        int icons = 0;
        for (int i = 0; i < list.Count(); ++i)
            if (list.Items(i) != nullptr && !list.Items(i)->Empty() && list.Items(i)->Handle() != nullptr) ++icons;
        EXPECT_EQ(icons, seed.Icons);
    }
}

}  // namespace
#endif
