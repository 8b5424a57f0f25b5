// A portable copy: with a settings file beside the program, every setting
// lives in that file, kept across a restart with what a person wrote there;
// nothing goes to the registry; a file of the wrong form falls back value by
// value; and a file that cannot be written keeps the settings in memory and
// says so once.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/languagesetting.h"
#include "settings/portablestore.h"
#include "settings/runhistory.h"
#include "settings/settingsstore.h"
#include "settings/themesetting.h"
#include "settings/usersettings.h"
#include "tests/support/history_files.h"

using testsupport::ReadBytes;
using testsupport::TScratchFolder;
using testsupport::WriteBytes;

namespace {

bool RegistryKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quenfel", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

class PortableStore : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quenfel"); }
    void TearDown() override
    {
        UseRegistryStore();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quenfel");
    }

    TScratchFolder folder{L"quenfel-portable"};
    std::wstring ini = folder.File(L"Quenfel.ini");
};

} // namespace

TEST_F(PortableStore, EverySettingLivesInTheFileBesideTheProgramAndSurvivesARestart)
{
    EXPECT_FALSE(UsePortableStoreIfPresent(folder.Path())) << "no file, no portable copy";
    EXPECT_FALSE(SettingsStore().Portable());

    WriteBytes(ini, "; written by hand\r\n[Quenfel]\r\nFutureSetting=keep me\r\n");
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    ASSERT_TRUE(SettingsStore().Portable());
    EXPECT_TRUE(SettingsStore().Keeps());
    TUserSettings written;
    written.RamToFree = 812;
    written.AlarmLevel = 300;
    written.AutoOptimize = true;
    written.TrimExclude = {L"obs64.exe", L"\u0438\u0433\u0440\u0430.exe"};
    written.IntervalMinutes = 30;
    WriteUserSettings(written);
    WriteLanguageSetting(L"el");
    WriteThemeSetting(TThemeChoice::tcDark);

    // As a restart reads it.
    UseRegistryStore();
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    const TStoredSettings s = ReadStoredSettings();
    EXPECT_EQ(s.RamToFree, 812u);
    EXPECT_EQ(s.AlarmLevel, 300u);
    EXPECT_EQ(s.AutoOptimize, 1u);
    EXPECT_EQ(s.IntervalMinutes, 30u);
    EXPECT_EQ(s.TrimExclude, written.TrimExclude);
    EXPECT_EQ(ReadLanguageSetting(), L"el");
    EXPECT_EQ(ReadThemeSetting(), TThemeChoice::tcDark);

    const std::string file = ReadBytes(ini);
    EXPECT_EQ(file.rfind("\xEF\xBB\xBF; written by hand\r\n[Quenfel]\r\nFutureSetting=keep me\r\nRamToFree=812\r\n", 0), 0u)
        << file;
    EXPECT_NE(file.find("TrimExclude=obs64.exe; \xD0\xB8\xD0\xB3\xD1\x80\xD0\xB0.exe\r\n"), std::string::npos) << file;
    EXPECT_FALSE(RegistryKeyExists()) << "a portable copy wrote to the registry";
    EXPECT_EQ(RunHistoryPath(), folder.File(L"history.csv"));
    EXPECT_EQ(GetFileAttributesW(folder.File(L"Quenfel.ini.new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PortableStore, AValueOfTheWrongFormFallsBackAloneAndTheRestIsKept)
{
    WriteBytes(ini, "[Quenfel]\r\nRamToFree=lots\r\nAlarmLevel=300\r\nTheme=-1\r\nLanguage=" + std::string(40, 'x') +
                        "\r\nTrimExclude=C:\\Games\\game.exe\r\nRefreshPeriod=4294967296\r\nAutoOptimize=1\r\n");
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    const TStoredSettings s = ReadStoredSettings();
    EXPECT_FALSE(s.RamToFree);
    EXPECT_FALSE(s.RefreshPeriod);
    EXPECT_EQ(s.TrimExclude, std::vector<std::wstring>{L"game.exe"}) << "a path is cut to its name";
    EXPECT_EQ(s.AlarmLevel, 300u);
    EXPECT_EQ(s.AutoOptimize, 1u);
    EXPECT_EQ(ReadThemeSetting(), TThemeChoice::tcWindows);
    EXPECT_EQ(ReadLanguageSetting(), L"");
}

// Notepad before Windows 10 saves a file it did not find UTF-8 in the ANSI
// code page (1252 in the test prefix): read so, and written back as UTF-8.
TEST_F(PortableStore, AFileSavedInTheAnsiCodePageKeepsItsAccentedLetters)
{
    WriteBytes(ini, "[Quenfel]\r\nTrimExclude=Caf\xE9.exe\r\n");
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    EXPECT_EQ(ReadStoredSettings().TrimExclude, std::vector<std::wstring>{L"Caf\u00E9.exe"});
    WriteThemeSetting(TThemeChoice::tcDark);
    EXPECT_EQ(ReadBytes(ini), "\xEF\xBB\xBF[Quenfel]\r\nTrimExclude=Caf\xC3\xA9.exe\r\nTheme=2\r\n");
}

// Wine lets a process of root's replace a read-only file and rename over one
// held open, which Windows refuses; a folder in the new file's place fails
// the same steps on both, as a read-only stick or Program Files does.
TEST_F(PortableStore, AFolderThatCannotBeWrittenKeepsTheSettingsInMemoryAndSaysSoOnce)
{
    int told = 0;
    const std::string start = "[Quenfel]\r\nAlarmLevel=300\r\n";
    const std::wstring blocker = folder.File(L"Quenfel.ini.new");

    // Not writable from the start: known at once, and said by the window
    // when it first shows, not by the store.
    WriteBytes(ini, start);
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    EXPECT_FALSE(SettingsStore().Keeps());
    SettingsStore().OnNotKept = [&] { ++told; };
    WriteThemeSetting(TThemeChoice::tcDark);
    EXPECT_EQ(ReadThemeSetting(), TThemeChoice::tcDark) << "kept in memory";
    EXPECT_EQ(ReadBytes(ini), start);
    EXPECT_EQ(told, 0);
    RemoveDirectoryW(blocker.c_str());

    // Writable at the start, then not (a stick made read-only, a folder's
    // rights changed): said once, however many writes follow.
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    ASSERT_TRUE(SettingsStore().Keeps());
    SettingsStore().OnNotKept = [&] { ++told; };
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    WriteLanguageSetting(L"fi");
    WriteThemeSetting(TThemeChoice::tcLight);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(SettingsStore().Keeps());
    EXPECT_EQ(ReadLanguageSetting(), L"fi");
    EXPECT_EQ(ReadThemeSetting(), TThemeChoice::tcLight);
    EXPECT_EQ(ReadBytes(ini), start);
    RemoveDirectoryW(blocker.c_str());

    // Far too large to be ours: never read, never written over.
    const std::string large = start + std::string(2 << 20, ';');
    WriteBytes(ini, large);
    ASSERT_TRUE(UsePortableStoreIfPresent(folder.Path()));
    EXPECT_FALSE(SettingsStore().Keeps());
    WriteThemeSetting(TThemeChoice::tcDark);
    EXPECT_EQ(ReadBytes(ini).size(), large.size());
}
