// Raw DEFLATE data (RFC 1951) unpacked: the form the languages' texts are
// stored in, which the build makes with zlib. Platform-free.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

// The bytes packed holds: stored, fixed and dynamic blocks up to the last.
// Nothing when the data is malformed, ends early, or would unpack to more
// than limit bytes.
std::optional<std::string> Inflate(std::span<const unsigned char> packed, std::size_t limit);
