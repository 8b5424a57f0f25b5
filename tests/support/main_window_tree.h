// The main window's accessible tree as a screen reader should find it, with
// every figure (which depends on the machine) written "#". For
// accessible_tree::Read after WithoutFigures.
#pragma once

#include <regex>
#include <string>
#include <vector>

namespace main_window_tree {

using Lines = std::vector<std::wstring>;

inline Lines WithoutFigures(const Lines& lines)
{
    static const std::wregex figure(L"[0-9][0-9.,]*( ?[KMGT]?B)?");
    Lines out;
    for (const auto& l : lines) out.push_back(std::regex_replace(l, figure, L"#"));
    return out;
}

inline const Lines kMonitor = {
    L"client \"Quenfel ver #\"",
    L"  grouping \"Memory Monitor\"",
    L"    static text \"#%\"",
    L"    static text \"# Available\"",
    L"    progress bar \"Memory Monitor\" value=#%",
    L"  grouping \"Optimizing\" offscreen",
    L"    progress bar \"Optimizing\" value=#% offscreen",
};

inline const Lines kSettingsPage = {
    L"  page tab list \"Settings\"",
    L"    property page \"Settings\"",
    L"      grouping \"Select RAM to Free\"",
    L"        static text \"#\"",
    L"        slider \"Select RAM to Free\" value=#",
    L"      grouping \"Alarm Level\"",
    L"        static text \"MB\"",
    L"        check button \"Automatic RAM Optimization when reach\" action=Check",
    L"        spin box \"Alarm Level\" value=#",
    L"          client \"\"",
    L"            push button \"Up\" action=Press",
    L"            push button \"Down\" action=Press",
    L"      grouping \"Misc\"",
    L"        static text \"Refresh (in sec)\"",
    L"        spin box \"Refresh (in sec)\" value=#",
    L"          client \"\"",
    L"            push button \"Up\" action=Press",
    L"            push button \"Down\" action=Press",
    L"        check button \"Autorun on Windows start\" action=Check",
    L"      grouping \"Optimize Now hotkey\"",
    L"        hot key field \"Optimize Now hotkey\" value=Control + Shift + Alt + F#",
};

// The buttons; the settings page being open disables "Optimize Now".
inline Lines Buttons(bool settingsOpen)
{
    return {
        std::wstring(L"  push button \"Optimize Now\" action=Press key=Alt+O") + (settingsOpen ? L" unavailable" : L""),
        L"  push button \"Settings Menu\" action=Press key=Alt+S",
        L"  push button \"Minimize Tray\" action=Press",
        L"  push button \"Check for Latest Update\" action=Press",
    };
}

inline Lines Expected(bool settingsOpen)
{
    Lines out = kMonitor;
    if (settingsOpen) out.insert(out.end(), kSettingsPage.begin(), kSettingsPage.end());
    const Lines buttons = Buttons(settingsOpen);
    out.insert(out.end(), buttons.begin(), buttons.end());
    return out;
}

}  // namespace main_window_tree
