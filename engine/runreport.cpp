#include "engine/runreport.h"

#include "engine/bytesize.h"

std::wstring RunReportText(std::uint64_t availBefore, std::uint64_t availAfter)
{
    // Compared before subtracting: the figures are unsigned, and other
    // programs may well have taken more than the run gave back.
    if (availAfter <= availBefore) return Text(TText::ReportNothingFreed);
    return Text(TText::ReportFreed, {FormatByteSize(std::to_wstring(availAfter - availBefore))});
}

TText AreaCaption(TMemoryArea area) noexcept
{
    switch (area) {
    case TMemoryArea::maFill: return TText::MemoryFill;
    case TMemoryArea::maWorkingSets: return TText::MemoryWorkingsets;
    case TMemoryArea::maFileCache: return TText::MemoryFilecache;
    case TMemoryArea::maModified: return TText::MemoryModified;
    case TMemoryArea::maStandbyLow: return TText::MemoryStandbylow;
    case TMemoryArea::maStandby: return TText::MemoryStandby;
    case TMemoryArea::maCombine: return TText::MemoryCombine;
    }
    return TText::MemoryFill;
}

TRunReport RunReport(std::uint64_t availBefore, std::uint64_t availAfter, const std::vector<TMemoryArea>& refused)
{
    TRunReport report;
    const std::wstring freed = RunReportText(availBefore, availAfter);
    report.Lines.push_back(freed);
    if (refused.empty()) {
        report.Full = freed;
        return report;
    }
    std::wstring names;
    for (TMemoryArea area : refused) {
        if (!names.empty()) names += L", ";
        names += Text(AreaCaption(area));
    }
    report.Full = Text(TText::ReportRefused, {freed, names});
    report.Lines.push_back(Text(TText::ReportRefusedShort));
    return report;
}
