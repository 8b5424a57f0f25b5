// The main window's word that a portable copy's folder keeps neither its
// settings nor its run history (a read-only stick, Program Files): each said
// once, quietly, like a run's report; the program goes on without them.
#include "app/formmain.h"

#include "controls/trayicon.h"
#include "toolkit/label.h"
#include "toolkit/texts.h"
#include "toolkit/timer.h"

void TFormMain::TellNotKept()
{
    // Not yet while nothing of the program shows, nor over a run's report
    // still on the label.
    if (!TrayIcon->Active() && (!Visible() || TimerReport->Enabled())) return;
    if (settingsNotKeptUntold_) {
        settingsNotKeptUntold_ = false;
        ShowRunReport(Text(TText::ReportSettingsNotKept), TBalloonStyle::bsQuiet);
    } else if (historyNotKeptUntold_) {
        historyNotKeptUntold_ = false;
        ShowRunReport(Text(TText::ReportHistoryNotKept), TBalloonStyle::bsQuiet);
    }
}
