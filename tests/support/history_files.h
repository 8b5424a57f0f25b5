// A folder of its own for a test's run history files, and plain reads and
// writes of them past the program's own routines.
#pragma once

#include <windows.h>

#include <string>

#include "settings/historyformat.h"

namespace testsupport {

// A new empty folder in the temporary folder; removed with what it holds.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::wstring& name)
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
        Remove();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    ~TScratchFolder() { Remove(); }

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    void Remove()
    {
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring file = path_ + L"\\" + found.cFileName;
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(path_.c_str());
    }

    std::wstring path_;
};

// The whole file; empty when it cannot be read.
inline std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

inline bool WriteBytes(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    CloseHandle(file);
    return ok && written == text.size();
}

// A whole history of this many runs; run i asked for i MB.
inline std::string HistoryOf(std::size_t runs)
{
    std::string file(kHistoryHeader);
    for (std::size_t i = 0; i < runs; ++i) {
        TRunRecord r;
        r.Start = {2026, 12, 8, 10, 0, 0, 60};
        r.AskedMB = i;
        file += FormatHistoryLine(r);
    }
    return file;
}

} // namespace testsupport
