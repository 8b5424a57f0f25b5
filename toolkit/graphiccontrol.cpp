#include "toolkit/control.h"

#include "toolkit/errors.h"
#include "toolkit/wincontrol.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl()
{
    // Nothing else would paint over the area the control covered.
    if (Parent() != nullptr && Parent()->HandleAllocated()) {
        const RECT r = BoundsRect();
        InvalidateRect(Parent()->WindowHandle(), &r, TRUE);
    }
}

void TGraphicControl::PaintTo(HDC dc)
{
    struct TRelease {
        TCanvas& canvas;
        ~TRelease() { canvas.SetHandle(nullptr); }
    } release{canvas_};
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.Font().SetColor(ShownFontColor());
    Paint();
}

void TGraphicControl::Repaint()
{
    if (!Visible() || IsLoading()) return;
    if (Parent() == nullptr) throw EInvalidOperation(FormatMessageText(L"Control '%s' has no parent window", Name()));
    if (!Parent()->HandleAllocated()) return;  // painted with the window when it first shows
    if (!(ControlStyle() & csOpaque)) {
        // The parent's background must show through: let the parent paint the area now.
        Invalidate();
        Parent()->Update();
        return;
    }
    TWindowDC dc(Parent()->WindowHandle());
    TSavedDC saved(dc.Get());
    IntersectClipRect(dc.Get(), Left(), Top(), Left() + Width(), Top() + Height());
    OffsetViewportOrgEx(dc.Get(), Left(), Top(), nullptr);
    PaintTo(dc.Get());
}
