// The run history file on disk: copies appending at once, the cut past 1,100
// runs (also when the copy making it is killed), and damaged files set aside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "settings/runhistory.h"
#include "tests/support/history_files.h"

using testsupport::HistoryOf;
using testsupport::ReadBytes;
using testsupport::TScratchFolder;
using testsupport::WriteBytes;

namespace {

// This test program started again as a helper copy: it runs the one test
// named by filter, with the job and the file in its environment.
constexpr wchar_t kJobVariable[] = L"QUENFEL_HISTORY_JOB";
constexpr wchar_t kFileVariable[] = L"QUENFEL_HISTORY_FILE";
constexpr wchar_t kGoEvent[] = L"Local\\QuenfelTest.HistoryGo";
constexpr wchar_t kReadySemaphore[] = L"Local\\QuenfelTest.HistoryReady";
constexpr wchar_t kBusyEvent[] = L"Local\\QuenfelTest.HistoryBusy";
constexpr int kLinesPerCopy = 200;

PROCESS_INFORMATION StartHelper(const wchar_t* job, const std::wstring& file)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=RunHistoryHelper.*";
    SetEnvironmentVariableW(kJobVariable, job);
    SetEnvironmentVariableW(kFileVariable, file.c_str());
    // Its own report would only clutter this one's.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION info{};
    CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(nul);
    SetEnvironmentVariableW(kJobVariable, nullptr);
    SetEnvironmentVariableW(kFileVariable, nullptr);
    return info;
}

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

void Close(PROCESS_INFORMATION& info)
{
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
    info = {};
}

} // namespace

// The helper copy's side; skipped when run as an ordinary test.
TEST(RunHistoryHelper, DoesItsJob)
{
    const std::wstring job = Variable(kJobVariable);
    const std::wstring file = Variable(kFileVariable);
    if (job.empty()) GTEST_SKIP() << "only run as a helper copy";
    if (job == L"append") {
        // Both copies start writing at the same moment.
        HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, kGoEvent);
        HANDLE ready = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, kReadySemaphore);
        ASSERT_NE(go, nullptr);
        ASSERT_NE(ready, nullptr);
        ReleaseSemaphore(ready, 1, nullptr);
        WaitForSingleObject(go, 10000);
        for (int i = 0; i < kLinesPerCopy; ++i) {
            TRunRecord run;
            run.AskedMB = GetCurrentProcessId() * 1000ull + i;  // whose line, and which
            AppendRunHistory(file, run);
        }
    } else if (job == L"cut") {
        // Over and over: a whole file of 1,101 runs put in place at once,
        // then cut; the test kills this copy at some moment.
        const std::string old = HistoryOf(kHistoryTrimAbove + 1);
        HANDLE busy = OpenEventW(EVENT_MODIFY_STATE, FALSE, kBusyEvent);
        ASSERT_NE(busy, nullptr);
        const std::wstring staged = file + L".staged";
        for (;;) {
            ASSERT_TRUE(WriteBytes(staged, old));
            ASSERT_TRUE(MoveFileExW(staged.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING));
            SetEvent(busy);
            TrimRunHistory(file);
        }
    }
}

TEST(RunHistory, TwoCopiesAppendingAtOnceLeaveEveryLineWhole)
{
    // Whether the two copies really write at the same moment is up to the
    // scheduler: a few rounds make it near certain that some of them do.
    // (Wine, unlike Windows, finds the end of the file and writes there in
    // two steps, so there only the program's lock keeps the lines whole.)
    for (int round = 0; round < 4; ++round) {
        TScratchFolder folder(L"QuenfelAppend");
        const std::wstring file = folder.File(L"history.csv");
        ASSERT_TRUE(WriteBytes(file, std::string(kHistoryHeader)));
        HANDLE go = CreateEventW(nullptr, TRUE, FALSE, kGoEvent);
        HANDLE ready = CreateSemaphoreW(nullptr, 0, 2, kReadySemaphore);
        PROCESS_INFORMATION copies[] = {StartHelper(L"append", file), StartHelper(L"append", file)};
        ASSERT_NE(copies[0].hProcess, nullptr);
        ASSERT_NE(copies[1].hProcess, nullptr);
        for (int i = 0; i < 2; ++i) EXPECT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
        SetEvent(go);
        for (auto& copy : copies) {
            EXPECT_EQ(WaitForSingleObject(copy.hProcess, 60000), WAIT_OBJECT_0);
            DWORD code = 1;
            GetExitCodeProcess(copy.hProcess, &code);
            EXPECT_EQ(code, 0u);
        }
        const std::string text = ReadBytes(file);
        ASSERT_EQ(CountHistoryRecords(text), static_cast<std::size_t>(2 * kLinesPerCopy)) << "round " << round;
        for (auto& copy : copies) {
            for (int i = 0; i < kLinesPerCopy; ++i) {
                const std::string tag = "," + std::to_string(copy.dwProcessId * 1000ull + i) + ",";
                ASSERT_NE(text.find(tag), std::string::npos) << "line " << i << " of copy " << copy.dwProcessId;
            }
            Close(copy);
        }
        CloseHandle(ready);
        CloseHandle(go);
    }
}

TEST(RunHistory, PastElevenHundredRunsTheFileIsCutToTheLastThousand)
{
    TScratchFolder folder(L"QuenfelCut");
    const std::wstring file = folder.File(L"history.csv");
    ASSERT_TRUE(WriteBytes(file, HistoryOf(kHistoryTrimAbove - 1)));
    TRunRecord run;
    run.AskedMB = 777'777;
    AppendRunHistory(file, run);
    EXPECT_EQ(CountHistoryRecords(ReadBytes(file)), kHistoryTrimAbove);  // 1,100: not yet

    AppendRunHistory(file, run);
    const std::string text = ReadBytes(file);
    EXPECT_EQ(CountHistoryRecords(text), kHistoryKeep);
    EXPECT_EQ(text.substr(text.size() - 2 * FormatHistoryLine(run).size()), FormatHistoryLine(run) + FormatHistoryLine(run));
    EXPECT_EQ(GetFileAttributesW((file + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(RunHistory, AKillDuringTheCutLeavesTheOldFileOrTheNewNeverNeither)
{
    TScratchFolder folder(L"QuenfelKill");
    const std::wstring file = folder.File(L"history.csv");
    HANDLE busy = CreateEventW(nullptr, FALSE, FALSE, kBusyEvent);
    int oldSeen = 0, newSeen = 0;
    for (int round = 0; round < 12; ++round) {
        PROCESS_INFORMATION copy = StartHelper(L"cut", file);
        ASSERT_NE(copy.hProcess, nullptr);
        ASSERT_EQ(WaitForSingleObject(busy, 20000), WAIT_OBJECT_0);
        Sleep(static_cast<DWORD>(round * 7 % 23));
        TerminateProcess(copy.hProcess, 9);
        WaitForSingleObject(copy.hProcess, 10000);
        Close(copy);
        const auto runs = CountHistoryRecords(ReadBytes(file));
        ASSERT_TRUE(runs == kHistoryTrimAbove + 1 || runs == kHistoryKeep)
            << "round " << round << ": " << (runs ? std::to_string(*runs) + " runs" : "not a whole file");
        ++(runs == kHistoryKeep ? newSeen : oldSeen);
    }
    CloseHandle(busy);
    RecordProperty("old", oldSeen);
    RecordProperty("new", newSeen);
}

TEST(RunHistory, ADamagedFileIsSetAsideAndANewOneBegun)
{
    const std::string whole = HistoryOf(3);
    const struct {
        const char* what;
        std::string stored;
    } cases[] = {
        {"cut short", whole.substr(0, whole.size() - 10)},
        {"not ours", "name,size\r\nfoo,1\r\n"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        TScratchFolder folder(L"QuenfelDamaged");
        const std::wstring file = folder.File(L"history.csv");
        ASSERT_TRUE(WriteBytes(file, c.stored));
        TRunRecord run;
        run.AskedMB = 5;
        AppendRunHistory(file, run);
        EXPECT_EQ(ReadBytes(file + L".bad"), c.stored) << c.what;
        EXPECT_EQ(ReadBytes(file), std::string(kHistoryHeader) + FormatHistoryLine(run)) << c.what;
    }
}
