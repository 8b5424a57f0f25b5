#include "toolkit/customcontrol.h"

namespace {

// Releases the canvas's DC whichever way Paint ends.
struct TCanvasScope {
    TCanvas& canvas;
    TCanvasScope(TCanvas& c, HDC dc, const TFont& font) : canvas(c)
    {
        canvas.SetHandle(dc);
        canvas.Font().Assign(font);
    }
    ~TCanvasScope() { canvas.SetHandle(nullptr); }
};

}  // namespace

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvasScope scope(canvas_, dc, Font());
    Paint();
}

void TCustomControl::Paint()
{
    canvas_.Brush().SetColor(Color());
    const RECT r = ClientRect();
    canvas_.FillRect(r);
}

void TCustomControl::Repaint()
{
    if (!HandleAllocated() || !Visible() || IsLoading()) return;
    TWindowDC dc(WindowHandle());
    PaintComposed(dc.Get(), ClientRect());
}
