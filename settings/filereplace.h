// A file written whole or not at all: made new, or written beside the old
// one and then put in its place in one step, so that a crash or a power cut
// leaves the old file or the new, never half of one.
#pragma once

#include <string>
#include <string_view>

// The name of the new file beside path while it is written.
inline constexpr std::wstring_view kNewFileSuffix = L".new";

// Makes the file at path holding bytes, written through to the disk. False
// (with the last error set, ERROR_FILE_EXISTS when there is one already)
// when it could not; nothing is left behind.
bool WriteNewFile(const std::wstring& path, std::string_view bytes);

// Writes bytes to path + kNewFileSuffix, then replaces the file at path with
// it. False when either step failed; the file at path is then as it was.
bool ReplaceFileWith(const std::wstring& path, std::string_view bytes);
