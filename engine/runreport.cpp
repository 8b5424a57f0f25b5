#include "engine/runreport.h"

#include "engine/bytesize.h"
#include "toolkit/texts.h"

std::wstring RunReportText(std::uint64_t availBefore, std::uint64_t availAfter)
{
    // Compared before subtracting: the figures are unsigned, and other
    // programs may well have taken more than the run gave back.
    if (availAfter <= availBefore) return Text(TText::ReportNothingFreed);
    return Text(TText::ReportFreed, {FormatByteSize(std::to_wstring(availAfter - availBefore))});
}
