#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "settings/autorun.h"
#include "settings/regaccess.h"
#include "tests/support/portable_copy.h"
#include "tests/support/readonly_key.h"
#include "toolkit/commandline.h"
#include "toolkit/errors.h"
#include "toolkit/modulepath.h"

namespace {

constexpr wchar_t kFlagKey[] = L"Software\\Quenfel";
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kExe[] = L"C:\\Tools\\Quenfel.exe";

std::wstring Value(const wchar_t* key, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"(missing)";
    return data;
}

void SetValue(const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text,
                    static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
}

void DeleteRunEntry()
{
    HKEY run = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueW(run, L"Quenfel");
        RegCloseKey(run);
    }
}

void ClearAutorun()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kFlagKey);
    DeleteRunEntry();
}

class Autorun : public testing::Test {
protected:
    void SetUp() override { ClearAutorun(); }
    void TearDown() override { ClearAutorun(); }
};

} // namespace

TEST_F(Autorun, FirstStartWritesNothing)
{
    EXPECT_FALSE(ReconcileAutorunAtStart(kExe));
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"(missing)");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
}

TEST_F(Autorun, FlagOneRewritesTheRunEntryWithTheCurrentPath)
{
    SetValue(kFlagKey, L"loadwithwin", L"1");
    SetValue(kRunKey, L"Quenfel", L"D:\\old\\Quenfel.exe");
    // A copy that is no longer there starts nothing.
    EXPECT_TRUE(ReconcileAutorunAtStart(kExe));
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);

    DeleteRunEntry();
    EXPECT_TRUE(ReconcileAutorunAtStart(kExe));
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);
}

TEST_F(Autorun, FlagZeroUnchecksRewritesTheFlagAndRemovesAStaleEntry)
{
    SetValue(kFlagKey, L"loadwithwin", L"0");
    SetValue(kRunKey, L"Quenfel", kExe);
    EXPECT_FALSE(ReconcileAutorunAtStart(kExe));
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"0");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
}

TEST_F(Autorun, OnlyTheExactFlagsCount)
{
    for (const wchar_t* flag : {L"1 ", L"true", L"", L"01", L"I"}) {
        ClearAutorun();
        SetValue(kFlagKey, L"loadwithwin", flag);
        EXPECT_FALSE(ReconcileAutorunAtStart(kExe));
        EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
        EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), flag);
    }
}

TEST_F(Autorun, ClickingStoresTheFlagThenTheEntry)
{
    ApplyAutorunChoice(true, kExe);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"1");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);
    ApplyAutorunChoice(false, kExe);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"0");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
    ApplyAutorunChoice(false, kExe); // nothing left to remove: silent
}

TEST_F(Autorun, TheFlagIsWrittenBeforeTheRunKeyIsTouched)
{
    TReadOnlyKey locked(HKEY_CURRENT_USER, kRunKey);
    EXPECT_THROW(ApplyAutorunChoice(true, kExe), EOSError);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"1");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
    // Removal from a key that cannot be opened for it is skipped silently.
    ApplyAutorunChoice(false, kExe);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"0");
}

TEST_F(Autorun, APathWithSpacesIsQuotedSoTheShellRunsThisProgram)
{
    ApplyAutorunChoice(true, L"C:\\Program Files\\Quenfel\\Quenfel.exe");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"\"C:\\Program Files\\Quenfel\\Quenfel.exe\"");
}

// A portable copy keeps no flag and writes nothing at its start, even on a
// machine it was ticked on before: the box shows whether this machine starts
// this copy, a tick writes the entry, and an installed copy's entry is not
// its to remove. The installed copy, its flag still "1", leaves the entry to
// the portable copy at its start rather than take it back at every start.
TEST_F(Autorun, APortableAndAnInstalledCopyNeverTakeTheEntryFromEachOther)
{
    const testsupport::TPortableCopy portable(L"quenfel-portable-autorun", "[Quenfel]\r\nloadwithwin=1\r\n");
    ASSERT_TRUE(portable.Made());
    // Both copies there: a copy that is gone starts nothing.
    const std::wstring exe = portable.File(L"Quenfel.exe"), installed = ExecutablePath();
    testsupport::WriteBytes(exe, "MZ");
    EXPECT_FALSE(ReconcileAutorunAtStart(exe));
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");

    SetValue(kRunKey, L"Quenfel", CommandForPath(installed).c_str());
    EXPECT_FALSE(ReconcileAutorunAtStart(exe));
    EXPECT_EQ(RunEntryOfAnotherCopy(exe), installed);
    ApplyAutorunChoice(false, exe);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), CommandForPath(installed)) << "the installed copy's entry";

    ApplyAutorunChoice(true, exe);  // the user agreed to take it
    EXPECT_TRUE(ReconcileAutorunAtStart(exe));
    EXPECT_FALSE(RunEntryOfAnotherCopy(exe));
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"(missing)") << "a flag in the registry";

    UseRegistryStore();
    SetValue(kFlagKey, L"loadwithwin", L"1");
    EXPECT_FALSE(ReconcileAutorunAtStart(installed));
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), CommandForPath(exe)) << "taken back by the installed copy";
}

TEST(ExecutablePath, IsTheFullPathOfThisProgram)
{
    const std::wstring path = ExecutablePath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path[1], L':');
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}
