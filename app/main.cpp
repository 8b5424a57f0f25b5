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
        Application->Initialize();
        Application->SetTitle(L"Quenfel");

        auto engine = std::make_unique<TMem>();
        Mem = engine.get();

        TFormMain* formMain = nullptr;
        Application->CreateForm(formMain);

        if (StartsInTray(GetCommandLineW())) {
            formMain->TrayIcon->SetActive(true);
            Application->SetShowMainForm(false);
        }
        Application->Run();
        // The window goes first, so nothing calls the engine once it is freed.
        formMain->Free();
        Mem = nullptr;
        return 0;
    } catch (const Exception& error) {
        MessageBoxW(nullptr, ErrorReportText(error.Message()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, FromUtf8(error.what()).c_str(), L"Quenfel", MB_OK | MB_ICONERROR);
    }
    return 1;
}
