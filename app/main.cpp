// The program entry: one copy only, then the engine, the main window and the
// message loop.
#include <windows.h>

#include <memory>
#include <string>

#include "app/enginescope.h"
#include "app/formmain.h"
#include "app/singleinstance.h"
#include "controls/trayicon.h"
#include "toolkit/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Held for the life of the process: the lock goes away with it.
    static TSingleInstance instance(L"Quenfel");
    if (instance.AlreadyRunning()) {
        ShowAlreadyRunningWarning();
        return 0;
    }

    try {
        Application->Initialize();
        Application->SetTitle(L"Quenfel");

        // Frees the window before the engine however this block ends.
        TEngineScope engine;

        TFormMain* formMain = nullptr;
        Application->CreateForm(formMain);

        if (StartsInTray(GetCommandLineW())) {
            formMain->TrayIcon->SetActive(true);
            Application->SetShowMainForm(false);
        }
        Application->Run();
        return 0;
    } catch (const Exception& error) {
        MessageBoxW(nullptr, ErrorReportText(error.Message()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, FromUtf8(error.what()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    }
    return 1;
}
