// The icon list: ownership of copies, one change event per change or batch,
// and the stored form read back (including damaged data).
#include <gtest/gtest.h>

#include <memory>

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
