// The main window's interval: "Optimize every N minutes" on a timer of its
// own, whatever the monitor's refresh period, and its runs told only in the
// tray's tip.
#include "app/formmain.h"

#include <algorithm>
#include <optional>

#include "controls/trayicon.h"
#include "engine/mem.h"
#include "toolkit/application.h"
#include "toolkit/errors.h"
#include "toolkit/timer.h"

namespace {

constexpr std::uint64_t kMsPerMinute = 60'000;
// Due while a run cannot start (the settings page, a box of ours): asked
// again this often until it can.
constexpr unsigned kHeldBackRetryMs = 1'000;

} // namespace

void TFormMain::SetIntervalMinutes(std::uint32_t minutes)
{
    intervalRule_.SetInterval(minutes, Clock());
    ScheduleInterval();
}

void TFormMain::ScheduleInterval()
{
    TimerInterval->SetEnabled(false);
    const std::optional<std::uint64_t> next = intervalRule_.MsUntilNext(Clock());
    if (!next) return;
    // Next when the tip's minutes change, which is when the run is due in
    // its last minute.
    const std::uint64_t untilMinuteChanges = *next % kMsPerMinute == 0 ? kMsPerMinute : *next % kMsPerMinute;
    TimerInterval->SetInterval(
        *next == 0 ? kHeldBackRetryMs : static_cast<unsigned>(std::max<std::uint64_t>(untilMinuteChanges, 100)));
    TimerInterval->SetEnabled(true);
}

void TFormMain::TimerIntervalTimer(TObject*)
{
    if (intervalRule_.Tick(Clock(), !RunsHeldBack()))
        IntervalRun();
    else if (TrayIcon->Active())
        ShowStatus(Mem->ReadStatus());  // the tip's minutes
    ScheduleInterval();
}

void TFormMain::IntervalRun()
{
    std::optional<TRunReport> failure;
    try {
        const TRecordedRun run = RunOptimize(TRunTrigger::rtInterval, false);
        if (!run.Refused.empty())
            failure = RunReport(run.Record.FreeBeforeBytes, run.Record.FreeAfterBytes, run.Refused);
    } catch (...) {
        const std::wstring text = ErrorReportText(CurrentError().Message());
        failure = TRunReport{text, {text}};
    }
    if (!failure) {
        intervalFailureTold_ = false;
        return;
    }
    // Quiet like the alarm's, and told once until a run succeeds: the next
    // interval would only repeat it.
    if (intervalFailureTold_) return;
    intervalFailureTold_ = true;
    ShowRunReport(*failure, TBalloonStyle::bsQuiet);
}

std::wstring TFormMain::TrayTip(const std::wstring& freeText) const
{
    const std::optional<std::uint64_t> next = intervalRule_.MsUntilNext(Clock());
    if (!next) return freeText;
    const std::uint64_t minutes = (*next + kMsPerMinute - 1) / kMsPerMinute;
    return freeText + L"\n" + Text(TText::MemoryNextRun, {std::to_wstring(minutes)});
}
