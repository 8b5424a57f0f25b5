#include "engine/mem.h"

#include <windows.h>

#include <cstring>

#include "engine/blocktable.h"
#include "toolkit/commandline.h"
#include "toolkit/errors.h"
#include "toolkit/modulepath.h"
#include "toolkit/oserror.h"

namespace {

constexpr wchar_t kMachineRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMachineRunValue[] = L"Tarvesk";

// Called through a volatile pointer so that no compiler can prove the stores
// dead or merge allocation and zeroing into a calloc that touches no page:
// writing every byte is the point of a run.
void* (*volatile zeroFill)(void*, int, std::size_t) = std::memset;

// Calls the message handler after the first block, then whenever the interval
// has passed. Under Wine every call costs a server round trip, as much as a
// tenth of a block; at this pace the window stays live and the run stays fast.
class TMessagePacer {
public:
    TMessagePacer(const std::function<void()>& process, std::chrono::milliseconds interval)
        : process_(process), interval_(interval) {}

    void BlockDone()
    {
        if (!process_) return;
        const auto now = std::chrono::steady_clock::now();
        if (!first_ && now - last_ < interval_) return;
        first_ = false;
        process_();
        last_ = std::chrono::steady_clock::now();
    }

private:
    // A copy: a handler run from the pump may rebind the engine's call.
    std::function<void()> process_;
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point last_{};
    bool first_ = true;
};

} // namespace

TBlockSource ProcessHeapBlocks()
{
    const HANDLE heap = GetProcessHeap();
    return TBlockSource{
        [heap](std::size_t size) { return HeapAlloc(heap, 0, size); },
        [heap](void* block) { HeapFree(heap, 0, block); },
    };
}

TMemoryStatus SystemMemoryStatus()
{
    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    GlobalMemoryStatusEx(&ms);
    TMemoryStatus s;
    s.MemoryLoad = ms.dwMemoryLoad;
    s.TotalPhys = ms.ullTotalPhys;
    s.AvailPhys = ms.ullAvailPhys;
    s.TotalPageFile = ms.ullTotalPageFile;
    s.AvailPageFile = ms.ullAvailPageFile;
    s.TotalVirtual = ms.ullTotalVirtual;
    s.AvailVirtual = ms.ullAvailVirtual;
    return s;
}

TMem::TMem() : statistics_(KEY_READ)
{
    statistics_.SetRootKey(HKEY_DYN_DATA);
    statistics_.OpenKey(L"PerfStats\\StatData", false);
}

TMem::~TMem() = default;

bool TMem::IsWindowsNT() const
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::int32_t TMem::GetCpuUsage() const
{
    unsigned char bytes[4] = {};
    if (statistics_.ReadBinaryData(L"KERNEL\\CPUUsage", bytes, sizeof bytes) == 0) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
                                     | static_cast<std::uint32_t>(bytes[2]) << 16
                                     | static_cast<std::uint32_t>(bytes[3]) << 24);
}

const TMemoryStatus& TMem::ReadStatus()
{
    status_ = StatusSource ? StatusSource() : SystemMemoryStatus();
    return status_;
}

void TMem::GetStatus(MemoryReadings& readings)
{
    readings = ToReadings(ReadStatus());
}

const TMemoryDivision& TMem::ReadDivision()
{
    division_ = DivideMemory(status_, ListSource ? ListSource() : TMemoryListReading{});
    return division_;
}

bool TMem::MachineAutorunRegistered() const
{
    TRegistry machine(KEY_READ);
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!machine.OpenKeyReadOnly(kMachineRunKey)) return false;
    return !machine.ReadString(kMachineRunValue).empty();
}

void TMem::SetMachineAutorun(bool enable)
{
    TRegistry machine(KEY_SET_VALUE | KEY_QUERY_VALUE);
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!machine.OpenKey(kMachineRunKey, true)) RaiseLastOSError();
    if (enable)
        machine.WriteString(kMachineRunValue, CommandForPath(ExecutablePath()));
    else
        machine.DeleteValue(kMachineRunValue);
}

void TMem::ReleaseMemory(std::int32_t count)
{
    // The source is copied: a handler run during the run may replace it, but
    // each block must go back where it came from.
    const TBlockSource source = BlockSource.Allocate && BlockSource.Free ? BlockSource : ProcessHeapBlocks();
    TBlockTable table(count, source.Free);
    TMessagePacer pacer(ProcessMessages, MessageInterval);

    for (std::int32_t i = 0; i < count; ++i) {
        void* block = source.Allocate(BlockSize);
        if (block == nullptr) throw EOutOfMemory(); // the table gives back what it holds
        table.Add(block);
        zeroFill(block, 0, BlockSize);
        Fire(OnBlockAllocated, this, i);
        pacer.BlockDone();
    }
    for (std::int32_t j = 0; j < count; ++j) {
        table.Free(j);
        Fire(OnBlockReleased, this, j);
        pacer.BlockDone();
    }
}
