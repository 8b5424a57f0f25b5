// The blocks held by one release run. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Whatever the table still holds when it goes away is given back, so a run
// that fails or is interrupted part way keeps no memory.
class TBlockTable {
public:
    using TFreeBlock = std::function<void(void* block)>;

    // A negative count raises ERangeError before anything is taken.
    TBlockTable(std::int32_t count, TFreeBlock freeBlock);
    ~TBlockTable();
    TBlockTable(const TBlockTable&) = delete;
    TBlockTable& operator=(const TBlockTable&) = delete;

    std::int32_t Count() const noexcept { return count_; }
    // Appends a block. If the table cannot grow, the block is given back at
    // once and EOutOfMemory is raised.
    void Add(void* block);
    // Gives back the block in entry index (entries are numbered as added).
    void Free(std::int32_t index);
    // Blocks added and not yet given back.
    std::int32_t Held() const noexcept { return held_; }

private:
    std::int32_t count_;
    TFreeBlock free_;
    std::vector<void*> blocks_;
    std::int32_t held_ = 0;
};
