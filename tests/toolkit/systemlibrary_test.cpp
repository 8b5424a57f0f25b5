#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "toolkit/errors.h"
#include "toolkit/systemlibrary.h"

TEST(SystemLibraryEntry, ResolvesAnEntryOrNamesWhatIsMissing)
{
    const struct {
        const wchar_t* library;
        const char* entry;
        const wchar_t* named;  // what the error must name; null when it resolves
    } cases[] = {
        {L"shell32.dll", "Shell_NotifyIconW", nullptr},
        {L"shell32.dll", "Shell_NotifyIconQ", L"Shell_NotifyIconQ"},
        {L"no-such-library.dll", "Shell_NotifyIconW", L"no-such-library.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
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
}

TEST(SystemLibraryEntry, GivesTheSameFunctionAsTheImportTable)
{
    auto* resolved = SystemEntry<decltype(Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
    const FARPROC direct = GetProcAddress(GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconW");
    EXPECT_EQ(reinterpret_cast<void*>(resolved), reinterpret_cast<void*>(direct));
}
