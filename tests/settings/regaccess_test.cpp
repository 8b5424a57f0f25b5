#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "settings/regaccess.h"
#include "toolkit/errors.h"
#include "toolkit/oserror.h"

using enum TRegDataType;

namespace {

constexpr wchar_t kRoot[] = L"Software\\QuenfelTest";
constexpr wchar_t kKey[] = L"Software\\QuenfelTest\\Access";

class RegAccess : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }

    static void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // Type and raw bytes of a value, or type REG_NONE and nothing when missing.
    static std::pair<DWORD, std::wstring> Raw(const wchar_t* name)
    {
        DWORD type = REG_NONE;
        wchar_t data[512] = {};
        DWORD size = sizeof data;
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size)
            != ERROR_SUCCESS)
            return {REG_NONE, L""};
        return {type, std::wstring(data, size / sizeof(wchar_t))};
    }

    static bool KeyExists(const wchar_t* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
};

} // namespace

TEST_F(RegAccess, MissingKeysAndValuesReadAsEmptyText)
{
    EXPECT_EQ(ReadRegString(kKey, L"loadwithwin", HKEY_CURRENT_USER), L"");
    SetRaw(L"other", REG_SZ, L"x", 4);
    EXPECT_EQ(ReadRegString(kKey, L"loadwithwin", HKEY_CURRENT_USER), L"");
    EXPECT_EQ(ReadRegString(kKey, L"other", HKEY_CURRENT_USER), L"x");
    EXPECT_EQ(ReadRegString(L"\\Software\\QuenfelTest\\Access", L"other", HKEY_CURRENT_USER), L"x");
    EXPECT_EQ(ReadRegString(kKey, L"other", reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234))), L"");
}

TEST_F(RegAccess, StringsUpTo255CharactersReadInFullLongerOnesAsEmpty)
{
    // Unterminated data is followed by a character that is not a zero, so the
    // registry cannot find a terminator just past it.
    const struct {
        std::size_t length;
        bool terminated;
        bool fits;
    } cases[] = {
        {127, true, true},   {128, true, true},   {255, true, true},   {256, true, false},
        {299, true, false},  {300, true, false},  {255, false, true},  {256, false, false},
        {1000, true, false},
    };
    for (const auto& c : cases) {
        const std::wstring text(c.length, L'a');
        SCOPED_TRACE(testing::Message() << c.length << (c.terminated ? " terminated" : " unterminated"));
        const std::wstring stored = text + (c.terminated ? L'\0' : L'X');
        const auto size = static_cast<DWORD>((c.length + (c.terminated ? 1 : 0)) * sizeof(wchar_t));
        SetRaw(L"text", REG_SZ, stored.c_str(), size);
        SetRaw(L"expand", REG_EXPAND_SZ, stored.c_str(), size);
        EXPECT_EQ(ReadRegString(kKey, L"text", HKEY_CURRENT_USER), c.fits ? text : L"");
        EXPECT_EQ(ReadRegString(kKey, L"expand", HKEY_CURRENT_USER), c.fits ? text : L"");
    }
}

TEST_F(RegAccess, ValuesThatAreNotStringsReadAsEmpty)
{
    const DWORD number = 0x00310031; // the bytes of "11" in UTF-16
    SetRaw(L"number", REG_DWORD, &number, sizeof number);
    SetRaw(L"binary", REG_BINARY, L"ab", 4);
    SetRaw(L"multi", REG_MULTI_SZ, L"a\0\0", 6);
    SetRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    EXPECT_EQ(ReadRegString(kKey, L"number", HKEY_CURRENT_USER), L"");
    EXPECT_EQ(ReadRegString(kKey, L"binary", HKEY_CURRENT_USER), L"");
    EXPECT_EQ(ReadRegString(kKey, L"multi", HKEY_CURRENT_USER), L"");
    EXPECT_EQ(ReadRegString(kKey, L"expand", HKEY_CURRENT_USER), L"%TEMP%"); // not expanded
}

TEST_F(RegAccess, AStringStoredWithoutATerminatorKeepsItsLastCharacter)
{
    // The registry adds a terminator when the character after the counted
    // data is a zero, so the data is followed by one that is not.
    SetRaw(L"loadwithwin", REG_SZ, L"1X", sizeof(wchar_t));
    ASSERT_EQ(Raw(L"loadwithwin").second, L"1");
    EXPECT_EQ(ReadRegString(kKey, L"loadwithwin", HKEY_CURRENT_USER), L"1");
    SetRaw(L"path", REG_SZ, L"C:\\Q.exeX", 8 * sizeof(wchar_t));
    EXPECT_EQ(ReadRegString(kKey, L"path", HKEY_CURRENT_USER), L"C:\\Q.exe");
}

TEST_F(RegAccess, AForcedTypeCreatesTheKeyAndWritesThatType)
{
    WriteRegValue(HKEY_CURRENT_USER, L"\\Software\\QuenfelTest\\Access", L"s", L"1", rdString);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"e", L"%TEMP%\\x", rdExpandString);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"i", L"-5", rdInteger);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"n", 42, rdString);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"b", L"ab", rdBinary);

    EXPECT_EQ(Raw(L"s"), (std::pair<DWORD, std::wstring>{REG_SZ, std::wstring(L"1\0", 2)}));
    EXPECT_EQ(Raw(L"e"), (std::pair<DWORD, std::wstring>{REG_EXPAND_SZ, std::wstring(L"%TEMP%\\x\0", 9)}));
    EXPECT_EQ(Raw(L"n").second, std::wstring(L"42\0", 3));
    EXPECT_EQ(Raw(L"b"), (std::pair<DWORD, std::wstring>{REG_BINARY, L"ab"})); // no terminator
    DWORD value = 0, size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, L"i", RRF_RT_REG_DWORD, nullptr, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(static_cast<std::int32_t>(value), -5);
}

TEST_F(RegAccess, WithoutAForcedTypeTheExistingTypeIsKept)
{
    const DWORD number = 1;
    SetRaw(L"i", REG_DWORD, &number, sizeof number);
    SetRaw(L"e", REG_EXPAND_SZ, L"old", 8);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"i", L"77", rdUnknown);
    WriteRegValue(HKEY_CURRENT_USER, kKey, L"e", L"new", rdUnknown);
    EXPECT_EQ(Raw(L"i").first, static_cast<DWORD>(REG_DWORD));
    DWORD value = 0, size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, kKey, L"i", RRF_RT_REG_DWORD, nullptr, &value, &size);
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(Raw(L"e"), (std::pair<DWORD, std::wstring>{REG_EXPAND_SZ, std::wstring(L"new\0", 4)}));
}

TEST_F(RegAccess, NoTypeToWriteAsRaisesCode1013AndChangesNothing)
{
    const auto expectCantWrite = [](auto action) {
        try {
            action();
            ADD_FAILURE() << "no error";
        } catch (const EOSError& e) {
            EXPECT_EQ(e.ErrorCode(), 1013u);
            EXPECT_EQ(e.Message(), SystemErrorMessage(1013));
        }
    };
    // Missing key: it is not created.
    expectCantWrite([] { WriteRegValue(HKEY_CURRENT_USER, kKey, L"loadwithwin", L"1", rdUnknown); });
    EXPECT_FALSE(KeyExists(kKey));
    // Existing key, missing value.
    SetRaw(L"other", REG_SZ, L"x", 4);
    expectCantWrite([] { WriteRegValue(HKEY_CURRENT_USER, kKey, L"loadwithwin", L"1", rdUnknown); });
    EXPECT_EQ(Raw(L"loadwithwin").first, static_cast<DWORD>(REG_NONE));
    // A type without a name here, existing or forced.
    SetRaw(L"multi", REG_MULTI_SZ, L"a\0\0", 6);
    expectCantWrite([] { WriteRegValue(HKEY_CURRENT_USER, kKey, L"multi", L"1", rdUnknown); });
    EXPECT_EQ(Raw(L"multi").second, std::wstring(L"a\0\0", 3));
    expectCantWrite([] { WriteRegValue(HKEY_CURRENT_USER, kKey, L"v", L"1", static_cast<TRegDataType>(9)); });
    EXPECT_EQ(Raw(L"v").first, static_cast<DWORD>(REG_NONE));
}

TEST_F(RegAccess, BadInputRaisesAClearErrorAndWritesNothing)
{
    EXPECT_THROW(WriteRegValue(HKEY_CURRENT_USER, kKey, L"i", L"one", rdInteger), EConvertError);
    EXPECT_EQ(Raw(L"i").first, static_cast<DWORD>(REG_NONE));

    try {
        WriteRegValue(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), kKey, L"v", L"1", rdString);
        ADD_FAILURE() << "no error";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<std::uint32_t>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(e.Message(), SystemErrorMessage(ERROR_INVALID_HANDLE));
    }
}
