// Idle cost and start-up time of the program, each against a minimal Win32
// program with a one-second timer started the same way in the same run.
// Prints the figures and their ratios; asserts nothing.
//   idle_bench [seconds]   (default 60; run inside a Wine session with a desktop)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

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
    }
    ~TRun()
    {
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    double CpuMs() const
    {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        auto ms = [](FILETIME f) {
            return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
        };
        return ms(kernel) + ms(user);
    }
};

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

void Measure(const wchar_t* label, const std::wstring& args, int seconds)
{
    TRun program(Sibling(L"..\\Quenfel.exe"), args);
    TRun baseline(Sibling(L"minimal_timer_app.exe"), args);
    // Let start-up work settle before the idle window opens.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double p0 = program.CpuMs(), b0 = baseline.CpuMs();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double p = program.CpuMs() - p0, b = baseline.CpuMs() - b0;
    std::printf("idle %-7ls program %8.1f ms CPU   minimal %8.1f ms CPU   ratio %.2f  (%d s)\n", label, p, b,
                Ratio(p, b), seconds);
    std::printf("start %-6ls program %8.1f ms      minimal %8.1f ms      ratio %.2f\n", label, program.startupMs,
                baseline.startupMs, Ratio(program.startupMs, baseline.startupMs));
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    Measure(L"shown", L"", seconds);
    Measure(L"tray", L"/tray", seconds);
    return 0;
}
