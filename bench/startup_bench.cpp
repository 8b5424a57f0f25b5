// Start-up time of the program (from start until its loop first waits for
// input, its first paint done) and its working set at that moment, against a
// minimal Win32 program with a one-second timer started the same way in the
// same run. Prints the figures and their ratios; asserts nothing. The idle
// cost is bench/idle-cost's.
//   startup_bench [rounds]   (run inside a Wine session: scripts/wine-shell)
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include <algorithm>

namespace {

std::wstring Sibling(const wchar_t* relative)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    std::wstring path(buffer);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + relative;
}

struct TRun {
    PROCESS_INFORMATION info{};
    double startupMs = 0;
    double workingSetMb = 0;

    explicit TRun(const std::wstring& exe, const std::wstring& args)
    {
        std::wstring commandLine = L"\"" + exe + L"\" " + args;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        const auto t0 = std::chrono::steady_clock::now();
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info)) {
            std::fwprintf(stderr, L"cannot start %ls\n", exe.c_str());
            std::exit(1);
        }
        // The first time the loop waits for input, the first paint is done.
        WaitForInputIdle(info.hProcess, 30000);
        startupMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters))
            workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    ~TRun()
    {
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
};

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts both programs `rounds` times, alternating, and prints the medians.
void Measure(const wchar_t* label, const std::wstring& args, int rounds)
{
    std::vector<double> programMs, baselineMs, programMb, baselineMb;
    for (int i = 0; i < rounds; ++i) {
        {
            TRun p(Sibling(L"..\\Quenfel.exe"), args);
            programMs.push_back(p.startupMs);
            programMb.push_back(p.workingSetMb);
        }
        {
            TRun b(Sibling(L"minimal_timer_app.exe"), args);
            baselineMs.push_back(b.startupMs);
            baselineMb.push_back(b.workingSetMb);
        }
    }
    const double p = Median(programMs), b = Median(baselineMs);
    const double pm = Median(programMb), bm = Median(baselineMb);
    std::printf("start %-6ls program %7.1f ms   minimal %7.1f ms   ratio %.2f  (median of %d)\n", label, p, b,
                Ratio(p, b), rounds);
    std::printf("      %-6ls working set %6.1f MB   minimal %6.1f MB   difference %+.1f MB\n", label, pm, bm, pm - bm);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    Measure(L"shown", L"", rounds);
    Measure(L"tray", L"/tray", rounds);
    return 0;
}
