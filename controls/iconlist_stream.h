// The stored form of an icon list, without the icons' own format:
//   N (int32 LE) entries, then per entry S (int32 LE) and S bytes of icon
//   data (the icon-file layout), S = 0 for a null or empty icon.
// Platform-free, so the reader can be fuzzed natively.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Frames the entries: one byte block per icon, empty for a null or empty
// icon. Raises EInvalidGraphic for an entry too large to frame.
std::vector<std::uint8_t> WriteIconListStream(const std::vector<std::vector<std::uint8_t>>& entries);

// Hands each entry's data to onEntry in order (an empty span for a null
// entry: S <= 0). N <= 0 is an empty list. Stored data that end early (or
// hold fewer than four bytes) raise EInvalidGraphic after the entries
// before the damage were handed over, and nothing beyond the buffer is
// read; a huge N or S only ever costs that error. Bytes after the last
// entry are ignored. Errors raised by onEntry pass through. Returns the
// number of entries handed over.
std::int32_t ReadIconListStream(std::span<const std::uint8_t> data,
                                const std::function<void(std::span<const std::uint8_t>)>& onEntry);
