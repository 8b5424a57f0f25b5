// Start-up time of the program (from start until its loop first waits for
// input, its first paint done) and its working set at that moment, against a
// minimal Win32 program with a one-second timer started the same way in the
// same run. Prints the figures and their ratios (the median start, the
// fastest, which a busy machine disturbs least, and the median of the ratios
// within each round, which drifts disturb least); asserts nothing. The idle
// cost is bench/idle-cost's.
//   startup_bench [rounds [program]]   (run inside a Wine session: scripts/wine-shell)
// The program is the Quenfel.exe of this build tree unless a path is given,
// e.g. build/release-i686/Quenfel.exe for the one that ships.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

double Fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts both programs `rounds` times, alternating, and prints the medians.
void Measure(const std::wstring& program, const wchar_t* label, const std::wstring& args, int rounds)
{
    // One unrecorded pair first: the first starts of a session also pay for
    // filling the file cache and starting Wine's services.
    { TRun warm(program, args); }
    { TRun warm(Sibling(L"minimal_timer_app.exe"), args); }
    std::vector<double> programMs, baselineMs, programMb, baselineMb, pairRatios;
    const auto runProgram = [&] {
        TRun p(program, args);
        programMs.push_back(p.startupMs);
        programMb.push_back(p.workingSetMb);
    };
    const auto runBaseline = [&] {
        TRun b(Sibling(L"minimal_timer_app.exe"), args);
        baselineMs.push_back(b.startupMs);
        baselineMb.push_back(b.workingSetMb);
    };
    for (int i = 0; i < rounds; ++i) {
        // Each round starts the two back to back, taking turns at going
        // first; the ratio within a round is spared the slow drifts of a
        // busy machine that move both starts together.
        if (i % 2 == 0) {
            runProgram();
            runBaseline();
        } else {
            runBaseline();
            runProgram();
        }
        pairRatios.push_back(Ratio(programMs.back(), baselineMs.back()));
    }
    const double p = Median(programMs), b = Median(baselineMs);
    const double pf = Fastest(programMs), bf = Fastest(baselineMs);
    const double pm = Median(programMb), bm = Median(baselineMb);
    std::printf("start %-6ls program %7.1f ms   minimal %7.1f ms   ratio %.2f  (median of %d)\n", label, p, b,
                Ratio(p, b), rounds);
    std::printf("      %-6ls fastest %7.1f ms   minimal %7.1f ms   ratio %.2f\n", label, pf, bf, Ratio(pf, bf));
    std::printf("      %-6ls ratio within a round, median %.2f\n", label, Median(pairRatios));
    std::printf("      %-6ls working set %6.1f MB   minimal %6.1f MB   difference %+.1f MB\n", label, pm, bm, pm - bm);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::wstring program = Sibling(L"..\\Quenfel.exe");
    if (argc > 2) {
        wchar_t full[MAX_PATH * 4] = {};
        const std::wstring given(argv[2], argv[2] + std::strlen(argv[2]));
        if (GetFullPathNameW(given.c_str(), MAX_PATH * 4, full, nullptr) == 0) {
            std::fprintf(stderr, "bad program path %s\n", argv[2]);
            return 2;
        }
        program = full;
    }
    std::printf("program %ls\n", program.c_str());
    Measure(program, L"shown", L"", rounds);
    Measure(program, L"tray", L"/tray", rounds);
    return 0;
}
