// TCustomControl: a windowed control that draws its own face. Override
// Paint() and draw on Canvas() (client coordinates). The framework calls
// Paint for WM_PAINT and WM_PRINTCLIENT; Repaint() calls it at once on the
// window's DC. Background erasing is answered "handled": Paint must cover the
// whole client area (compose it in a TBitmap and copy it in one go), which is
// what keeps the control from flickering.
//
//   class TDial : public TCustomControl {
//   public:
//       explicit TDial(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 40, 40); SetTabStop(true); }
//   protected:
//       void Paint() override { TBitmap b; b.SetSize(Width(), Height()); /* draw */ Canvas().Draw(0, 0, b); }
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
    void WndProc(TMessage& message) override;

private:
    TCanvas canvas_;
};
