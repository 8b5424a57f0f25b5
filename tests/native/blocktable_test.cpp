#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/blocktable.h"
#include "toolkit/errors.h"

namespace {

// Real heap blocks, so that LeakSanitizer reports any block the table fails
// to give back.
struct FreedLog {
    std::vector<void*> freed;
    TBlockTable::TFreeBlock Free()
    {
        return [this](void* block) {
            freed.push_back(block);
            std::free(block);
        };
    }
};

} // namespace

TEST(BlockTable, NegativeCountIsARangeErrorBeforeAnything)
{
    FreedLog log;
    EXPECT_THROW(TBlockTable(-1, log.Free()), ERangeError);
    EXPECT_TRUE(log.freed.empty());
    TBlockTable empty(0, log.Free());
    EXPECT_EQ(empty.Held(), 0);
}

TEST(BlockTable, GivesBackEverythingStillHeldWhenAbandoned)
{
    FreedLog log;
    void* a = std::malloc(16);
    void* b = std::malloc(16);
    void* c = std::malloc(16);
    try {
        TBlockTable table(5, log.Free());
        table.Add(a);
        table.Add(b);
        table.Add(c);
        table.Free(1);
        EXPECT_EQ(table.Held(), 2);
        throw EOutOfMemory(); // as a failed allocation leaves a run
    } catch (const EOutOfMemory&) {
    }
    EXPECT_EQ(log.freed, (std::vector<void*>{b, a, c}));
}

TEST(BlockTable, NeverGivesABlockBackTwice)
{
    FreedLog log;
    {
        TBlockTable table(2, log.Free());
        table.Add(std::malloc(8));
        table.Add(std::malloc(8));
        table.Free(0);
        table.Free(0);
        table.Free(1);
        EXPECT_EQ(table.Held(), 0);
        EXPECT_THROW(table.Free(2), ERangeError);
    }
    EXPECT_EQ(log.freed.size(), 2u);
}

TEST(BlockTable, AHugeCountCostsNoTableUpFront)
{
    // A run of 2^31 - 1 blocks that fails at once must not first ask for a
    // table of that many entries (16 GiB on a 64-bit build).
    FreedLog log;
    TBlockTable table(2'147'483'647, log.Free());
    table.Add(std::malloc(8));
    EXPECT_EQ(table.Held(), 1);
}
