// TGroupBox: an etched frame with a caption that holds other controls. Its
// children are placed relative to its whole rectangle (frame and caption
// included); aligned children fill the area inside the frame, below the caption.
#pragma once

#include "toolkit/customcontrol.h"

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);

    void AdjustClientRect(RECT& rect) override;
    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    int TextWidthNeeded() const override;
    long AccessibleRole() const override;

protected:
    void Paint() override;
    void TextChanged() override;
};
