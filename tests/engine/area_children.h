// Child processes that hold touched memory, for the working-set step's test
// and benchmark: copies of area_child.exe from the folder of the running exe.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/handles.h"
#include "toolkit/modulepath.h"
#include "toolkit/oserror.h"

class TAreaChildren {
public:
    // Starts count children that each touch megabytes; raises EOSError when
    // one cannot start.
    TAreaChildren(int count, int megabytes, int seconds = 120)
    {
        std::wstring exe = ExecutablePath();
        exe.erase(exe.find_last_of(L'\\') + 1);
        exe += L"area_child.exe";
        for (int i = 0; i < count; ++i) {
            std::wstring line = L"\"" + exe + L"\" " + std::to_wstring(megabytes) + L" " + std::to_wstring(seconds);
            STARTUPINFOW si{};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi{};
            if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                                &si, &pi))
                RaiseLastOSError();
            const TUniqueKernelHandle thread(pi.hThread);
            ids_.push_back(pi.dwProcessId);
            processes_.emplace_back(pi.hProcess);
        }
        megabytes_ = megabytes;
    }
    TAreaChildren(const TAreaChildren&) = delete;
    TAreaChildren& operator=(const TAreaChildren&) = delete;
    ~TAreaChildren()
    {
        for (const TUniqueKernelHandle& p : processes_) TerminateProcess(p.Get(), 0);
        for (const TUniqueKernelHandle& p : processes_) WaitForSingleObject(p.Get(), 5000);
    }

    const std::vector<std::uint32_t>& Ids() const noexcept { return ids_; }

    // Until every child has touched its memory (or ten seconds have passed).
    void WaitTouched() const
    {
        for (const TUniqueKernelHandle& p : processes_)
            for (int tries = 0; tries < 1000 && WorkingSet(p.Get()) < (static_cast<std::size_t>(megabytes_) << 20); ++tries)
                Sleep(10);
    }

    static std::size_t WorkingSet(HANDLE process)
    {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
    }
    HANDLE Handle(std::size_t i) const noexcept { return processes_[i].Get(); }

    // Ends every child and lets go of it, until their ids no longer open:
    // Wine keeps an ended process openable for a moment after it is signalled.
    void EndAll()
    {
        for (const TUniqueKernelHandle& p : processes_) TerminateProcess(p.Get(), 0);
        for (const TUniqueKernelHandle& p : processes_) WaitForSingleObject(p.Get(), 5000);
        processes_.clear();
        for (std::uint32_t id : ids_)
            for (int tries = 0; tries < 500; ++tries) {
                const TUniqueKernelHandle p(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
                if (!p) break;
                Sleep(10);
            }
    }

private:
    std::vector<std::uint32_t> ids_;
    std::vector<TUniqueKernelHandle> processes_;
    int megabytes_ = 0;
};
