#include "engine/systemmemory.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <optional>

#include "toolkit/handles.h"
#include "toolkit/oserror.h"
#include "toolkit/systemlibrary.h"

namespace {

using TNtStatus = LONG;
constexpr TNtStatus kStatusNotImplemented = static_cast<TNtStatus>(0xC0000002);
constexpr TNtStatus kStatusInvalidInfoClass = static_cast<TNtStatus>(0xC0000003);

// The memory list and page combining are system information classes that
// Windows does not document. They have stayed the same since Vista (the
// lists) and Windows 10 (combining), but are looked up at run time and each
// refusal of "not here" is taken as not available.
constexpr ULONG kSystemMemoryListInformation = 80;
constexpr ULONG kSystemCombinePhysicalMemoryInformation = 130;
struct TMemoryCombineInformationEx {
    HANDLE Handle;
    ULONG_PTR PagesCombined;
    ULONG Flags;
};

using TNtSetSystemInformation = TNtStatus NTAPI(ULONG infoClass, void* info, ULONG length);
using TRtlNtStatusToDosError = ULONG NTAPI(TNtStatus status);
using TRtlGetVersion = TNtStatus NTAPI(RTL_OSVERSIONINFOW* info);

// ntdll's entries, looked up at run time as every optional system call is.
template <class Function>
Function* NtdllEntry(const char* name) noexcept
{
    return OptionalSystemEntry<Function>(L"ntdll.dll", name);
}

TStepCall Done() noexcept { return {}; }
TStepCall SkippedWindows() noexcept { return {TStepOutcome::soSkippedWindows}; }
TStepCall Failed(std::uint32_t error) noexcept { return {TStepOutcome::soFailed, error}; }

// A documented call's failure; "not on this Windows" is not available.
TStepCall FromLastError() noexcept
{
    const DWORD error = GetLastError();
    if (error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_NOT_SUPPORTED) return SkippedWindows();
    return Failed(error);
}

TStepCall FromStatus(TNtStatus status) noexcept
{
    if (status >= 0) return Done();
    if (status == kStatusNotImplemented || status == kStatusInvalidInfoClass) return SkippedWindows();
    auto* toDosError = NtdllEntry<TRtlNtStatusToDosError>("RtlNtStatusToDosError");
    return Failed(toDosError != nullptr ? toDosError(status) : static_cast<std::uint32_t>(status));
}

// Enables one privilege of the process token for its lifetime and then puts
// it back as it was. Error() is the reason it could not be enabled:
// ERROR_NOT_ALL_ASSIGNED when the token lacks it.
class TPrivilegeScope {
public:
    explicit TPrivilegeScope(const wchar_t* name) noexcept
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
            error_ = GetLastError();
            return;
        }
        token_.Reset(token);
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(nullptr, name, &wanted.Privileges[0].Luid)) {
            error_ = GetLastError();
            return;
        }
        DWORD length = 0;
        // Succeeds, setting ERROR_NOT_ALL_ASSIGNED, when the token lacks the
        // privilege; previous_ then lists nothing to put back.
        if (!AdjustTokenPrivileges(token_.Get(), FALSE, &wanted, sizeof previous_, &previous_, &length))
            error_ = GetLastError();
        else if (GetLastError() == ERROR_NOT_ALL_ASSIGNED)
            error_ = ERROR_NOT_ALL_ASSIGNED;
    }
    TPrivilegeScope(const TPrivilegeScope&) = delete;
    TPrivilegeScope& operator=(const TPrivilegeScope&) = delete;
    ~TPrivilegeScope()
    {
        // previous_ holds only what the constructor changed: a privilege that
        // was already on stays on.
        if (token_ && previous_.PrivilegeCount != 0)
            AdjustTokenPrivileges(token_.Get(), FALSE, &previous_, 0, nullptr, nullptr);
    }
    std::uint32_t Error() const noexcept { return error_; }

private:
    TUniqueKernelHandle token_;
    TOKEN_PRIVILEGES previous_{};
    std::uint32_t error_ = 0;
};

bool SameFileName(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE)
           == CSTR_EQUAL;
}

// The debug privilege opens other users' processes too. It is on only for
// the opening: the window's messages are pumped between processes, and a
// handler run then, or a program it starts, must not hold it.
HANDLE OpenToTrim(std::uint32_t processId, bool elevated) noexcept
{
    std::optional<TPrivilegeScope> debug;
    if (elevated) debug.emplace(SE_DEBUG_NAME);
    return OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_SET_QUOTA, FALSE, processId);
}

TStepCall SetSystemInformation(TMemoryArea area, ULONG infoClass, void* info, ULONG length) noexcept
{
    if (!AreaAvailableOn(area, RunningWindowsVersion())) return SkippedWindows();
    auto* setInformation = NtdllEntry<TNtSetSystemInformation>("NtSetSystemInformation");
    if (setInformation == nullptr) return SkippedWindows();
    const TPrivilegeScope privilege(SE_PROF_SINGLE_PROCESS_NAME);
    if (privilege.Error() != 0) return Failed(privilege.Error());
    return FromStatus(setInformation(infoClass, info, length));
}

} // namespace

TWindowsVersion RunningWindowsVersion() noexcept
{
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    auto* getVersion = NtdllEntry<TRtlGetVersion>("RtlGetVersion");
    if (getVersion == nullptr || getVersion(&info) < 0) return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

bool ProgramIs32BitOn64BitWindows() noexcept
{
    // Looked up: Windows XP before its second service pack lacks it, and
    // runs no 32-bit program on a 64-bit Windows either.
    using TIsWow64Process = BOOL WINAPI(HANDLE, PBOOL);
    auto* isWow64 = OptionalSystemEntry<TIsWow64Process>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64 != FALSE;
}

TRunPlace RunningPlace() noexcept
{
    return {ProcessIsElevated(), RunningWindowsVersion(), ProgramIs32BitOn64BitWindows()};
}

std::vector<TProcessEntry> RunningProcesses()
{
    const TUniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) RaiseLastOSError();
    std::vector<TProcessEntry> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        processes.push_back({entry.th32ProcessID, entry.szExeFile});
    if (GetLastError() != ERROR_NO_MORE_FILES) RaiseLastOSError();
    return processes;
}

TStepCall TrimWorkingSets(const std::vector<TProcessEntry>& processes, const std::vector<std::wstring>& excluded,
                          bool elevated, const std::function<void()>& between)
{
    // Trimming ourselves mid-run would only page our own code back in.
    const DWORD self = GetCurrentProcessId();
    TStepCall call;
    for (const TProcessEntry& p : processes) {
        if (p.Id == self) continue;
        ++call.Seen;
        const bool left = std::any_of(excluded.begin(), excluded.end(),
                                      [&p](const std::wstring& name) { return SameFileName(name, p.ImageName); });
        if (!left) {
            const TUniqueKernelHandle process(OpenToTrim(p.Id, elevated));
            if (process && EmptyWorkingSet(process.Get())) ++call.Trimmed;
        }
        if (between) between();
    }
    return call;
}

TStepCall PurgeSystemFileCache()
{
    if (!AreaAvailableOn(TMemoryArea::maFileCache, RunningWindowsVersion())) return SkippedWindows();
    const TPrivilegeScope privilege(SE_INCREASE_QUOTA_NAME);
    if (privilege.Error() != 0) return Failed(privilege.Error());
    // Both limits -1: empty the cache's working set now.
    if (!SetSystemFileCacheSize(static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1), 0)) return FromLastError();
    return Done();
}

TStepCall RunMemoryListCommand(TMemoryListCommand command)
{
    ULONG value = static_cast<ULONG>(command);
    const TMemoryArea area = command == TMemoryListCommand::mlFlushModified ? TMemoryArea::maModified
                             : command == TMemoryListCommand::mlPurgeStandby ? TMemoryArea::maStandby
                                                                              : TMemoryArea::maStandbyLow;
    return SetSystemInformation(area, kSystemMemoryListInformation, &value, sizeof value);
}

TStepCall CombineMemoryPages()
{
    TMemoryCombineInformationEx info{};
    return SetSystemInformation(TMemoryArea::maCombine, kSystemCombinePhysicalMemoryInformation, &info, sizeof info);
}
