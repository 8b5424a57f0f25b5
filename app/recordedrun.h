// A release run with its line in the run history: timed, its free memory
// read before and after, and written down however it ends.
#pragma once

#include <cstdint>
#include <functional>

#include "settings/historyformat.h"

class TMem;

using TRunRecordSink = std::function<void(const TRunRecord& record)>;

// Runs engine.ReleaseMemory(count) and hands the run's record to record,
// also when memory runs out (then EOutOfMemory leaves after it). Returns the
// record.
TRunRecord RecordedRelease(TMem& engine, TRunTrigger trigger, std::int32_t count, const TRunRecordSink& record);
