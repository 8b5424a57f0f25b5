// The main window's design: every control's place in design units (pixels
// at 96 dpi), relative to its parent's client area (a group box's is its
// whole rectangle; tab sheets take theirs from the page control).
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/formmain.h"
#include "engine/bytesize.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/trackbar.h"
#include "toolkit/texts.h"
#include "toolkit/textfit.h"

struct TPlace {
    const wchar_t* name;
    const wchar_t* windowClass;
    const wchar_t* parent;
    int left, top, width, height;
    bool visible;
    int tabOrder;
};

inline const TPlace kWindowed[] = {
    {L"GroupBoxMonitor", L"QuenfelWindow", L"FormMain", 3, 3, 150, 195, true, 0},
    {L"ProgressBarCPU", L"msctls_progress32", L"GroupBoxMonitor", 10, 30, 17, 125, false, 0},
    {L"ProgressBarMEM2", L"msctls_progress32", L"GroupBoxMonitor", 39, 30, 17, 125, false, 1},
    {L"GroupBoxOptimizing", L"QuenfelWindow", L"FormMain", 4, 307, 149, 38, true, 1},
    {L"ProgressBarFree2", L"msctls_progress32", L"GroupBoxOptimizing", 5, 11, 83, 11, false, 0},
    {L"PageControlSettings", L"SysTabControl32", L"FormMain", 159, 11, 331, 286, true, 2},
    {L"GroupBoxRam", L"QuenfelWindow", L"TabSheetSettings", 5, 12, 315, 65, true, 0},
    {L"TrackRAM", L"msctls_trackbar32", L"GroupBoxRam", 3, 18, 246, 35, true, 0},
    {L"GroupBoxAlarm", L"QuenfelWindow", L"TabSheetSettings", 5, 84, 315, 61, true, 1},
    {L"CheckBoxAutoOptimize", L"Button", L"GroupBoxAlarm", 10, 29, 219, 17, true, 0},
    {L"SpinEditAlarmMB", L"Edit", L"GroupBoxAlarm", 231, 26, 51, 22, true, 1},
    {L"GroupBoxMisc", L"QuenfelWindow", L"TabSheetSettings", 5, 152, 315, 54, true, 2},
    {L"SpinEditRefresh", L"Edit", L"GroupBoxMisc", 94, 20, 51, 22, true, 0},
    {L"CheckBoxAutoRun2", L"Button", L"GroupBoxMisc", 160, 21, 145, 17, true, 1},
    {L"CheckBoxAutoRun", L"Button", L"GroupBoxMisc", 160, 8, 97, 17, false, 2},
    {L"GroupBoxHotkey", L"QuenfelWindow", L"TabSheetSettings", 5, 212, 315, 44, true, 3},
    {L"HotkeyOptimize", L"msctls_hotkey32", L"GroupBoxHotkey", 10, 16, 134, 21, true, 0},
    {L"GroupBoxAreas", L"QuenfelWindow", L"TabSheetMemory", 5, 4, 315, 164, true, 0},
    {L"CheckBoxAreaWorkingSets", L"Button", L"GroupBoxAreas", 10, 15, 156, 17, true, 0},
    {L"CheckBoxAreaFileCache", L"Button", L"GroupBoxAreas", 10, 32, 156, 17, true, 1},
    {L"CheckBoxAreaFill", L"Button", L"GroupBoxAreas", 10, 49, 156, 17, true, 2},
    {L"CheckBoxAreaModified", L"Button", L"GroupBoxAreas", 10, 66, 156, 17, true, 3},
    {L"CheckBoxAreaStandbyLow", L"Button", L"GroupBoxAreas", 10, 83, 156, 17, true, 4},
    {L"CheckBoxAreaStandby", L"Button", L"GroupBoxAreas", 10, 100, 156, 17, true, 5},
    {L"CheckBoxAreaCombine", L"Button", L"GroupBoxAreas", 10, 117, 156, 17, true, 6},
    {L"GradientButtonElevate", L"QuenfelWindow", L"GroupBoxAreas", 10, 137, 185, 21, false, 7},
    {L"GroupBoxTrim", L"QuenfelWindow", L"TabSheetMemory", 5, 172, 315, 40, true, 1},
    {L"EditTrimExclude", L"Edit", L"GroupBoxTrim", 10, 14, 295, 21, true, 0},
    {L"GroupBoxInterval", L"QuenfelWindow", L"TabSheetMemory", 5, 216, 315, 40, true, 2},
    {L"SpinEditInterval", L"Edit", L"GroupBoxInterval", 94, 14, 51, 22, true, 0},
    {L"GroupBox1", L"QuenfelWindow", L"TabSheetAbout", 8, 8, 305, 217, true, 0},
    {L"GroupBox2", L"QuenfelWindow", L"GroupBox1", 16, 56, 273, 73, true, 0},
    {L"SpeedButtonOptimize", L"QuenfelWindow", L"FormMain", 3, 202, 150, 27, true, 3},
    {L"SpeedButtonSettings", L"QuenfelWindow", L"FormMain", 3, 232, 150, 20, true, 4},
    {L"GradientButton1", L"QuenfelWindow", L"FormMain", 3, 254, 150, 20, true, 5},
    {L"GradientButton2", L"QuenfelWindow", L"FormMain", 3, 276, 150, 20, true, 6},
};

// Controls drawn by their parent: no window of their own, no tab order.
struct TGraphicPlace {
    const wchar_t* name;
    const wchar_t* parent;
    int left, top, width, height;
    bool visible;
};

inline const TGraphicPlace kGraphic[] = {
    {L"SpeedButtonSettings2", L"FormMain", 219, 260, 94, 22, false},
    {L"SpeedButtonOptimize2", L"FormMain", 323, 258, 94, 22, false},
    {L"LabelCPU", L"GroupBoxMonitor", 7, 17, 22, 13, false},
    {L"LabelMEM", L"GroupBoxMonitor", 51, 17, 25, 13, false},
    {L"LabelMEMP", L"GroupBoxMonitor", 64, 16, 41, 13, true},
    {L"LabelCPUP", L"GroupBoxMonitor", 7, 160, 26, 13, false},
    {L"LabelFree", L"GroupBoxMonitor", 2, 176, 146, 17, true},
    {L"ProgressBarMEM", L"GroupBoxMonitor", 64, 30, 22, 139, true},
    {L"ProgressBarFree", L"GroupBoxOptimizing", 5, 16, 140, 11, true},
    {L"LabelSlider", L"GroupBoxRam", 259, 22, 33, 13, true},
    {L"LabelMB", L"GroupBoxAlarm", 288, 29, 16, 13, true},
    {L"LabelRefresh", L"GroupBoxMisc", 11, 23, 74, 13, true},
    {L"LabelHotkeyTaken", L"GroupBoxHotkey", 152, 20, 153, 13, false},
    {L"LabelAreaWhyWorkingSets", L"GroupBoxAreas", 170, 17, 135, 13, false},
    {L"LabelAreaWhyFileCache", L"GroupBoxAreas", 170, 34, 135, 13, false},
    {L"LabelAreaWhyFill", L"GroupBoxAreas", 170, 51, 135, 13, false},
    {L"LabelAreaWhyModified", L"GroupBoxAreas", 170, 68, 135, 13, false},
    {L"LabelAreaWhyStandbyLow", L"GroupBoxAreas", 170, 85, 135, 13, false},
    {L"LabelAreaWhyStandby", L"GroupBoxAreas", 170, 102, 135, 13, false},
    {L"LabelAreaWhyCombine", L"GroupBoxAreas", 170, 119, 135, 13, false},
    {L"LabelInterval", L"GroupBoxInterval", 11, 18, 78, 13, true},
    {L"LabelIntervalMinutes", L"GroupBoxInterval", 152, 18, 150, 13, true},
    {L"Label1", L"GroupBox1", 16, 16, 73, 16, true},
    {L"Label2", L"GroupBox1", 16, 32, 78, 16, true},
    {L"Label4", L"GroupBox2", 16, 24, 32, 13, true},
    {L"Label5", L"GroupBox2", 16, 48, 32, 13, true},
};

// Where the room made for texts puts each control: the design scaled to
// dpi, then widened and moved as the rule gives it for the texts' widths in
// the window's language and fonts (each control's own measure of its need).
// English in the designed font needs no room: the design exactly.
class TRoomForTexts {
public:
    TRoomForTexts(TFormMain& form, int dpi) : dpi_(dpi)
    {
        auto find = [&form](const wchar_t* name) { return dynamic_cast<TControl*>(form.FindComponent(name)); };
        auto overflow = [&](const wchar_t* name, int needed) {
            return Overflow(DesignOf(name).left, DesignOf(name).width, dpi, needed);
        };
        const std::wstring largest = FormatByteSize(L"1099500000000");
        TControl* free = find(L"LabelFree");
        for (const std::wstring& text : {Text(TText::WindowAvailable, {largest}), Text(TText::ReportFreed, {largest}),
                                         Text(TText::ReportNothingFreed), ErrorReportText(Text(TText::ErrorOutOfMemory)),
                                         Text(TText::ReportRefusedShort)})
            column_ = std::max(column_, overflow(L"LabelFree", free->TextWidth(text)));
        for (const wchar_t* name : kColumn) column_ = std::max(column_, overflow(name, find(name)->TextWidthNeeded()));
        std::vector<std::vector<const wchar_t*>> rows = {{L"TrackRAM", L"LabelSlider"},
                                                         {L"CheckBoxAutoOptimize", L"SpinEditAlarmMB", L"LabelMB"},
                                                         {L"LabelRefresh", L"SpinEditRefresh", L"CheckBoxAutoRun2"},
                                                         {L"HotkeyOptimize", L"LabelHotkeyTaken"}};
        std::vector<const wchar_t*> boxes = {L"GroupBoxRam", L"GroupBoxAlarm", L"GroupBoxMisc", L"GroupBoxHotkey"};
        for (const auto& [box, why] : kAreaRows) {
            rows.push_back({box, why});
            boxes.push_back(L"GroupBoxAreas");
        }
        rows.push_back({L"GradientButtonElevate"});
        rows.push_back({L"EditTrimExclude"});
        rows.push_back({L"LabelInterval", L"SpinEditInterval", L"LabelIntervalMinutes"});
        boxes.insert(boxes.end(), {L"GroupBoxAreas", L"GroupBoxTrim", L"GroupBoxInterval"});
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::vector<TFitItem> items;
            std::vector<const wchar_t*> names;
            for (const wchar_t* name : rows[r]) {
                const TDesignRect d = DesignOf(name);
                const std::wstring n = name;
                int needed = find(name)->TextWidthNeeded();
                if (n == L"LabelSlider")
                    needed = find(name)->TextWidth(Text(TText::SettingsMegabytes, {std::to_wstring(form.TrackRAM->Max())}));
                else if (n == L"LabelHotkeyTaken")
                    needed = std::max(find(name)->TextWidth(Text(TText::SettingsHotkeyTaken)),
                                      find(name)->TextWidth(Text(TText::SettingsHotkeyReserved)));
                else if (n.rfind(L"LabelAreaWhy", 0) == 0)
                    needed = std::max({find(name)->TextWidth(Text(TText::MemoryNeedsAdmin)),
                                       find(name)->TextWidth(Text(TText::MemoryNeeds64bit)),
                                       find(name)->TextWidth(Text(TText::MemoryNeedsWindows))});
                items.push_back({d.left, d.width, needed});
                names.push_back(name);
            }
            std::vector<TFitPlace> places(items.size());
            page_ = std::max({page_, FitRow(items, dpi, places), overflow(boxes[r], find(boxes[r])->TextWidthNeeded())});
            for (std::size_t i = 0; i < names.size(); ++i) rowPlaces_.emplace_back(names[i], places[i]);
        }
        page_ = std::max(page_, overflow(L"GroupBox2", find(L"GroupBox2")->TextWidthNeeded()));
    }

    int Column() const { return column_; }
    int Page() const { return page_; }

    // The control's place in pixels within its parent.
    RECT Place(const wchar_t* name) const
    {
        const TDesignRect d = DesignOf(name);
        const std::wstring n = name;
        int left = DesignToPixels(d.left, dpi_);
        int width = DesignToPixels(d.left + d.width, dpi_) - left;
        const int top = DesignToPixels(d.top, dpi_);
        const int height = DesignToPixels(d.top + d.height, dpi_) - top;
        for (const auto& [rowName, place] : rowPlaces_)
            if (n == rowName) left = place.Left, width = place.Width;
        for (const wchar_t* member : kColumn)
            if (n == member) width += column_;
        if (n == L"ProgressBarFree" || n == L"LabelFree") width += column_;
        if (n == L"LabelMEMP" || n == L"ProgressBarMEM") left += column_ / 2;
        for (const wchar_t* box : {L"GroupBoxRam", L"GroupBoxAlarm", L"GroupBoxMisc", L"GroupBoxHotkey", L"GroupBoxAreas",
                                   L"GroupBoxTrim", L"GroupBoxInterval", L"GroupBox1", L"GroupBox2", L"EditTrimExclude"})
            if (n == box) width += page_;
        if (n == L"PageControlSettings") left += column_, width += page_;
        return {left, top, left + width, top + height};
    }

private:
    struct TDesignRect {
        int left, top, width, height;
    };
    static constexpr std::pair<const wchar_t*, const wchar_t*> kAreaRows[] = {
        {L"CheckBoxAreaWorkingSets", L"LabelAreaWhyWorkingSets"}, {L"CheckBoxAreaFileCache", L"LabelAreaWhyFileCache"},
        {L"CheckBoxAreaFill", L"LabelAreaWhyFill"},               {L"CheckBoxAreaModified", L"LabelAreaWhyModified"},
        {L"CheckBoxAreaStandbyLow", L"LabelAreaWhyStandbyLow"},   {L"CheckBoxAreaStandby", L"LabelAreaWhyStandby"},
        {L"CheckBoxAreaCombine", L"LabelAreaWhyCombine"}};
    static constexpr const wchar_t* kColumn[] = {L"GroupBoxMonitor", L"SpeedButtonOptimize", L"SpeedButtonSettings",
                                                 L"GradientButton1", L"GradientButton2", L"GroupBoxOptimizing"};
    static TDesignRect DesignOf(const wchar_t* name)
    {
        for (const TPlace& p : kWindowed)
            if (std::wstring(p.name) == name) return {p.left, p.top, p.width, p.height};
        for (const TGraphicPlace& g : kGraphic)
            if (std::wstring(g.name) == name) return {g.left, g.top, g.width, g.height};
        return {};
    }

    int dpi_;
    int column_ = 0;
    int page_ = 0;
    std::vector<std::pair<std::wstring, TFitPlace>> rowPlaces_;
};
