// TCustomControl: a windowed control that draws its own face. Override
// Paint() and draw on Canvas() (client coordinates). The framework calls
// Paint for WM_PAINT and WM_PRINTCLIENT, and Repaint() calls it at once; each
// time the face and the graphic children are composed off-screen and reach
// the window in one copy. Background erasing is answered "handled", so Paint
// must cover the whole client area.
//
//   class TDial : public TCustomControl {
//   public:
//       explicit TDial(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 40, 40); SetTabStop(true); }
//   protected:
//       void Paint() override { Canvas().Brush().SetColor(clWhite); Canvas().FillRect(ClientRect()); /* draw */ }
//   };
#pragma once

#include "toolkit/wincontrol.h"

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);

    // Valid while Paint() runs.
    TCanvas& Canvas() noexcept { return canvas_; }

    // Paints at once on the window's DC (when the window exists and shows).
    void Repaint() override;

protected:
    // The default fills the client area with Color.
    virtual void Paint();
    void PaintWindow(HDC dc) override;

private:
    TCanvas canvas_;
};
