// Stored icon-list data straight from the fuzzer, read as the icon list reads
// it: the count and size framing, then each entry through the icon-file
// parser, stopping at the first entry that is not an icon. Whatever is read
// must stay in bounds, fail only with EInvalidGraphic, and survive writing
// and reading again. Seeds: tests/fuzz/iconlist_corpus (real icon images, so
// the parser is reached from the first run).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "controls/iconlist_stream.h"
#include "toolkit/errors.h"
#include "toolkit/iconfile.h"

namespace {

bool SameImages(const std::vector<TIconFileImage>& a, const std::vector<TIconFileImage>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Width != b[i].Width || a[i].Height != b[i].Height || a[i].ColorCount != b[i].ColorCount ||
            a[i].BitCount != b[i].BitCount || a[i].Data != b[i].Data)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<std::uint8_t>> entries;
    try {
        ReadIconListStream(std::span(data, size), [&](std::span<const std::uint8_t> entry) {
            // Copying touches every byte, so ASan sees any over-read.
            entries.emplace_back(entry.begin(), entry.end());
            if (entry.empty()) return;  // a null entry
            // Parsed from the copy, which ends where the entry ends: a read
            // past the entry is a read past the allocation.
            const std::vector<TIconFileImage> images = ParseIconFile(entries.back());
            if (images.empty()) std::abort();
            // What the parser accepts, the writer writes back the same.
            if (!SameImages(ParseIconFile(BuildIconFile(images)), images)) std::abort();
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
