#include "toolkit/trackbar.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/messages.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    // The track bar drags its thumb under its own capture.
    SetControlStyle(csClickEvents | csDoubleClicks);
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

LRESULT TTrackBar::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleAllocated() ? SendMessageW(WindowHandle(), message, wParam, lParam) : 0;
}

void TTrackBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = TRACKBAR_CLASSW;
    p.SystemClass = true;
    p.CommonControlClasses = ICC_BAR_CLASSES;
    p.Style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendThumbLength();
    Send(TBM_SETLINESIZE, 0, lineSize_);
    Send(TBM_SETPAGESIZE, 0, pageSize_);
    Send(TBM_SETRANGEMIN, FALSE, min_);
    Send(TBM_SETRANGEMAX, FALSE, max_);
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    Send(TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max)
{
    min_ = min;
    max_ = max;
    Send(TBM_SETRANGEMIN, FALSE, min_);
    Send(TBM_SETRANGEMAX, TRUE, max_);
    // Automatic ticks are laid out for the range they were made with.
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    const int pushed = std::clamp(position_, min_, max_);
    if (pushed != position_) {
        position_ = pushed;
        Send(TBM_SETPOS, TRUE, position_);
        Changed();
    }
}

void TTrackBar::SetMin(int value)
{
    if (value == min_ || value > max_) return;
    SetRange(value, max_);
}

void TTrackBar::SetMax(int value)
{
    if (value == max_ || value < min_) return;
    SetRange(min_, value);
}

void TTrackBar::SetPosition(int value)
{
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    Send(TBM_SETPOS, TRUE, position_);
    Changed();
}

void TTrackBar::SetLineSize(int value)
{
    if (value == lineSize_) return;
    lineSize_ = value;
    Send(TBM_SETLINESIZE, 0, lineSize_);
}

void TTrackBar::SetPageSize(int value)
{
    if (value == pageSize_) return;
    pageSize_ = value;
    Send(TBM_SETPAGESIZE, 0, pageSize_);
}

void TTrackBar::SetFrequency(int value)
{
    if (value == frequency_) return;
    frequency_ = value;
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetThumbLength(int value)
{
    if (value == thumbLength_) return;
    thumbLength_ = value;
    SendThumbLength();
}

void TTrackBar::SendThumbLength()
{
    // A design length, in pixels for the form's dpi.
    Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(ScaleDesign(thumbLength_)), 0);
}

void TTrackBar::DpiChanged(int)
{
    SendThumbLength();
}

void TTrackBar::Changed()
{
    if (!IsLoading()) Fire(OnChange, this);
}

void TTrackBar::WndProc(TMessage& m)
{
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        position_ = static_cast<int>(Send(TBM_GETPOS, 0, 0));
        Changed();
        m.Result = 0;
        return;
    }
    if (m.Msg == CN_NOTIFY && reinterpret_cast<const NMHDR*>(m.LParam)->code == NM_CUSTOMDRAW && DarkTheme()) {
        m.Result = DrawDarkPart(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
        return;
    }
    TWinControl::WndProc(m);
}

LRESULT TTrackBar::DrawDarkPart(const NMCUSTOMDRAW& draw)
{
    // The channel and the thumb in the dark colours; the tick marks, which
    // the system draws in the text colour of the face, stay its own.
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    RECT part = draw.rc;
    if (draw.dwItemSpec == TBCD_CHANNEL) {
        FillThemed(draw.hdc, part, COLOR_WINDOW);
        DrawThemedEdge(draw.hdc, part, EDGE_SUNKEN, BF_RECT);
        return CDRF_SKIPDEFAULT;
    }
    if (draw.dwItemSpec == TBCD_THUMB) {
        DrawThemedButtonFrame(draw.hdc, part, (draw.uItemState & CDIS_SELECTED) != 0);
        return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}
