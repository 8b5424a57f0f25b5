// The run history file on disk: copies appending at once, the cut past 1,100
// runs (also when the copy making it is killed), the lock held by another
// program, files mended after a power cut, and damaged files set aside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
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

// A helper copy doing job on file; killed if still running when the test
// lets go of it, so that a failed test leaves nothing behind.
class THelper {
public:
    THelper(const wchar_t* job, const std::wstring& file)
    {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=RunHistoryHelper.*";
        SetEnvironmentVariableW(kJobVariable, job);
        SetEnvironmentVariableW(kFileVariable, file.c_str());
        // Its own report would only clutter this one's.
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                 nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = nul;
        startup.hStdError = nul;
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info_);
        CloseHandle(nul);
        SetEnvironmentVariableW(kJobVariable, nullptr);
        SetEnvironmentVariableW(kFileVariable, nullptr);
    }
    THelper(const THelper&) = delete;
    THelper& operator=(const THelper&) = delete;
    ~THelper()
    {
        if (info_.hProcess == nullptr) return;
        Kill();
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code once it ended within the timeout.
    std::optional<DWORD> Wait(DWORD milliseconds) const
    {
        DWORD code = 0;
        if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    void Kill()
    {
        if (WaitForSingleObject(info_.hProcess, 0) != WAIT_TIMEOUT) return;
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, 10000);
    }

private:
    PROCESS_INFORMATION info_{};
};

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
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
        THelper copies[] = {THelper(L"append", file), THelper(L"append", file)};
        ASSERT_TRUE(copies[0].Started());
        ASSERT_TRUE(copies[1].Started());
        for (int i = 0; i < 2; ++i) EXPECT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
        SetEvent(go);
        for (auto& copy : copies) EXPECT_EQ(copy.Wait(60000), 0u);
        const std::string text = ReadBytes(file);
        ASSERT_EQ(CountHistoryRecords(text), static_cast<std::size_t>(2 * kLinesPerCopy)) << "round " << round;
        for (auto& copy : copies) {
            for (int i = 0; i < kLinesPerCopy; ++i) {
                const std::string tag = "," + std::to_string(copy.Id() * 1000ull + i) + ",";
                ASSERT_NE(text.find(tag), std::string::npos) << "line " << i << " of copy " << copy.Id();
            }
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
    EXPECT_EQ(GetFileAttributesW((file + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(RunHistory, AKillDuringTheCutLeavesTheOldFileOrTheNewNeverNeither)
{
    TScratchFolder folder(L"QuenfelKill");
    const std::wstring file = folder.File(L"history.csv");
    HANDLE busy = CreateEventW(nullptr, FALSE, FALSE, kBusyEvent);
    int oldSeen = 0, newSeen = 0;
    for (int round = 0; round < 12; ++round) {
        // The last round's copy may have signalled again before its kill:
        // without this, the kill could land before this copy even starts.
        ResetEvent(busy);
        THelper copy(L"cut", file);
        ASSERT_TRUE(copy.Started());
        ASSERT_EQ(WaitForSingleObject(busy, 20000), WAIT_OBJECT_0);
        Sleep(static_cast<DWORD>(round * 7 % 23));
        copy.Kill();
        const auto runs = CountHistoryRecords(ReadBytes(file));
        ASSERT_TRUE(runs == kHistoryTrimAbove + 1 || runs == kHistoryKeep)
            << "round " << round << ": " << (runs ? std::to_string(*runs) + " runs" : "not a whole file");
        ++(runs == kHistoryKeep ? newSeen : oldSeen);
    }
    CloseHandle(busy);
    RecordProperty("old", oldSeen);
    RecordProperty("new", newSeen);
}

TEST(RunHistory, AFileDamagedAtItsEndKeepsItsWholeLines)
{
    const std::string whole = HistoryOf(3);
    const struct {
        const char* what;
        std::string stored;
    } cases[] = {
        {"cut mid-line", whole + whole.substr(kHistoryHeader.size(), 30)},
        {"padded with zero bytes", whole + std::string(4096, '\0')},
    };
    for (const auto& c : cases) {
        TScratchFolder folder(L"QuenfelPowerCut");
        const std::wstring file = folder.File(L"history.csv");
        ASSERT_TRUE(WriteBytes(file, c.stored));
        TRunRecord run;
        run.AskedMB = 5;
        AppendRunHistory(file, run);
        EXPECT_EQ(ReadBytes(file), whole + FormatHistoryLine(run)) << c.what;
        EXPECT_EQ(GetFileAttributesW((file + L".1.bad").c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
    }
}

// Each damaged file is kept whole, the newest as .1.bad, none written over
// another, up to five; so is one far too large to be read (past 16 MiB), of
// which no part may be taken for the whole.
TEST(RunHistory, DamagedFilesAreSetAsideWithoutLosingEarlierOnes)
{
    TScratchFolder folder(L"QuenfelDamaged");
    const std::wstring file = folder.File(L"history.csv");
    std::vector<std::string> damaged;
    for (int i = 0; i < 8; ++i) {
        if (i == 7)
            damaged.push_back(HistoryOf(330'000));
        else
            damaged.push_back(i % 2 ? "name,size\r\nfoo," + std::to_string(i) + "\r\n" : std::string(i, 'x'));
        ASSERT_TRUE(WriteBytes(file, damaged.back()));
        TRunRecord run;
        run.AskedMB = 5;
        AppendRunHistory(file, run);
        // Compared whole, but not printed: one of them is 18 MB.
        const std::string now = ReadBytes(file);
        EXPECT_TRUE(now == std::string(kHistoryHeader) + FormatHistoryLine(run)) << i << ": " << now.size() << " bytes";
        for (int n = 1; n <= 5 && n <= i + 1; ++n)
            EXPECT_TRUE(ReadBytes(file + L"." + std::to_wstring(n) + L".bad") == damaged[i + 1 - n]) << i << ", " << n;
    }
    EXPECT_EQ(GetFileAttributesW((file + L".6.bad").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file set aside earlier that can neither go nor move (read-only, or open
// in a viewer that does not share its deletion) keeps its number and is
// stepped over: the next runs still record, and no file is lost. When every
// number is held, the damaged file stays where it is, with the line at its
// end.
TEST(RunHistory, AnOldSetAsideFileThatCannotMoveNeverStopsARun)
{
    enum TPin { pReadOnly, pHeldOpen };
    const struct {
        const char* what;
        TPin pin;
        std::vector<int> pinned;
        std::vector<int> asideAfterTwoRuns;  // where each of the five old files is then
    } cases[] = {
        {"oldest read-only", pReadOnly, {5}, {3, 4, 0, 0, 5}},
        {"oldest held open", pHeldOpen, {5}, {3, 4, 0, 0, 5}},
        {"a middle one held open", pHeldOpen, {3}, {4, 5, 3, 0, 0}},
        {"every one read-only", pReadOnly, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        TScratchFolder folder(L"QuenfelPinned");
        const std::wstring file = folder.File(L"history.csv");
        auto aside = [&file](int n) { return file + L"." + std::to_wstring(n) + L".bad"; };
        auto old = [](int n) { return "old " + std::to_string(n); };
        for (int n = 1; n <= 5; ++n) ASSERT_TRUE(WriteBytes(aside(n), old(n)));
        std::vector<HANDLE> held;
        for (int n : c.pinned) {
            if (c.pin == pReadOnly) {
                SetFileAttributesW(aside(n).c_str(), FILE_ATTRIBUTE_READONLY);
            } else {
                held.push_back(CreateFileW(aside(n).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_NE(held.back(), INVALID_HANDLE_VALUE) << c.what;
            }
        }
        TRunRecord run;
        run.AskedMB = 5;
        const std::string line = FormatHistoryLine(run);
        const bool setAside = c.pinned.size() < 5;
        const char* const damaged[] = {"damaged once", "damaged twice"};
        for (int round = 0; round < 2; ++round) {
            // Where nothing could be set aside, the second run finds the first's file.
            if (round == 0 || setAside) {
                ASSERT_TRUE(WriteBytes(file, damaged[round]));
            }
            EXPECT_NO_THROW(AppendRunHistory(file, run)) << c.what;
        }
        if (setAside) {
            EXPECT_EQ(ReadBytes(file), std::string(kHistoryHeader) + line) << c.what;
            EXPECT_EQ(ReadBytes(aside(1)), "damaged twice") << c.what;
            EXPECT_EQ(ReadBytes(aside(2)), "damaged once") << c.what;
        } else {
            EXPECT_EQ(ReadBytes(file), "damaged once" + line + line) << c.what;
        }
        for (int n = 1; n <= 5; ++n) {
            const int at = c.asideAfterTwoRuns[n - 1];
            if (at != 0) {
                EXPECT_EQ(ReadBytes(aside(at)), old(n)) << c.what << ": old " << n;
            }
        }
        EXPECT_EQ(GetFileAttributesW(aside(6).c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
        for (HANDLE h : held) CloseHandle(h);
    }
}

// Another program holds the lock and lets it go only after a while: the
// run's line is written at once, without waiting for it, and nothing is cut
// under the holder's feet.
TEST(RunHistory, ALockHeldElsewhereStillGetsTheLineInAndCutsNothing)
{
    TScratchFolder folder(L"QuenfelLockHeld");
    const std::wstring file = folder.File(L"history.csv");
    ASSERT_TRUE(WriteBytes(file, HistoryOf(kHistoryTrimAbove)));
    HANDLE held = CreateFileW((file + L".lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread holder([held] {
        Sleep(2000);
        CloseHandle(held);
    });
    TRunRecord run;
    run.AskedMB = 777'777;
    AppendRunHistory(file, run);
    const std::string text = ReadBytes(file);
    holder.join();
    EXPECT_EQ(CountHistoryRecords(text), kHistoryTrimAbove + 1);
    EXPECT_EQ(text.substr(text.size() - FormatHistoryLine(run).size()), FormatHistoryLine(run));

    // Let go, the next run cuts the file again.
    AppendRunHistory(file, run);
    EXPECT_EQ(CountHistoryRecords(ReadBytes(file)), kHistoryKeep);
    EXPECT_EQ(GetFileAttributesW((file + L".lock").c_str()), INVALID_FILE_ATTRIBUTES);
}
