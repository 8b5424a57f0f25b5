#include "settings/runhistory.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "toolkit/handles.h"
#include "toolkit/oserror.h"
#include "toolkit/shell.h"

namespace {

// Copies that record a run at the same moment take turns through this lock:
// a cut never drops a line another copy has just added, and lines never mix
// where an append-only write is not one step (Wine finds the end and writes
// there in two). Global: a scheduled run may start in another session of the
// same user. A copy killed while holding it leaves it abandoned, which the
// next one takes.
constexpr wchar_t kHistoryLock[] = L"Global\\Quenfel.RunHistory";
constexpr DWORD kLockPatience = 5000;
// Every handle on the file lets the others read, append and replace it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void RaiseWriteError(const std::wstring& path, DWORD code)
{
    throw EOSError(L"The run history could not be written to " + path + L": " + SystemErrorMessage(code), code);
}

class THistoryLock {
public:
    THistoryLock() : mutex_(CreateMutexW(nullptr, FALSE, kHistoryLock))
    {
        // Without it (another user's copy holds the name, say) the line is
        // still written in one append, which Windows keeps whole.
        if (mutex_) {
            const DWORD wait = WaitForSingleObject(mutex_.Get(), kLockPatience);
            held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    THistoryLock(const THistoryLock&) = delete;
    THistoryLock& operator=(const THistoryLock&) = delete;
    ~THistoryLock()
    {
        if (held_) ReleaseMutex(mutex_.Get());
    }

private:
    TUniqueKernelHandle mutex_;
    bool held_ = false;
};

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void MakeFolder(const std::wstring& path)
{
    const std::wstring folder = FolderOf(path);
    if (folder.empty() || CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return;
    RaiseWriteError(path, GetLastError());
}

// The whole file, or nothing when it cannot be read; error says why (0 when
// it was read).
std::optional<std::string> ReadWhole(const std::wstring& path, DWORD& error)
{
    error = 0;
    TUniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = GetLastError();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    // A history of its full length is some 90 KB; anything far larger is
    // not one, and is never read into memory.
    constexpr LONGLONG kLargest = 16 * 1024 * 1024;
    if (!GetFileSizeEx(file.Get(), &size)) {
        error = GetLastError();
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(std::min(size.QuadPart, kLargest + 1)), '\0');
    DWORD read = 0;
    if (!text.empty() && !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
        error = GetLastError();
        return std::nullopt;
    }
    text.resize(read);
    return text;
}

// Writes text as a new file; false (with the last error set) when the file
// exists already or cannot be made.
bool CreateWith(const std::wstring& path, std::string_view text, DWORD disposition)
{
    TUniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
                    && written == text.size() && FlushFileBuffers(file.Get());
    if (!ok) {
        const DWORD code = GetLastError();
        file.Reset();
        DeleteFileW(path.c_str());
        SetLastError(code);
    }
    return ok;
}

// Writes text at the end of the file at path with a single write.
void AppendText(const std::wstring& path, std::string_view text)
{
    // FILE_APPEND_DATA alone: every write lands at the end of the file as it
    // is at that moment, so two copies' lines follow each other whole.
    TUniqueKernelHandle file(
        CreateFileW(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseWriteError(path, GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        RaiseWriteError(path, GetLastError());
    if (written != text.size()) RaiseWriteError(path, ERROR_WRITE_FAULT);
}

} // namespace

std::wstring RunHistoryPath()
{
    return LocalAppDataFolder() + L"\\Quenfel\\history.csv";
}

TLocalTime LocalTimeNow()
{
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    SYSTEMTIME local = utc;
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    FILETIME utcFile{}, localFile{};
    SystemTimeToFileTime(&utc, &utcFile);
    SystemTimeToFileTime(&local, &localFile);
    auto ticks = [](const FILETIME& f) {
        return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
    };
    TLocalTime t;
    t.Year = local.wYear;
    t.Month = local.wMonth;
    t.Day = local.wDay;
    t.Hour = local.wHour;
    t.Minute = local.wMinute;
    t.Second = local.wSecond;
    // FILETIME counts 100 ns; offsets are whole minutes.
    t.OffsetMinutes = static_cast<int>((ticks(localFile) - ticks(utcFile)) / 600'000'000LL);
    return t;
}

bool TrimRunHistory(const std::wstring& path)
{
    DWORD error = 0;
    const std::optional<std::string> text = ReadWhole(path, error);
    if (!text || !CountHistoryRecords(*text)) return false;
    const std::wstring temporary = path + L".tmp";
    // Never written in place: until the replace the old file stands whole,
    // and after it the new one.
    if (!CreateWith(temporary, TrimmedHistory(*text), CREATE_ALWAYS)) return false;
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // A viewer may hold the file so that it cannot be replaced; a later run
    // tries again.
    DeleteFileW(temporary.c_str());
    return false;
}

void EnsureRunHistory(const std::wstring& path)
{
    THistoryLock lock;
    MakeFolder(path);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    if (!CreateWith(path, kHistoryHeader, CREATE_NEW) && GetLastError() != ERROR_FILE_EXISTS)
        RaiseWriteError(path, GetLastError());
}

void AppendRunHistory(const std::wstring& path, const TRunRecord& record)
{
    const std::string line = FormatHistoryLine(record);
    THistoryLock lock;
    MakeFolder(path);
    DWORD error = 0;
    const std::optional<std::string> text = ReadWhole(path, error);
    // The runs the file held, when it could be read and is whole.
    std::optional<std::size_t> count = text ? CountHistoryRecords(*text) : std::nullopt;
    if (text && !count) {
        // Damaged, cut short or not ours: kept for the user to look at, and a
        // new history begins.
        const std::wstring aside = path + L".bad";
        if (!MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            RaiseWriteError(path, GetLastError());
        error = ERROR_FILE_NOT_FOUND;
    }
    if (error == ERROR_FILE_NOT_FOUND) {
        // The header and the first line arrive together.
        const std::string first = std::string(kHistoryHeader) + line;
        if (CreateWith(path, first, CREATE_NEW)) return;
        if (GetLastError() != ERROR_FILE_EXISTS) RaiseWriteError(path, GetLastError());
        count.reset();
    }
    // A file that could not be read (locked, say) is still appended to when
    // it lets us; it is checked and cut on a later run.
    AppendText(path, line);
    if (count.value_or(0) + 1 > kHistoryTrimAbove) TrimRunHistory(path);
}
