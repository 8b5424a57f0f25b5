// The reading of the memory lists, behind the memory boundary: the one place
// that asks Windows how physical memory divides. Needs no administrator
// rights; only changing the lists does (engine/systemmemory.h).
#pragma once

#include "engine/memorydivision.h"

// The memory lists from the memory-list information class, else from the
// performance counters, else none (dsNone: Windows does not give the
// division, as under Wine, which has neither). The memory-list class, once
// refused, and counters that could not all be opened are not asked again for
// the life of the process. The counters' library loads at the first reading
// that needs it, never at start. For one thread only: the window's.
TMemoryListReading SystemMemoryLists() noexcept;
