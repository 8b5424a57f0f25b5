// The kept settings in the real registry of the test prefix: they come back
// as written, a malformed value reads as nothing stored without disturbing
// the others, and nothing else under the program's key is touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/usersettings.h"
#include "tests/support/readonly_key.h"
#include "tests/support/user_values.h"
#include "toolkit/errors.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Quenfel";

void SetRaw(const wchar_t* name, DWORD type, const std::vector<std::uint8_t>& bytes)
{
    testsupport::SetUserRaw(kKey, name, type, bytes);
}

void SetDword(const wchar_t* name, DWORD value)
{
    testsupport::SetUserDword(kKey, name, value);
}

std::wstring ReadString(const wchar_t* name)
{
    wchar_t data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"(missing)";
    return data;
}

class UserSettings : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
};

} // namespace

TEST_F(UserSettings, NoKeyReadsAsNothingStored)
{
    const TStoredSettings s = ReadStoredSettings();
    EXPECT_FALSE(s.RamToFree || s.AlarmLevel || s.AutoOptimize || s.RefreshPeriod || s.TrayShowsFree || s.OptimizeHotkey);
}

TEST_F(UserSettings, WrittenValuesComeBackAsDwordsBesideTheAutorunFlag)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"loadwithwin", REG_SZ, L"1", 2 * sizeof(wchar_t));
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Other", REG_SZ, L"x", 2 * sizeof(wchar_t));
    TUserSettings written;
    written.RamToFree = 812;
    written.AlarmLevel = 300;
    written.AutoOptimize = true;
    written.RefreshPeriod = 7;
    written.TrayShowsFree = false;
    written.OptimizeHotkey = 0x0A2E;
    WriteUserSettings(written);

    const TStoredSettings s = ReadStoredSettings();
    EXPECT_EQ(s.RamToFree, 812u);
    EXPECT_EQ(s.AlarmLevel, 300u);
    EXPECT_EQ(s.AutoOptimize, 1u);
    EXPECT_EQ(s.RefreshPeriod, 7u);
    EXPECT_EQ(s.TrayShowsFree, 0u);
    EXPECT_EQ(s.OptimizeHotkey, 0x0A2Eu);
    for (const wchar_t* name :
         {L"RamToFree", L"AlarmLevel", L"AutoOptimize", L"RefreshPeriod", L"TrayShowsFree", L"OptimizeHotkey"}) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(size, 4u) << name;
    }
    EXPECT_EQ(ReadString(L"loadwithwin"), L"1");
    EXPECT_EQ(ReadString(L"Other"), L"x");

    written.AutoOptimize = false;
    WriteUserSettings(written);
    EXPECT_EQ(ReadStoredSettings().AutoOptimize, 0u);
}

TEST_F(UserSettings, AMalformedValueReadsAsNothingAndLeavesTheOthers)
{
    const wchar_t* names[] = {L"RamToFree", L"AlarmLevel", L"AutoOptimize", L"RefreshPeriod", L"TrayShowsFree",
                              L"OptimizeHotkey"};
    const std::optional<std::uint32_t> TStoredSettings::*fields[] = {
        &TStoredSettings::RamToFree,     &TStoredSettings::AlarmLevel,    &TStoredSettings::AutoOptimize,
        &TStoredSettings::RefreshPeriod, &TStoredSettings::TrayShowsFree, &TStoredSettings::OptimizeHotkey};
    const struct {
        const char* what;
        DWORD type;
        std::vector<std::uint8_t> bytes;
    } kinds[] = {
        {"text", REG_SZ, {'5', 0, 0, 0}},
        {"binary", REG_BINARY, {5, 0, 0, 0}},
        {"qword", REG_QWORD, {5, 0, 0, 0, 0, 0, 0, 0}},
        {"short dword", REG_DWORD, {5, 0}},
        {"long dword", REG_DWORD, {5, 0, 0, 0, 0, 0, 0, 0}},
        {"oversized dword", REG_DWORD, std::vector<std::uint8_t>(300, 1)},
    };
    for (int i = 0; i < 6; ++i) {
        for (const auto& kind : kinds) {
            for (int j = 0; j < 6; ++j) SetDword(names[j], 1);
            SetRaw(names[i], kind.type, kind.bytes);
            const TStoredSettings s = ReadStoredSettings();
            for (int j = 0; j < 6; ++j) {
                if (j == i)
                    EXPECT_FALSE(s.*fields[j]) << kind.what << " in " << j;
                else
                    EXPECT_EQ(s.*fields[j], 1u) << kind.what << " in " << i << " spoils " << j;
            }
        }
    }
}

TEST_F(UserSettings, AKeyThatCannotBeWrittenRaisesAndStillReads)
{
    SetDword(L"AlarmLevel", 42);
    TReadOnlyKey readOnly(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(readOnly.Applied());
    EXPECT_THROW(WriteUserSettings(TUserSettings{}), EOSError);
    EXPECT_EQ(ReadStoredSettings().AlarmLevel, 42u);
}
