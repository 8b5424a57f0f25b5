// Small controls the toolkit tests build their forms from.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/customcontrol.h"
#include "toolkit/forms.h"

// A graphic control that fills itself (and a margin beyond, to prove clipping)
// with its colour.
class TSwatch : public TGraphicControl {
public:
    explicit TSwatch(TComponent* owner) : TGraphicControl(owner)
    {
        SetControlStyle(ControlStyle() | csOpaque);
        SetBounds(0, 0, 40, 40);
    }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect({-10, -10, Width() + 10, Height() + 10});
    }
};

// A windowed control that paints its colour and can take the focus.
class TPanelControl : public TCustomControl {
public:
    explicit TPanelControl(TComponent* owner) : TCustomControl(owner)
    {
        SetBounds(0, 0, 50, 30);
        SetTabStop(true);
    }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TCustomControl::Paint();
    }
};

// A shown form at a known place, for tests that need real windows.
inline TForm* NewShownForm(int width = 400, int height = 300)
{
    auto* form = new TForm(nullptr);
    form->SetPosition(TPosition::poDesigned);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBounds(60, 60, width, height);
    form->SetColor(clWhite);
    form->Show();
    return form;
}
