// The free memory drawn as the tray icon's picture: the percentage on a badge
// whose colour tells the level, drawn at the size the notification area asks
// for and for the taskbar's light or dark theme. Only a changed picture is
// drawn and handed to the shell.
//
//   TrayFigure = std::make_unique<TTrayFigureIcon>(*TrayIcon);
//   TrayFigure->Show(TrayFigureFor(...), ProgressBarMEM->ForeColorGrad());  // every tick
//   TrayFigure->Stop(Icon());                       // back to the program's icon
#pragma once

#include <windows.h>

#include "controls/trayfigure.h"
#include "toolkit/color.h"
#include "toolkit/handles.h"
#include "toolkit/icon.h"

class TTrayIcon;

// A 32-bit icon with alpha (and a mask for displays without it) showing look
// at exactly look.Size pixels.
TUniqueIcon CreateTrayFigureIcon(const TTrayFigureLook& look);

class TTrayFigureIcon {
public:
    // tray is not owned and must outlive this object.
    explicit TTrayFigureIcon(TTrayIcon& tray) : tray_(tray) {}
    TTrayFigureIcon(const TTrayFigureIcon&) = delete;
    TTrayFigureIcon& operator=(const TTrayFigureIcon&) = delete;

    // Shows figure as the tray icon's picture, normal being the background
    // above the level. A new picture is drawn and handed over only when the
    // figure, the colour, the icon size or the taskbar's theme changed.
    void Show(const TTrayFigure& figure, TColor normal);
    // Gives the tray icon back its still picture. Nothing when none is drawn.
    void Stop(const TIcon& still);
    bool Showing() const noexcept { return !drawn_.Empty(); }

    // The system's settings changed (WM_SETTINGCHANGE and the like): the icon
    // size is asked again, the taskbar's theme too when the message says the
    // colour set changed, and a picture on show is redrawn if they differ.
    void SystemSettingsChanged(UINT message, LPARAM lParam);

    int Size() const noexcept { return look_.Size; }
    bool LightTaskbar() const noexcept { return look_.LightTaskbar; }

private:
    void ReadSystemSettings();
    void Draw();

    TTrayIcon& tray_;
    TTrayFigureRule rule_;
    TTrayFigureLook look_;
    bool settingsRead_ = false;  // read when first shown: a start that never shows it asks nothing
    // The picture the tray shows. Held here too, so the one it replaces is
    // destroyed only after the shell has the new one.
    TIcon drawn_;
};
