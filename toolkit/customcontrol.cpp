#include "toolkit/customcontrol.h"

namespace {

// Releases the canvas's DC whichever way Paint ends.
struct TCanvasScope {
    TCanvas& canvas;
    TCanvasScope(TCanvas& c, HDC dc, const TControl& control) : canvas(c)
    {
        canvas.SetHandle(dc);
        canvas.Font().Assign(control.Font());
        canvas.Font().SetColor(control.ShownFontColor());
    }
    ~TCanvasScope() { canvas.SetHandle(nullptr); }
};

}  // namespace

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvasScope scope(canvas_, dc, *this);
    Paint();
}

void TCustomControl::Paint()
{
    canvas_.Brush().SetColor(ShownColor());
    const RECT r = ClientRect();
    canvas_.FillRect(r);
}

void TCustomControl::Repaint()
{
    if (!HandleAllocated() || !Visible() || IsLoading()) return;
    TWindowDC dc(WindowHandle());
    PaintComposed(dc.Get(), ClientRect());
}
