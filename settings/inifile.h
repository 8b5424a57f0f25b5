// A portable copy's settings file as people read and edit it: "Name=value"
// lines under a "[Quenfel]" section. Other sections, comments, blank lines
// and names this program does not know are kept as they stand, so a value
// written back changes its own line and nothing else. Platform-free.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view kIniSection = L"Quenfel";

// How the system reads bytes in its ANSI code page.
using TAnsiDecoder = std::function<std::wstring(std::string_view bytes)>;

class TIniDocument {
public:
    // From the file's bytes: UTF-8, with or without its byte order mark, or
    // UTF-16LE with one (as Notepad saves "Unicode"). Bytes without a mark
    // that are not UTF-8 throughout were saved in the ANSI code page (as
    // Notepad before Windows 10 saves a file it did not find UTF-8) and are
    // read through ansi when given. A line that is no "name=value" line is
    // kept and read as nothing.
    static TIniDocument FromBytes(std::string_view bytes, const TAnsiDecoder& ansi = {});

    // The value of the first line of the section with this name (case
    // aside), spaces around it dropped; nothing when there is none.
    std::optional<std::wstring> Value(std::wstring_view name) const;
    // Sets that line's value, or adds the line at the end of the section,
    // or the section at the end of the file. A line break in value would
    // start another line: it is written as a space.
    void SetValue(std::wstring_view name, std::wstring_view value);

    // UTF-8 with its byte order mark, so that every Notepad reads it as
    // such, and Windows' line ends.
    std::string Bytes() const;

private:
    // Where the section's line for name is, or lines_.size().
    std::size_t Find(std::wstring_view name) const;

    std::vector<std::wstring> lines_;
};
