// TLabel: static text drawn on its parent's surface, transparent over it.
// With AutoSize (the default) it sizes itself to its text; "&" marks an
// accelerator letter (underlined; "&&" shows one "&").
#pragma once

#include "toolkit/control.h"

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    bool AutoSize() const noexcept { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(TAlignment value);
    // Off: the parent's background shows through (the default).
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const noexcept { return wordWrap_; }
    void SetWordWrap(bool value);

    void Loaded() override;

    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    int TextWidthNeeded() const override;
    long AccessibleRole() const override;
    unsigned long AccessibleState() const override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    UINT DrawFlags() const;

    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = true;
    bool wordWrap_ = false;
};
