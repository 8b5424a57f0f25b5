// TTrackBar: the system track bar, horizontal, ticks below the channel at
// every Frequency units, a fixed-length thumb. OnChange runs for every scroll
// notification from the user (keys, mouse, wheel) and for every change made
// by code that moves the position: setting Position, or a Min or Max that
// pushes the position into the new range (once). Nothing runs while loading.
#pragma once

#include <functional>
#include <string>

#include "toolkit/wincontrol.h"

#include <commctrl.h>

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);

    int Min() const noexcept { return min_; }
    // Ignored when above Max.
    void SetMin(int value);
    int Max() const noexcept { return max_; }
    // Ignored when below Min.
    void SetMax(int value);
    int Position() const noexcept { return position_; }
    // Clamped into Min..Max.
    void SetPosition(int value);
    // Arrow keys move by LineSize; Page Up/Down and clicks in the channel by PageSize.
    int LineSize() const noexcept { return lineSize_; }
    void SetLineSize(int value);
    int PageSize() const noexcept { return pageSize_; }
    void SetPageSize(int value);
    // A tick mark every Frequency units.
    int Frequency() const noexcept { return frequency_; }
    void SetFrequency(int value);
    int ThumbLength() const noexcept { return thumbLength_; }
    // In design units (pixels at 96 dpi).
    void SetThumbLength(int value);
    void DpiChanged(int dpi) override;

    TNotifyEvent OnChange;

    // The position as a screen reader reads it; the number alone when unset.
    std::function<std::wstring(int position)> ValueText;
    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    long AccessibleRole() const override;
    std::wstring AccessibleName() const override { return AccessibleLabel(); }
    std::wstring AccessibleValue() const override;

protected:
    virtual void Changed();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    // A part of the dark theme's slider, asked for by NM_CUSTOMDRAW.
    LRESULT DrawDarkPart(const NMCUSTOMDRAW& draw);
    void SetRange(int min, int max);
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    void SendThumbLength();

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int lineSize_ = 1;
    int pageSize_ = 2;
    int frequency_ = 1;
    int thumbLength_ = 20;
};
