#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "toolkit/errors.h"
#include "toolkit/modulepath.h"
#include "toolkit/systemlibrary.h"

TEST(SystemLibraryEntry, ResolvesAnEntryOrNamesWhatIsMissing)
{
    // A system library's copies under names found only beside the program
    // and in the current folder, where the usual search order would look.
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring original = std::wstring(folder) + L"\\version.dll";
    const std::wstring program = ExecutablePath();
    const std::wstring besideProgram = program.substr(0, program.find_last_of(L'\\') + 1) + L"quenfel-beside.dll";
    GetTempPathW(MAX_PATH, folder);
    const std::wstring inCurrent = std::wstring(folder) + L"quenfel-current.dll";
    ASSERT_TRUE(CopyFileW(original.c_str(), besideProgram.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(original.c_str(), inCurrent.c_str(), FALSE));
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(folder);

    const struct {
        const wchar_t* library;
        const char* entry;
        const wchar_t* named;  // what the error must name; null when it resolves
    } cases[] = {
        {L"shell32.dll", "Shell_NotifyIconW", nullptr},
        {L"shell32.dll", "Shell_NotifyIconQ", L"Shell_NotifyIconQ"},
        {L"no-such-library.dll", "Shell_NotifyIconW", L"no-such-library.dll"},
        {L"quenfel-beside.dll", "GetFileVersionInfoSizeW", L"quenfel-beside.dll"},
        {L"quenfel-current.dll", "GetFileVersionInfoSizeW", L"quenfel-current.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.library << " " << c.entry);
        if (c.named == nullptr) {
            EXPECT_NE(SystemLibraryEntry(c.library, c.entry), nullptr);
            continue;
        }
        try {
            SystemLibraryEntry(c.library, c.entry);
            ADD_FAILURE() << "no error raised";
        } catch (const EOSError& e) {
            EXPECT_NE(e.Message().find(c.named), std::wstring::npos) << e.what();
            EXPECT_NE(e.ErrorCode(), 0u);
        }
    }
    SetCurrentDirectoryW(current);
    DeleteFileW(besideProgram.c_str());
    DeleteFileW(inCurrent.c_str());
}

TEST(SystemLibraryEntry, GivesTheSameFunctionAsTheImportTable)
{
    auto* resolved = SystemEntry<decltype(Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
    const FARPROC direct = GetProcAddress(GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconW");
    EXPECT_EQ(reinterpret_cast<void*>(resolved), reinterpret_cast<void*>(direct));
}
