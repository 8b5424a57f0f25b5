// The memory engine: reads the memory status and frees physical memory by
// taking blocks, writing every byte and giving them back. It knows no window:
// the window binds its events and hands it the call that processes pending
// messages.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "engine/memfigures.h"
#include "engine/memorydivisionreading.h"
#include "toolkit/object.h"
#include "toolkit/registry.h"

using TBlockEvent = std::function<void(TObject* sender, std::int32_t index)>;

// Where a release run takes its blocks. Allocate returns nullptr when no
// memory is left; Free gives back what Allocate returned.
struct TBlockSource {
    std::function<void*(std::size_t size)> Allocate;
    std::function<void(void* block)> Free;
};

// The process heap.
TBlockSource ProcessHeapBlocks();

// GlobalMemoryStatusEx, in full 64-bit figures.
TMemoryStatus SystemMemoryStatus();

class TMem : public TObject {
public:
    static constexpr std::size_t BlockSize = 1'049'172;

    TMem();
    ~TMem() override;

    bool IsWindowsNT() const;
    // The 9x family's CPU usage in percent; 0 where the statistics do not
    // exist (the NT family). A statistics value of the wrong type or size
    // raises ERegistryException.
    std::int32_t GetCpuUsage() const;

    // Takes a new snapshot from StatusSource and keeps it in Status().
    const TMemoryStatus& ReadStatus();
    const TMemoryStatus& Status() const noexcept { return status_; }
    // ReadStatus, converted by BytesToMegabytes.
    void GetStatus(MemoryReadings& readings);
    // Reads the memory lists from ListSource and divides the snapshot
    // ReadStatus took last; keeps the result in Division().
    const TMemoryDivision& ReadDivision();
    const TMemoryDivision& Division() const noexcept { return division_; }

    // Whether the machine-wide Run key holds a non-empty "Tarvesk" entry.
    // Opens the key read-only, so it answers without administrator rights.
    bool MachineAutorunRegistered() const;
    // Writes (or deletes) that entry: this program's full path. Raises
    // EOSError when the key cannot be opened for writing.
    void SetMachineAutorun(bool enable);

    // Takes count blocks of BlockSize bytes, zero-filling each as it is taken,
    // then gives them all back in the same order. Fires OnBlockAllocated and
    // OnBlockReleased (0-based index) per block, and calls ProcessMessages
    // between blocks. A negative count raises ERangeError before anything is
    // taken; when memory runs out, every block taken so far is given back
    // before EOutOfMemory leaves.
    void ReleaseMemory(std::int32_t count);

    // Replaceable so that a test can present any machine.
    std::function<TMemoryStatus()> StatusSource = SystemMemoryStatus;
    // Unset: the lists are not known (dsNone).
    std::function<TMemoryListReading()> ListSource = SystemMemoryLists;
    TBlockSource BlockSource = ProcessHeapBlocks();
    // Handles every queued message and returns; unset means none is handled.
    std::function<void()> ProcessMessages;
    // A run calls ProcessMessages after its first block and then after any
    // block that ends at least this long after the previous call (zero: after
    // every block).
    std::chrono::milliseconds MessageInterval{10};
    TBlockEvent OnBlockAllocated;
    TBlockEvent OnBlockReleased;

private:
    TRegistry statistics_; // the 9x performance statistics; stays unopened on NT
    TMemoryStatus status_;
    TMemoryDivision division_;
};
