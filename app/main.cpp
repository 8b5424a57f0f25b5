// The program entry: one copy only, then the engine, the main window and the
// message loop.
#include <windows.h>

#include <memory>
#include <string>

#include "app/formmain.h"
#include "app/singleinstance.h"
#include "controls/trayicon.h"
#include "engine/mem.h"
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
        TApplication application;
        Application = &application;
        application.Initialize();
        application.SetTitle(L"Quenfel");

        auto engine = std::make_unique<TMem>();
        Mem = engine.get();

        TFormMain* formMain = nullptr;
        application.CreateForm(formMain);

        if (StartsInTray(GetCommandLineW())) {
            formMain->TrayIcon->SetActive(true);
            application.SetShowMainForm(false);
        }
        application.Run();
        // The window dies with the application; the engine after it.
        Application = nullptr;
        Mem = nullptr;
        return 0;
    } catch (const Exception& error) {
        MessageBoxW(nullptr, ErrorReportText(error.Message()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, FromUtf8(error.what()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    }
    return 1;
}
