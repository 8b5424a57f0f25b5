#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "settings/autorun.h"
#include "settings/regaccess.h"
#include "tests/support/portable_copy.h"
#include "tests/support/readonly_key.h"
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

void ClearAutorun()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kFlagKey);
    HKEY run = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueW(run, L"Quenfel");
        RegCloseKey(run);
    }
}

// The check box as the window has it: checked in its design state, and a
// change of state runs the click handler.
struct CheckBox {
    bool checked = true;
    std::vector<bool> set;
    std::function<void(bool)> Setter()
    {
        return [this](bool value) {
            set.push_back(value);
            if (value == checked) return;
            checked = value;
            ApplyAutorunChoice(checked, kExe);
        };
    }
};

class Autorun : public testing::Test {
protected:
    void SetUp() override { ClearAutorun(); }
    void TearDown() override { ClearAutorun(); }
};

} // namespace

TEST_F(Autorun, FirstStartWritesNothingAndLeavesTheBoxChecked)
{
    CheckBox box;
    ReconcileAutorunAtStart(box.Setter(), kExe);
    EXPECT_TRUE(box.set.empty());
    EXPECT_TRUE(box.checked);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"(missing)");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
}

TEST_F(Autorun, FlagOneRewritesTheRunEntryWithTheCurrentPath)
{
    SetValue(kFlagKey, L"loadwithwin", L"1");
    SetValue(kRunKey, L"Quenfel", L"D:\\old\\Quenfel.exe");
    CheckBox box;
    ReconcileAutorunAtStart(box.Setter(), kExe);
    EXPECT_EQ(box.set, std::vector<bool>{true});
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);

    ClearAutorun();
    SetValue(kFlagKey, L"loadwithwin", L"1");
    ReconcileAutorunAtStart(box.Setter(), kExe);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);
}

TEST_F(Autorun, FlagZeroUnchecksRewritesTheFlagAndRemovesAStaleEntry)
{
    SetValue(kFlagKey, L"loadwithwin", L"0");
    SetValue(kRunKey, L"Quenfel", kExe);
    CheckBox box;
    ReconcileAutorunAtStart(box.Setter(), kExe);
    EXPECT_EQ(box.set, std::vector<bool>{false});
    EXPECT_FALSE(box.checked);
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"0");
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");

    // Without a click behind the box the entry still goes.
    SetValue(kRunKey, L"Quenfel", kExe);
    ReconcileAutorunAtStart([](bool) {}, kExe);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
}

TEST_F(Autorun, OnlyTheExactFlagsCount)
{
    for (const wchar_t* flag : {L"1 ", L"true", L"", L"01", L"I"}) {
        ClearAutorun();
        SetValue(kFlagKey, L"loadwithwin", flag);
        CheckBox box;
        ReconcileAutorunAtStart(box.Setter(), kExe);
        EXPECT_TRUE(box.set.empty());
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
// its to remove.
TEST_F(Autorun, APortableCopyWritesTheEntryOnlyWhenTicked)
{
    const testsupport::TPortableCopy portable(L"quenfel-portable-autorun", "[Quenfel]\r\nloadwithwin=1\r\n");
    ASSERT_TRUE(portable.Made());
    const wchar_t* installed = L"\"C:\\Program Files\\Quenfel\\Quenfel.exe\"";

    CheckBox box;
    ReconcileAutorunAtStart(box.Setter(), kExe);
    EXPECT_FALSE(box.checked);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");

    SetValue(kRunKey, L"Quenfel", installed);
    CheckBox again;
    ReconcileAutorunAtStart(again.Setter(), kExe);
    EXPECT_FALSE(again.checked);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), installed) << "the installed copy's entry";

    ApplyAutorunChoice(true, kExe);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), kExe);
    CheckBox restarted;
    ReconcileAutorunAtStart(restarted.Setter(), kExe);
    EXPECT_TRUE(restarted.checked);
    ApplyAutorunChoice(false, kExe);
    EXPECT_EQ(Value(kRunKey, L"Quenfel"), L"(missing)");
    EXPECT_EQ(Value(kFlagKey, L"loadwithwin"), L"(missing)") << "a flag in the registry";
}

TEST(ExecutablePath, IsTheFullPathOfThisProgram)
{
    const std::wstring path = ExecutablePath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path[1], L':');
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}
