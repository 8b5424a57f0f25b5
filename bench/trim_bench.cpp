// Measures the working-set step against the bare calls it cannot avoid:
// OpenProcess, EmptyWorkingSet and CloseHandle on each of the same child
// processes, alternating round by round while the children stay alive. The
// step runs once with nothing between processes and once with a message pump
// like the window's.
//   trim_bench [children] [megabytes each] [rounds]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/systemmemory.h"
#include "tests/engine/area_children.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;
    const int megabytes = argc > 2 ? std::atoi(argv[2]) : 20;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 9;
    if (count <= 0 || megabytes <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: trim_bench [children] [megabytes each] [rounds]\n");
        return 2;
    }
    try {
        TAreaChildren children(count, megabytes, 600);
        children.WaitTouched();
        std::vector<TProcessEntry> processes;
        for (std::uint32_t id : children.Ids()) processes.push_back({id, L"area_child.exe"});
        const std::vector<std::wstring> excluded = {L"obs64.exe", L"vmmem"};

        std::vector<double> bare, step, pumped;
        int trimmedBare = 0;
        TStepCall call;
        for (int r = 0; r < rounds; ++r) {
            auto start = Clock::now();
            trimmedBare = 0;
            for (const TProcessEntry& p : processes) {
                HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_SET_QUOTA, FALSE, p.Id);
                if (process == nullptr) continue;
                trimmedBare += EmptyWorkingSet(process) ? 1 : 0;
                CloseHandle(process);
            }
            bare.push_back(Milliseconds(start));
            start = Clock::now();
            call = TrimWorkingSets(processes, excluded, false, nullptr);
            step.push_back(Milliseconds(start));
            start = Clock::now();
            call = TrimWorkingSets(processes, excluded, false, PumpMessages);
            pumped.push_back(Milliseconds(start));
        }
        const double b = Median(bare) * 1000 / count, s = Median(step) * 1000 / count,
                     p = Median(pumped) * 1000 / count;
        std::printf("%d children of %d MB, %d rounds, medians per process:\n", count, megabytes, rounds);
        std::printf("  bare Open+Empty+Close      %8.1f us   trimmed %d\n", b, trimmedBare);
        std::printf("  TrimWorkingSets            %8.1f us   ratio %.3f   trimmed %u/%u\n", s, s / b, call.Trimmed,
                    call.Seen);
        std::printf("  TrimWorkingSets, pumping   %8.1f us   ratio %.3f\n", p, p / b);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "trim_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
