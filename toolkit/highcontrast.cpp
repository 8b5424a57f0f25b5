#include "toolkit/highcontrast.h"

#include <windows.h>

namespace {

bool AskSystem()
{
    HIGHCONTRASTW info{};
    info.cbSize = sizeof(info);
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(info), &info, 0)) return false;
    return (info.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// User-interface thread only, like every paint that asks.
THighContrastSource source = &AskSystem;
bool known = false;
bool on = false;

}  // namespace

bool HighContrast()
{
    if (!known) RefreshHighContrast();
    return on;
}

void RefreshHighContrast()
{
    on = source();
    known = true;
}

void SetHighContrastSource(THighContrastSource value)
{
    source = value != nullptr ? value : &AskSystem;
}
