#include "settings/runhistory.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <optional>

#include "settings/filereplace.h"
#include "settings/settingsstore.h"
#include "toolkit/handles.h"
#include "toolkit/oserror.h"
#include "toolkit/shell.h"
#include "toolkit/texts.h"

namespace {

// Copies that record a run at the same moment take turns through a lock
// file beside the history, opened by one of them at a time: a cut never
// drops a line another copy has just added, and lines never mix where an
// append-only write is not one step (Wine finds the end and writes there in
// two). It lives in the user's own folder, so no other user and no program
// without the user's rights can hold it, and it goes with the last handle,
// also when its holder is killed. The wait is short, as the window waits
// with it: a copy holds it for a few milliseconds.
constexpr wchar_t kLockSuffix[] = L".lock";
constexpr DWORD kLockPatience = 250;
constexpr DWORD kLockRetry = 10;
// Every handle on the file lets the others read, append and replace it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Damaged files set aside: path.1.bad, the newest, to path.5.bad.
constexpr int kAsideKept = 5;

// The histories whose folder or file refused a write in this process, with
// the refusal: it is not asked again until the program ends, as each ask
// costs a run the wait for the lock.
std::mutex refusedLock;
std::map<std::wstring, DWORD> refused;

std::optional<DWORD> Refusal(const std::wstring& path)
{
    const std::lock_guard hold(refusedLock);
    const auto found = refused.find(path);
    return found == refused.end() ? std::nullopt : std::optional<DWORD>(found->second);
}

[[noreturn]] void RaiseWriteError(const std::wstring& path, DWORD code)
{
    if (code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT) {
        const std::lock_guard hold(refusedLock);
        refused.emplace(path, code);
    }
    throw EOSError(Text(TText::ErrorHistory, {path, SystemErrorMessage(code)}), code);
}

class THistoryLock {
public:
    explicit THistoryLock(const std::wstring& path)
    {
        const std::wstring name = path + kLockSuffix;
        for (DWORD waited = 0;; waited += kLockRetry) {
            file_.Reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
            if (file_) return;
            // Held by another copy, or going with its last handle just now;
            // refused with no lock there, the folder takes no new file.
            const DWORD error = GetLastError();
            if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || waited >= kLockPatience) return;
            if (error == ERROR_ACCESS_DENIED && GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
                GetLastError() == ERROR_FILE_NOT_FOUND)
                return;
            Sleep(kLockRetry);
        }
    }
    THistoryLock(const THistoryLock&) = delete;
    THistoryLock& operator=(const THistoryLock&) = delete;

    bool Held() const noexcept { return static_cast<bool>(file_); }

private:
    TUniqueKernelHandle file_;
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
// it was read, ERROR_FILE_TOO_LARGE when it is far too large to be a history).
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
    // not one, and is never read into memory. Nor is a part of it read: its
    // cut would look like a damaged end, and mending that would drop
    // everything after it.
    constexpr LONGLONG kLargest = 16 * 1024 * 1024;
    if (!GetFileSizeEx(file.Get(), &size)) {
        error = GetLastError();
        return std::nullopt;
    }
    if (size.QuadPart > kLargest) {
        error = ERROR_FILE_TOO_LARGE;
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() && !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
        error = GetLastError();
        return std::nullopt;
    }
    text.resize(read);
    return text;
}

// Writes text at the end of the file at path with a single write.
void AppendText(const std::wstring& path, std::string_view text)
{
    // FILE_APPEND_DATA alone: every write lands at the end of the file as it
    // is at that moment, so two copies' lines follow each other whole.
    // Written through: a power cut just after a run must not leave the
    // file's new length with no line in it.
    TUniqueKernelHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file) RaiseWriteError(path, GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        RaiseWriteError(path, GetLastError());
    if (written != text.size()) RaiseWriteError(path, ERROR_WRITE_FAULT);
}

// Cuts the file at path to its first length bytes; false when it could not.
bool CutTo(const std::wstring& path, std::size_t length)
{
    TUniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    return file && SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get())
           && FlushFileBuffers(file.Get());
}

// Keeps a damaged file for the user to look at, beside those set aside
// before: each moves one number up, and only the oldest of kAsideKept goes.
// One that can neither go nor move (read-only, or open in a viewer that does
// not share it) keeps its number and is stepped over, so that it never stops
// a later file from being set aside. Nothing is ever moved over another
// file, so a move that fails leaves the file where it was. False when no
// number could be freed or the file would not move: it is left as it was.
bool SetAside(const std::wstring& path)
{
    auto aside = [&path](int n) { return path + L"." + std::to_wstring(n) + L".bad"; };
    auto taken = [&aside](int n) { return GetFileAttributesW(aside(n).c_str()) != INVALID_FILE_ATTRIBUTES; };
    // The lowest free number; when every one is taken, the oldest that can go goes.
    int slot = 1;
    while (slot <= kAsideKept && taken(slot)) ++slot;
    if (slot > kAsideKept) {
        slot = kAsideKept;
        while (slot >= 1 && !DeleteFileW(aside(slot).c_str())) --slot;
        if (slot < 1) return false;
    }
    for (int n = slot - 1; n >= 1; --n)
        if (MoveFileExW(aside(n).c_str(), aside(slot).c_str(), MOVEFILE_WRITE_THROUGH)) slot = n;
    return MoveFileExW(path.c_str(), aside(slot).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Makes the file with its header and the first line together; false when it
// exists already.
bool CreateWithFirstLine(const std::wstring& path, const std::string& line)
{
    if (WriteNewFile(path, std::string(kHistoryHeader) + line)) return true;
    if (GetLastError() != ERROR_FILE_EXISTS) RaiseWriteError(path, GetLastError());
    return false;
}

} // namespace

std::wstring RunHistoryPath()
{
    // A portable copy's beside it; an installed copy's in the user's profile.
    const std::wstring beside = SettingsStore().HistoryFolder();
    return (beside.empty() ? LocalAppDataFolder() + L"\\Quenfel" : beside) + L"\\history.csv";
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
    // Never written in place: until the replace the old file stands whole,
    // and after it the new one. A viewer may hold the file so that it cannot
    // be replaced; a later run tries again.
    return ReplaceFileWith(path, TrimmedHistory(*text));
}

std::vector<TRunRecord> ReadLastRuns(const std::wstring& path, std::size_t count)
{
    DWORD error = 0;
    const std::optional<std::string> text = ReadWhole(path, error);
    return text ? LastRuns(*text, count) : std::vector<TRunRecord>{};
}

void EnsureRunHistory(const std::wstring& path)
{
    MakeFolder(path);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    if (!WriteNewFile(path, kHistoryHeader) && GetLastError() != ERROR_FILE_EXISTS)
        RaiseWriteError(path, GetLastError());
}

bool RunHistoryRefused(const std::wstring& path)
{
    return Refusal(path).has_value();
}

void AppendRunHistory(const std::wstring& path, const TRunRecord& record)
{
    if (const auto code = Refusal(path)) RaiseWriteError(path, *code);
    const std::string line = FormatHistoryLine(record);
    MakeFolder(path);
    const THistoryLock lock(path);
    if (!lock.Held()) {
        // Another copy may be cutting or mending the file this moment: the
        // line is added, and the file is left to a later run to check.
        if (!CreateWithFirstLine(path, line)) AppendText(path, line);
        return;
    }
    DWORD error = 0;
    const std::optional<std::string> text = ReadWhole(path, error);
    // The runs the file held, when it could be read and is whole.
    std::optional<std::size_t> count = text ? CountHistoryRecords(*text) : std::nullopt;
    const std::optional<std::size_t> whole = text && !count ? UndamagedLength(*text) : std::nullopt;
    if (whole && CutTo(path, *whole)) {
        // Only its end was lost (a power cut): every whole line stays.
        count = CountHistoryRecords(std::string_view(*text).substr(0, *whole));
    } else if ((text && !count) || error == ERROR_FILE_TOO_LARGE) {
        // Damaged, not ours, or far too large: kept whole for the user to
        // look at, and a new history begins. When it cannot be set aside
        // now, the line goes at its end, and a later run tries again.
        if (SetAside(path)) error = ERROR_FILE_NOT_FOUND;
    }
    if (error == ERROR_FILE_NOT_FOUND) {
        if (CreateWithFirstLine(path, line)) return;
        count.reset();
    }
    // A file that could not be read (locked, say) is still appended to when
    // it lets us; it is checked and cut on a later run.
    AppendText(path, line);
    if (count.value_or(0) + 1 > kHistoryTrimAbove) TrimRunHistory(path);
}
