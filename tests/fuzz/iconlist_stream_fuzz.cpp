// Stored icon-list data straight from the fuzzer: reading must either hand
// over in-bounds entries or fail with EInvalidGraphic, and what it reads
// must survive writing and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "controls/iconlist_stream.h"
#include "toolkit/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<std::uint8_t>> entries;
    try {
        ReadIconListStream(std::span(data, size), [&](std::span<const std::uint8_t> entry) {
            // Copying touches every byte, so ASan sees any over-read.
            entries.emplace_back(entry.begin(), entry.end());
        });
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    std::vector<std::vector<std::uint8_t>> again;
    ReadIconListStream(WriteIconListStream(entries),
                       [&](std::span<const std::uint8_t> entry) { again.emplace_back(entry.begin(), entry.end()); });
    if (again != entries) std::abort();
    return 0;
}
