// The program entry: one copy only, then the engine, the main window and the
// message loop; or, with /optimize, one unattended run.
#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/enginescope.h"
#include "app/formmain.h"
#include "app/language.h"
#include "app/optimizerequest.h"
#include "app/productinfo.h"
#include "app/scheduledrun.h"
#include "app/singleinstance.h"
#include "settings/settingsstore.h"
#include "toolkit/elevation.h"
#include "toolkit/application.h"
#include "toolkit/modulepath.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The copy that started this one with administrator rights may still
    // be saving its settings: nothing is read until it has ended, and it
    // holds the lock until then.
    const std::optional<TTakeover> takeover = StartsTakingOver(GetCommandLineW());
    if (takeover) WaitForProcessEnd(takeover->ProcessId, std::chrono::seconds(15));
    // Before any value is read: a settings file beside the program makes
    // this copy portable.
    try {
        UsePortableStoreIfPresent(ExecutableFolder());
    } catch (...) {
        // A program that cannot find its own file keeps its settings in the
        // registry.
    }
    // Before any text is shown, the warning of a second copy's included.
    SpeakChosenLanguage();
    const bool optimizeOnce = StartsOptimizing(GetCommandLineW());
    // Held for the life of the process: the lock goes away with it.
    static TSingleInstance instance(L"Quenfel");
    if (instance.AlreadyRunning()) {
        if (!optimizeOnce) {
            ShowAlreadyRunningWarning();
            return 0;
        }
        // A scheduled run is unattended: the running copy does the work, and
        // no box waits for a click. A task with the highest rights runs
        // itself where that copy lacks them.
        const TRequestAnswer answer =
            RequestRunningCopyOptimize(std::chrono::seconds(10), {ProcessIsElevated(), ProcessIdIsElevated});
        if (answer == TRequestAnswer::raSent) return kScheduledRunDone;
        if (answer == TRequestAnswer::raFailed) return kScheduledRunFailed;
    }
    if (optimizeOnce) {
        // A user starting the program meanwhile must not be told it runs.
        instance.Release();
        try {
            TMem engine;
            return RunScheduledOptimize(engine);
        } catch (...) {
            return kScheduledRunFailed;
        }
    }

    try {
        Application->Initialize();
        Application->SetTitle(ApplicationTitle);

        // Frees the window before the engine however this block ends.
        TEngineScope engine;

        TFormMain* formMain = nullptr;
        Application->CreateForm(formMain);

        if (takeover) formMain->TakeOver(takeover->Left, takeover->Top);
        if (StartsInTray(GetCommandLineW())) {
            formMain->ShowInTray();
            Application->SetShowMainForm(false);
        }
        Application->Run();
        return 0;
    } catch (const Exception& error) {
        ShowMessageBox(nullptr, ErrorReportText(error.Message()), L"Quenfel", MB_OK | MB_ICONERROR);
    } catch (const std::exception& error) {
        ShowMessageBox(nullptr, FromUtf8(error.what()), L"Quenfel", MB_OK | MB_ICONERROR);
    }
    return 1;
}
