// TMemoryDivisionBar: one bar across, in the four parts' colours (in use,
// modified, standby, free), with a legend under it giving each part's size.
// Where Windows does not give the division it shows in use and available.
//
//   auto* bar = CreateComponent<TMemoryDivisionBar>(form);
//   bar->SetParent(form);
//   bar->SizeText = [](std::uint64_t bytes) { return ...; };
//   bar->SetParts(parts, true);
#pragma once

#include <functional>
#include <string>

#include "controls/memoryfigures.h"
#include "toolkit/customcontrol.h"

class TMemoryDivisionBar : public TCustomControl {
public:
    explicit TMemoryDivisionBar(TComponent* owner);

    // Shows the parts (divided: all four; else in use and available) and
    // repaints when they change.
    void SetParts(const TMemoryParts& parts, bool divided);
    const TMemoryParts& Parts() const noexcept { return parts_; }
    bool Divided() const noexcept { return divided_; }

    // A byte count as the user reads it ("3.20 GB").
    std::function<std::wstring(std::uint64_t bytes)> SizeText;

    long AccessibleRole() const override;
    std::wstring AccessibleValue() const override;
    unsigned long AccessibleState() const override;

protected:
    void Paint() override;
    void GotFocus() override { Invalidate(); }
    void LostFocus() override { Invalidate(); }

private:
    TMemoryParts parts_{};
    bool divided_ = true;
};

// The parts as a reader hears them and the legend words them: "in use 3.20
// GB, modified 120.00 MB, standby 2.10 GB, free 1.50 GB", or in use and
// available.
std::wstring MemoryPartsText(const TMemoryParts& parts, bool divided,
                             const std::function<std::wstring(std::uint64_t)>& sizeText);
// A part's name in the legend; the free part is "Available" when undivided.
std::wstring MemoryPartName(int part, bool divided);
// Paints one part's stretch of a bar or an area into bitmap: its colour, and
// under high contrast its stripes.
class TBitmap;
void FillMemoryPart(TBitmap& bitmap, const RECT& area, int part);
