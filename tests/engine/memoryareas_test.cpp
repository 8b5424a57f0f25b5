// The memory areas against the real system calls under Wine: the working-set
// step on child processes of our own, what Wine offers of the rest, and a
// whole run of every area through a TMem whose blocks and figures the test
// sets.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/memoryrun.h"
#include "engine/systemmemory.h"
#include "tests/engine/area_children.h"
#include "toolkit/errors.h"

namespace {

constexpr std::uint64_t MB = 1'048'576;

bool PrivilegeEnabled(const wchar_t* name)
{
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    const TUniqueKernelHandle owned(token);
    LUID luid{};
    EXPECT_TRUE(LookupPrivilegeValueW(nullptr, name, &luid));
    std::vector<char> buffer(4096);
    DWORD length = 0;
    EXPECT_TRUE(GetTokenInformation(token, TokenPrivileges, buffer.data(), buffer.size(), &length));
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID& held = privileges->Privileges[i].Luid;
        if (held.LowPart == luid.LowPart && held.HighPart == luid.HighPart)
            return (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

} // namespace

TEST(MemoryAreas, TheWorkingSetStepTrimsEveryOtherProcessButTheExcludedOnes)
{
    TAreaChildren children(3, 4);
    TAreaChildren ended(1, 1);
    const std::uint32_t endedId = ended.Ids()[0];
    ended.EndAll();

    // The snapshot finds the children by their image name.
    std::vector<TProcessEntry> processes;
    for (const TProcessEntry& p : RunningProcesses())
        for (std::uint32_t id : children.Ids())
            if (p.Id == id) processes.push_back(p);
    ASSERT_EQ(processes.size(), 3u);
    for (const TProcessEntry& p : processes) EXPECT_EQ(p.ImageName, L"area_child.exe");
    processes.push_back({GetCurrentProcessId(), L"engine_tests.exe"});
    processes.push_back({endedId, L"area_child.exe"});

    const struct {
        std::vector<std::wstring> excluded;
        bool elevated;
        std::uint32_t trimmed;
    } rows[] = {
        {{}, false, 3},
        {{L"AREA_CHILD.EXE"}, false, 0},
        {{L"other.exe", L"area_child.ex", L"area_child.exe.exe"}, false, 3},
        {{L"other.exe", L"Area_Child.exe"}, true, 0},
        {{}, true, 3},
    };
    for (const auto& r : rows) {
        int betweens = 0, privileged = 0;
        // A message handled mid-step must not run with the debug privilege.
        const TStepCall call = TrimWorkingSets(processes, r.excluded, r.elevated, [&] {
            ++betweens;
            privileged += PrivilegeEnabled(SE_DEBUG_NAME);
        });
        EXPECT_EQ(call.Outcome, TStepOutcome::soDone);
        EXPECT_EQ(call.Trimmed, r.trimmed) << r.elevated;
        // The children and the ended one are seen; this process never is.
        EXPECT_EQ(call.Seen, 4u) << r.elevated;
        EXPECT_EQ(betweens, 4) << r.elevated;
        EXPECT_EQ(privileged, 0) << r.elevated;
        EXPECT_FALSE(PrivilegeEnabled(SE_DEBUG_NAME));
    }
}

// What Wine 8 does: SetSystemFileCacheSize is a stub that fails with
// ERROR_CALL_NOT_IMPLEMENTED; NtSetSystemInformation is a stub that answers
// success for the memory-list class; a prefix that reports Windows before 10
// never reaches the page-combining call. Each privilege is off again after.
TEST(MemoryAreas, WineAnswersEachSystemCallAndEveryPrivilegeIsPutBack)
{
    EXPECT_TRUE(ProcessIsElevated());
    const bool windows10 = RunningWindowsVersion().Major >= 10;
    const struct {
        const char* what;
        TStepCall (*call)();
        TStepOutcome outcome;
        const wchar_t* privilege;
    } rows[] = {
        {"filecache", PurgeSystemFileCache, TStepOutcome::soSkippedWindows, SE_INCREASE_QUOTA_NAME},
        {"modified", [] { return RunMemoryListCommand(TMemoryListCommand::mlFlushModified); }, TStepOutcome::soDone,
         SE_PROF_SINGLE_PROCESS_NAME},
        {"standbylow", [] { return RunMemoryListCommand(TMemoryListCommand::mlPurgeLowPriorityStandby); },
         TStepOutcome::soDone, SE_PROF_SINGLE_PROCESS_NAME},
        {"standby", [] { return RunMemoryListCommand(TMemoryListCommand::mlPurgeStandby); }, TStepOutcome::soDone,
         SE_PROF_SINGLE_PROCESS_NAME},
        {"combine", CombineMemoryPages, windows10 ? TStepOutcome::soDone : TStepOutcome::soSkippedWindows,
         SE_PROF_SINGLE_PROCESS_NAME},
    };
    for (const auto& r : rows) {
        ASSERT_FALSE(PrivilegeEnabled(r.privilege)) << r.what;
        const TStepCall call = r.call();
        EXPECT_EQ(call.Outcome, r.outcome) << r.what;
        EXPECT_EQ(call.Error, 0u) << r.what;
        EXPECT_FALSE(PrivilegeEnabled(r.privilege)) << r.what;
    }
}

TEST(MemoryAreas, ARunRecordsEveryStepInOrderAndGoesOnAfterAFailure)
{
    TMem mem;
    mem.MessageInterval = std::chrono::milliseconds(0);
    // Free memory rises by a MB at every reading, so each step that runs rises
    // by exactly one: one reading before it, one after.
    std::uint64_t avail = 100 * MB;
    mem.StatusSource = [&avail] {
        TMemoryStatus s;
        s.AvailPhys = avail;
        avail += MB;
        return s;
    };
    int blocks = 0;
    mem.BlockSource = TBlockSource{
        [&blocks](std::size_t size) { return ++blocks > 2 ? nullptr : HeapAlloc(GetProcessHeap(), 0, size); },
        [](void* block) { HeapFree(GetProcessHeap(), 0, block); },
    };
    int pumps = 0;
    mem.ProcessMessages = [&pumps] { ++pumps; };
    std::vector<std::string> steps;
    TAreaRunOptions options;
    options.Excluded = {L"area_child.exe"};
    options.OnStep = [&](std::size_t step, std::size_t count) {
        steps.push_back(std::to_string(step) + "/" + std::to_string(count) + " pumps " + std::to_string(pumps));
    };
    const std::vector<TPlannedStep> plan = {
        {TMemoryArea::maWorkingSets, TStepPlan::spRun}, {TMemoryArea::maFileCache, TStepPlan::spSkipRights},
        {TMemoryArea::maFill, TStepPlan::spRun},        {TMemoryArea::maModified, TStepPlan::spRun},
        {TMemoryArea::maStandbyLow, TStepPlan::spSkipWindows}, {TMemoryArea::maStandby, TStepPlan::spRun},
        {TMemoryArea::maCombine, TStepPlan::spRun},
    };

    const TAreaRun run = RunMemoryAreas(mem, plan, 5, options);

    ASSERT_EQ(run.Results.size(), plan.size());
    EXPECT_TRUE(run.OutOfMemory);
    EXPECT_EQ(blocks, 3);
    const TAreaResult& trim = run.Results[0];
    ASSERT_TRUE(trim.HasProcesses);
    EXPECT_GE(trim.Seen, 1u);
    EXPECT_EQ(trim.Trimmed, trim.Seen);
    const std::string trimText = "(" + std::to_string(trim.Seen) + "/" + std::to_string(trim.Seen) + ")";
    const char* combine = RunningWindowsVersion().Major >= 10 ? "combine=+1.0" : "combine=skipped-windows";
    EXPECT_EQ(FormatAreaResults(run.Results), "workingsets=+1.0" + trimText
                                                  + " filecache=skipped-rights fill=failed-8 modified=+1.0"
                                                    " standbylow=skipped-windows standby=+1.0 "
                                                  + combine);
    // The working-set step pumped after each process it saw; fill after each
    // of the two blocks it got.
    const int trimPumps = static_cast<int>(trim.Seen);
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "0/5 pumps 0", "1/5 pumps " + std::to_string(trimPumps),
                         "2/5 pumps " + std::to_string(trimPumps + 2), "3/5 pumps " + std::to_string(trimPumps + 2),
                         "4/5 pumps " + std::to_string(trimPumps + 2)}));
    EXPECT_THROW(RunMemoryAreas(mem, plan, -1, options), ERangeError);
}
