// The memory window over a made-up day with two runs, for the README's
// picture and the lead's (scripts/screenshots): prints the window's
// rectangle, LEFT TOP WIDTH HEIGHT, and stays until it is ended.
//   screenshot_memory LANGUAGE          made-up samples, every part shown
//   screenshot_memory LANGUAGE wine     the readings as this Windows gives them
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "app/formmemory.h"
#include "app/memorysampling.h"
#include "engine/mem.h"
#include "settings/runhistory.h"
#include "toolkit/application.h"
#include "toolkit/texts.h"
#include "toolkit/trackbar.h"

namespace {

constexpr std::uint64_t kMB = 1ull << 20;

// A 16 GB machine at second t: programs in use swell and shrink, modified
// pages gather, the standby list fills back after each run (at runA, runB).
TMemoryDivision MadeUp(std::int64_t t, std::int64_t runA, std::int64_t runB)
{
    TMemoryStatus status;
    status.TotalPhys = 16384 * kMB;
    const double inUse = 6200 + 900 * std::sin(t / 1700.0) + 150 * std::sin(t / 97.0);
    double standby = 7600, modified = 420;
    for (std::int64_t run : {runA, runB}) {
        if (t < run) continue;
        // Refilled over some minutes, as programs read their files again.
        const double back = 1 - std::exp(-(t - run) / 240.0);
        standby = standby - 3200 * (1 - back);
        modified = modified - 380 * (1 - back);
    }
    TMemoryListReading lists;
    lists.Source = TDivisionSource::dsMemoryLists;
    lists.ModifiedBytes = static_cast<std::uint64_t>(modified) * kMB;
    lists.StandbyByPriority[5] = static_cast<std::uint64_t>(standby) * kMB;
    lists.FreeBytes = status.TotalPhys - static_cast<std::uint64_t>(inUse + standby + modified) * kMB;
    status.AvailPhys = lists.FreeBytes + lists.StandbyByPriority[5];
    return DivideMemory(status, lists);
}

TLocalTime Utc(std::int64_t t)
{
    const std::time_t time = static_cast<std::time_t>(t);
    const std::tm* u = std::gmtime(&time);
    return {u->tm_year + 1900, u->tm_mon + 1, u->tm_mday, u->tm_hour, u->tm_min, u->tm_sec, 0};
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || FindLanguage(argv[1]) == nullptr) return 2;
    SetCurrentLanguage(*FindLanguage(argv[1]));
    Application->Initialize();
    TMem engine;
    const std::int64_t now = std::time(nullptr);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring history = std::wstring(temp) + L"quenfel-screenshot-history.csv";
    DeleteFileW(history.c_str());
    if (argc > 2 && std::wstring(argv[2]) == L"wine") {
        for (int i = 0; i < 3; ++i) {
            engine.ReadStatus();
            SampleMemory(engine);
        }
    } else {
        SampleClock = [now] { return now; };
        const std::int64_t runA = now - 50 * 60, runB = now - 19 * 60;
        for (std::int64_t t = now - 86400; t <= now; t += t < now - 3600 ? 60 : 5)
            MemorySamples().Add(t, MadeUp(t, runA, runB));
        for (std::int64_t run : {runA, runB}) {
            TRunRecord record;
            record.Start = Utc(run);
            record.Trigger = run == runA ? TRunTrigger::rtManual : TRunTrigger::rtAlarm;
            record.FreeBeforeBytes = MadeUp(run - 1, runA, runB).AvailableBytes;
            record.FreeAfterBytes = record.FreeBeforeBytes + 612 * kMB;
            record.Milliseconds = 2400;
            AppendRunHistory(history, record);
        }
    }
    TFormMemory* window = TFormMemory::Open(Application, history);
    window->TrackSpan->SetPosition(1);
    RECT r;
    GetWindowRect(window->Handle(), &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
