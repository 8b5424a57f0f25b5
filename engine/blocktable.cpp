#include "engine/blocktable.h"

#include <algorithm>
#include <new>

#include "toolkit/errors.h"

TBlockTable::TBlockTable(std::int32_t count, TFreeBlock freeBlock) : count_(count), free_(std::move(freeBlock))
{
    if (count < 0) throw ERangeError();
    // The table grows with the blocks actually taken: a huge count that fails
    // early must not first cost a table of that size.
    try {
        blocks_.reserve(static_cast<std::size_t>(std::min<std::int32_t>(count, 1 << 16)));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

TBlockTable::~TBlockTable()
{
    for (void* block : blocks_)
        if (block != nullptr) free_(block);
}

void TBlockTable::Add(void* block)
{
    try {
        blocks_.push_back(block);
    } catch (const std::bad_alloc&) {
        free_(block);
        throw EOutOfMemory();
    }
    ++held_;
}

void TBlockTable::Free(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= blocks_.size()) throw ERangeError();
    void*& block = blocks_[static_cast<std::size_t>(index)];
    if (block == nullptr) return;
    // Clear the entry first: if giving it back raised, the destructor must
    // not give it back a second time.
    void* taken = block;
    block = nullptr;
    --held_;
    free_(taken);
}
