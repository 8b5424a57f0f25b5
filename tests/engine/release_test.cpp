#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "engine/mem.h"
#include "toolkit/errors.h"

namespace {

// Records events and message pumps in the order they happen.
struct Recorder {
    std::vector<std::string> log;

    void Bind(TMem& mem)
    {
        mem.OnBlockAllocated = [this, &mem](TObject* sender, std::int32_t i) {
            EXPECT_EQ(sender, &mem);
            log.push_back("A" + std::to_string(i));
        };
        mem.OnBlockReleased = [this, &mem](TObject* sender, std::int32_t i) {
            EXPECT_EQ(sender, &mem);
            log.push_back("R" + std::to_string(i));
        };
        mem.ProcessMessages = [this] { log.push_back("P"); };
    }
};

using Log = std::vector<std::string>;

// A fixed region of address space that blocks are committed in and
// decommitted from: real memory, with a limit that cannot reach the machine.
class FixedRegion {
public:
    explicit FixedRegion(std::size_t blocks) : used_(blocks, false)
    {
        base_ = static_cast<char*>(VirtualAlloc(nullptr, blocks * kSlot, MEM_RESERVE, PAGE_NOACCESS));
    }
    ~FixedRegion() { VirtualFree(base_, 0, MEM_RELEASE); }

    TBlockSource Source()
    {
        return TBlockSource{
            [this](std::size_t size) -> void* {
                for (std::size_t i = 0; i < used_.size(); ++i) {
                    if (used_[i] || size > kSlot) continue;
                    void* block = VirtualAlloc(base_ + i * kSlot, size, MEM_COMMIT, PAGE_READWRITE);
                    if (block == nullptr) return nullptr;
                    used_[i] = true;
                    ++allocations;
                    return block;
                }
                return nullptr;
            },
            [this](void* block) {
                const std::size_t i = static_cast<std::size_t>(static_cast<char*>(block) - base_) / kSlot;
                EXPECT_TRUE(used_[i]) << "block given back twice";
                VirtualFree(block, kSlot, MEM_DECOMMIT);
                used_[i] = false;
                freeOrder.push_back(i);
            },
        };
    }

    std::size_t Held() const
    {
        std::size_t n = 0;
        for (bool u : used_) n += u;
        return n;
    }

    int allocations = 0;
    std::vector<std::size_t> freeOrder;

private:
    static constexpr std::size_t kSlot = 2u << 20;
    char* base_ = nullptr;
    std::vector<bool> used_;
};

std::size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

// Takes every free range of address space except one hole of about the given
// size, and gives it all back when it goes.
class AddressSpaceHog {
public:
    explicit AddressSpaceHog(std::size_t hole)
    {
        for (std::size_t size = std::size_t{1} << 31; size >= 0x10000;) {
            if (void* p = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS))
                taken_.push_back(p);
            else
                size /= 2;
        }
        std::size_t freed = 0;
        while (freed < hole && !taken_.empty()) {
            MEMORY_BASIC_INFORMATION info{};
            VirtualQuery(taken_.back(), &info, sizeof info);
            VirtualFree(taken_.back(), 0, MEM_RELEASE);
            freed += info.RegionSize;
            taken_.pop_back();
        }
    }
    ~AddressSpaceHog()
    {
        for (void* p : taken_) VirtualFree(p, 0, MEM_RELEASE);
    }

private:
    std::vector<void*> taken_;
};

} // namespace

TEST(ReleaseMemory, FiresEveryAllocationThenEveryReleaseInOrder)
{
    TMem mem;
    mem.MessageInterval = std::chrono::milliseconds(0);
    Recorder rec;
    rec.Bind(mem);

    mem.ReleaseMemory(0);
    EXPECT_EQ(rec.log, Log{});

    mem.ReleaseMemory(1);
    EXPECT_EQ(rec.log, (Log{"A0", "P", "R0", "P"}));

    rec.log.clear();
    mem.ReleaseMemory(3);
    EXPECT_EQ(rec.log, (Log{"A0", "P", "A1", "P", "A2", "P", "R0", "P", "R1", "P", "R2", "P"}));

    // The bindings stay for the next run; unbound events are skipped.
    mem.OnBlockAllocated = nullptr;
    mem.ProcessMessages = nullptr;
    rec.log.clear();
    mem.ReleaseMemory(2);
    EXPECT_EQ(rec.log, (Log{"R0", "R1"}));
}

TEST(ReleaseMemory, PumpsAfterTheFirstBlockThenAtTheGivenPace)
{
    TMem mem;
    mem.MessageInterval = std::chrono::hours(1);
    Recorder rec;
    rec.Bind(mem);
    mem.ReleaseMemory(3);
    EXPECT_EQ(rec.log, (Log{"A0", "P", "A1", "A2", "R0", "R1", "R2"}));
}

TEST(ReleaseMemory, BlocksGoBackInTheOrderTheyWereTaken)
{
    FixedRegion region(4);
    TMem mem;
    mem.BlockSource = region.Source();
    mem.ReleaseMemory(3);
    EXPECT_EQ(region.freeOrder, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(region.Held(), 0u);
}

TEST(ReleaseMemory, ANegativeCountIsARangeErrorBeforeAnythingIsTaken)
{
    FixedRegion region(2);
    TMem mem;
    mem.BlockSource = region.Source();
    Recorder rec;
    rec.Bind(mem);
    try {
        mem.ReleaseMemory(-1);
        FAIL() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), L"Range check error");
    }
    EXPECT_EQ(region.allocations, 0);
    EXPECT_EQ(rec.log, Log{});
}

TEST(ReleaseMemory, WritesZeroOverEveryByteOfEveryBlock)
{
    // A source that hands out dirty memory: only the run's own writing makes
    // it zero.
    TMem mem;
    const TBlockSource heap = ProcessHeapBlocks();
    mem.BlockSource.Allocate = [&](std::size_t size) {
        void* block = heap.Allocate(size);
        if (block != nullptr) std::memset(block, 0xCD, size);
        return block;
    };
    std::vector<unsigned char*> blocks;
    auto allocate = mem.BlockSource.Allocate;
    mem.BlockSource.Allocate = [&, allocate](std::size_t size) {
        void* block = allocate(size);
        blocks.push_back(static_cast<unsigned char*>(block));
        return block;
    };
    mem.OnBlockAllocated = [&](TObject*, std::int32_t i) {
        const unsigned char* b = blocks[static_cast<std::size_t>(i)];
        std::size_t nonZero = 0;
        for (std::size_t k = 0; k < TMem::BlockSize; ++k) nonZero += b[k] != 0;
        EXPECT_EQ(nonZero, 0u) << "block " << i;
    };
    mem.ReleaseMemory(2);
}

TEST(ReleaseMemory, TouchesEveryPageWhileTheBlocksAreHeld)
{
    // Fresh blocks from the process heap cost no working set until written;
    // a zero fill that the compiler turned into a no-op would show no growth.
    constexpr std::int32_t count = 64;
    constexpr std::size_t expected = count * TMem::BlockSize;
    TMem mem;
    mem.ReleaseMemory(1); // the heap's own first-use growth is not counted
    const std::size_t before = WorkingSet();
    std::size_t peak = 0;
    mem.OnBlockAllocated = [&](TObject*, std::int32_t i) {
        if (i == count - 1) peak = WorkingSet();
    };
    mem.ReleaseMemory(count);
    const std::size_t after = WorkingSet();
    EXPECT_GE(peak, before + expected * 95 / 100) << "working set grew by " << (peak - before) / 1024 << " KiB";
    EXPECT_LE(after + expected * 95 / 100, peak) << "blocks not given back";
}

TEST(ReleaseMemory, RunningOutOfMemoryGivesBackEveryBlockTaken)
{
    FixedRegion region(6);
    TMem mem;
    mem.BlockSource = region.Source();
    Recorder rec;
    rec.Bind(mem);
    try {
        mem.ReleaseMemory(10);
        FAIL() << "no error";
    } catch (const EOutOfMemory& e) {
        EXPECT_EQ(e.Message(), L"Out of memory");
    }
    EXPECT_EQ(region.allocations, 6);
    EXPECT_EQ(region.Held(), 0u);
    EXPECT_EQ(rec.log.back(), "A5");
    // All of it can be taken again.
    mem.ReleaseMemory(6);
    EXPECT_EQ(region.Held(), 0u);
}

TEST(ReleaseMemory, RunningOutOfAddressSpaceGivesBackEveryBlockTaken)
{
    if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit address space cannot be filled cheaply";
    TMem mem; // the process heap, as in the program
    int taken = 0;
    bool failed = false;
    {
        AddressSpaceHog hog(24u << 20);
        mem.OnBlockAllocated = [&](TObject*, std::int32_t i) { taken = i + 1; };
        try {
            mem.ReleaseMemory(4096);
        } catch (const EOutOfMemory&) {
            failed = true;
        }
        // Still inside the hole: if the blocks were kept, this would fail.
        if (failed && taken > 0) mem.ReleaseMemory(taken);
    }
    EXPECT_TRUE(failed);
    EXPECT_GE(taken, 4);
    EXPECT_LT(taken, 4096);
}

TEST(ReleaseMemory, AnErrorFromAHandlerStillGivesEverythingBack)
{
    FixedRegion region(4);
    TMem mem;
    mem.BlockSource = region.Source();
    mem.OnBlockAllocated = [](TObject*, std::int32_t i) {
        if (i == 2) throw EAbort();
    };
    EXPECT_THROW(mem.ReleaseMemory(4), EAbort);
    EXPECT_EQ(region.Held(), 0u);

    mem.OnBlockAllocated = nullptr;
    mem.OnBlockReleased = [](TObject*, std::int32_t j) {
        if (j == 1) throw EAbort();
    };
    EXPECT_THROW(mem.ReleaseMemory(4), EAbort);
    EXPECT_EQ(region.Held(), 0u);
    EXPECT_EQ(region.freeOrder.size(), 7u);
}

TEST(ReleaseMemory, AHandlerMayStartAnotherRunFromThePump)
{
    // The window's timer can start an alarm run while a manual run pumps.
    FixedRegion region(5);
    TMem mem;
    mem.BlockSource = region.Source();
    mem.MessageInterval = std::chrono::milliseconds(0);
    Recorder rec;
    rec.Bind(mem);
    bool nested = false;
    mem.ProcessMessages = [&] {
        if (nested) return;
        nested = true;
        rec.log.push_back("[");
        mem.ReleaseMemory(2);
        rec.log.push_back("]");
    };
    mem.ReleaseMemory(2);
    EXPECT_EQ(rec.log, (Log{"A0", "[", "A0", "A1", "R0", "R1", "]", "A1", "R0", "R1"}));
    EXPECT_EQ(region.Held(), 0u);
}
