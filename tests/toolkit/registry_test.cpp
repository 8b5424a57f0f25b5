#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "toolkit/errors.h"
#include "toolkit/registry.h"

using enum TRegDataType;

namespace {

constexpr wchar_t kTestKey[] = L"Software\\QuenfelTest\\Registry";

class RegistryTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuenfelTest"); }

    static void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static bool KeyExists(const wchar_t* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    template <class F>
    static std::wstring MessageOf(F action)
    {
        try {
            action();
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return L"(no error)";
    }
};

} // namespace

TEST_F(RegistryTest, OpeningAMissingKeyFailsWithTheSystemReasonAndCreatesNothing)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(kTestKey, false));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(reg.OpenKeyReadOnly(kTestKey));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_FALSE(KeyExists(kTestKey));

    // Reads of a key that is not open find nothing; writes fail.
    EXPECT_EQ(reg.ReadString(L"x"), L"");
    EXPECT_EQ(reg.GetDataType(L"x"), rdUnknown);
    EXPECT_FALSE(reg.ValueExists(L"x"));
    EXPECT_EQ(MessageOf([&] { reg.WriteString(L"x", L"y"); }), L"Failed to set data for 'x'");
}

TEST_F(RegistryTest, PathsAreTakenFromTheRootOrFromTheOpenKey)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(L"\\Software\\QuenfelTest\\Registry\\", true));
    EXPECT_TRUE(KeyExists(kTestKey));
    EXPECT_EQ(reg.CurrentPath(), kTestKey);

    ASSERT_TRUE(reg.OpenKey(L"Child", true));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\QuenfelTest\\Registry\\Child");
    EXPECT_TRUE(KeyExists(L"Software\\QuenfelTest\\Registry\\Child"));

    // A leading backslash goes back to the root, whatever is open.
    ASSERT_TRUE(reg.OpenKey(L"\\Software\\QuenfelTest", false));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\QuenfelTest");

    // A failed open keeps the key that was open.
    EXPECT_FALSE(reg.OpenKey(L"Missing", false));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\QuenfelTest");
    EXPECT_NE(reg.CurrentKey(), nullptr);
}

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kTestKey, true));
    reg.WriteString(L"s", L"C:\\Program Files\\Quenfel.exe");
    reg.WriteExpandString(L"e", L"%SystemRoot%\\x");
    reg.WriteInteger(L"i", -7);
    const std::uint8_t bytes[] = {1, 2, 0, 255};
    reg.WriteBinaryData(L"b", bytes, sizeof bytes);

    EXPECT_EQ(reg.ReadString(L"s"), L"C:\\Program Files\\Quenfel.exe");
    EXPECT_EQ(reg.ReadString(L"e"), L"%SystemRoot%\\x"); // stored, not expanded
    EXPECT_EQ(reg.ReadInteger(L"i"), -7);
    std::uint8_t read[8] = {};
    EXPECT_EQ(reg.ReadBinaryData(L"b", read, sizeof read), 4);
    EXPECT_EQ(std::memcmp(read, bytes, 4), 0);

    EXPECT_EQ(reg.GetDataType(L"s"), rdString);
    EXPECT_EQ(reg.GetDataType(L"e"), rdExpandString);
    EXPECT_EQ(reg.GetDataType(L"i"), rdInteger);
    EXPECT_EQ(reg.GetDataType(L"b"), rdBinary);
    EXPECT_EQ(reg.GetDataType(L"missing"), rdUnknown);

    EXPECT_TRUE(reg.DeleteValue(L"s"));
    EXPECT_FALSE(reg.DeleteValue(L"s"));
    EXPECT_FALSE(reg.ValueExists(L"s"));
    EXPECT_EQ(reg.ReadString(L"s"), L"");
    EXPECT_EQ(reg.ReadBinaryData(L"s", read, sizeof read), 0);
}

TEST_F(RegistryTest, StringsStoredWithoutATerminatorKeepEveryCharacter)
{
    // The registry adds a terminator when the character after the counted
    // data is a zero, so the data is followed by one that is not.
    const wchar_t text[] = L"abcX";
    SetRaw(L"bare", REG_SZ, text, 3 * sizeof(wchar_t));
    SetRaw(L"odd", REG_SZ, text, 3 * sizeof(wchar_t) + 1);
    SetRaw(L"empty", REG_SZ, text, 0);
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKey(kTestKey, false));
    EXPECT_EQ(reg.ReadString(L"bare"), L"abc");
    EXPECT_EQ(reg.ReadString(L"odd"), L"abc");
    EXPECT_EQ(reg.ReadString(L"empty"), L"");
}

TEST_F(RegistryTest, ValuesOfTheWrongTypeOrSizeRaiseInvalidDataType)
{
    const DWORD number = 1;
    const wchar_t text[] = L"1";
    const std::uint8_t five[5] = {};
    SetRaw(L"KERNEL\\CPUUsage", REG_DWORD, &number, sizeof number);
    SetRaw(L"text", REG_SZ, text, sizeof text);
    SetRaw(L"five", REG_BINARY, five, sizeof five);
    SetRaw(L"none", REG_NONE, five, 4);

    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKey(kTestKey, false));
    std::uint8_t buffer[4];
    EXPECT_EQ(MessageOf([&] { reg.ReadString(L"KERNEL\\CPUUsage"); }), L"Invalid data type for 'KERNEL\\CPUUsage'");
    EXPECT_EQ(MessageOf([&] { reg.ReadBinaryData(L"KERNEL\\CPUUsage", buffer, 4); }),
              L"Invalid data type for 'KERNEL\\CPUUsage'");
    EXPECT_EQ(MessageOf([&] { reg.ReadBinaryData(L"text", buffer, 4); }), L"Invalid data type for 'text'");
    EXPECT_EQ(MessageOf([&] { reg.ReadBinaryData(L"five", buffer, 4); }), L"Invalid data type for 'five'");
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger(L"text"); }), L"Invalid data type for 'text'");
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger(L"missing"); }), L"Failed to get data for 'missing'");
    // A value of a type without a name here reads as raw bytes.
    EXPECT_EQ(reg.GetDataType(L"none"), rdUnknown);
    EXPECT_EQ(reg.ReadBinaryData(L"none", buffer, 4), 4);
}

TEST_F(RegistryTest, AWriteTheRegistryRefusesRaisesFailedToSetData)
{
    { TRegistry create; ASSERT_TRUE(create.OpenKey(kTestKey, true)); }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(kTestKey));
    EXPECT_EQ(MessageOf([&] { reg.WriteString(L"v", L"x"); }), L"Failed to set data for 'v'");
    EXPECT_EQ(MessageOf([&] { reg.WriteInteger(L"v", 1); }), L"Failed to set data for 'v'");
    EXPECT_FALSE(reg.ValueExists(L"v"));
}

TEST_F(RegistryTest, MovingHandsOverTheKeyAndClosesItOnce)
{
    TRegistry a;
    ASSERT_TRUE(a.OpenKey(kTestKey, true));
    const HKEY key = a.CurrentKey();
    TRegistry b(std::move(a));
    EXPECT_EQ(a.CurrentKey(), nullptr);
    EXPECT_EQ(b.CurrentKey(), key);
    b.WriteInteger(L"v", 3);

    TRegistry c;
    ASSERT_TRUE(c.OpenKey(L"Software", false));
    c = std::move(b);
    EXPECT_EQ(c.CurrentKey(), key);
    EXPECT_EQ(c.ReadInteger(L"v"), 3);

    // Changing the root closes the key.
    c.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(c.CurrentKey(), nullptr);
    EXPECT_EQ(c.RootKey(), HKEY_LOCAL_MACHINE);
}
