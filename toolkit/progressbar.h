// TProgressBar: the system progress bar. Min, Max and Position are 32-bit; a
// range with Min above Max is ignored and Position is kept inside the range.
#pragma once

#include "toolkit/progressorientation.h"
#include "toolkit/wincontrol.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const noexcept { return min_; }
    void SetMin(int value);
    int Max() const noexcept { return max_; }
    void SetMax(int value);
    int Position() const noexcept { return position_; }
    void SetPosition(int value);
    int Step() const noexcept { return step_; }
    void SetStep(int value) { step_ = value; }
    // Adds Step (or delta) to the position; past Max it starts over from Min
    // as the system bar does.
    void StepIt();
    void StepBy(int delta);

    TProgressBarOrientation Orientation() const noexcept { return orientation_; }
    void SetOrientation(TProgressBarOrientation value);
    // A continuous bar instead of blocks.
    bool Smooth() const noexcept { return smooth_; }
    void SetSmooth(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    DWORD BarStyle() const;
    void UpdateStyle();
    void SetRange(int min, int max);

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
    bool smooth_ = false;
};
