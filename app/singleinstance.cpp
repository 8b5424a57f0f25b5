#include "app/singleinstance.h"

#include <windows.h>


#include "settings/storedsettings.h"
#include "toolkit/application.h"
#include "toolkit/handles.h"
#include "toolkit/modulepath.h"
#include "toolkit/shell.h"
#include "toolkit/commandline.h"
#include "toolkit/texts.h"

TSingleInstance::TSingleInstance(const std::wstring& name)
    : mutex_(CreateMutexW(nullptr, FALSE, name.c_str()))
{
    const DWORD error = GetLastError();
    // A copy running with administrator rights made the lock: one without
    // may not even open it, and that copy runs all the same.
    alreadyRunning_ = error == ERROR_ALREADY_EXISTS || (!mutex_ && error == ERROR_ACCESS_DENIED);
}

void ShowAlreadyRunningWarning()
{
    // No owner window exists yet: MB_TASKMODAL keeps the box modal for the
    // process, and a box without an owner is centred on the screen.
    ShowMessageBox(nullptr, Text(TText::ErrorAlreadyRunning), Text(TText::ErrorWarning),
                   MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND);
}

bool FirstArgumentIs(const wchar_t* commandLine, std::wstring_view option)
{
    if (commandLine == nullptr) return false;
    const std::vector<std::wstring> words = CommandLineWords(commandLine);
    return words.size() > 1 && words[1] == option;
}

bool StartsInTray(const wchar_t* commandLine)
{
    return FirstArgumentIs(commandLine, L"/tray");
}

bool StartsOptimizing(const wchar_t* commandLine)
{
    return FirstArgumentIs(commandLine, L"/optimize");
}

namespace {

// A window's place may lie left of or above the main monitor.
std::optional<long long> SignedNumber(std::wstring_view word)
{
    const bool negative = !word.empty() && word.front() == L'-';
    const std::optional<std::uint32_t> value = DecimalNumberFromText(word.substr(negative ? 1 : 0));
    if (!value) return std::nullopt;
    return negative ? -static_cast<long long>(*value) : static_cast<long long>(*value);
}

} // namespace

std::wstring TakeoverArguments(const TTakeover& takeover)
{
    return L"/takeover " + std::to_wstring(takeover.ProcessId) + L" " + std::to_wstring(takeover.Left) + L" " +
           std::to_wstring(takeover.Top);
}

std::optional<TTakeover> StartsTakingOver(const wchar_t* commandLine)
{
    if (commandLine == nullptr) return std::nullopt;
    const std::vector<std::wstring> words = CommandLineWords(commandLine);
    if (words.size() != 5 || words[1] != L"/takeover") return std::nullopt;
    const auto id = SignedNumber(words[2]), left = SignedNumber(words[3]), top = SignedNumber(words[4]);
    constexpr long long kIntLimit = 0x7FFFFFFF;
    if (!id || !left || !top || *id <= 0 || *id > 0xFFFFFFFFll || *left < -kIntLimit || *left > kIntLimit ||
        *top < -kIntLimit || *top > kIntLimit)
        return std::nullopt;
    return TTakeover{static_cast<std::uint32_t>(*id), static_cast<int>(*left), static_cast<int>(*top)};
}

bool WaitForProcessEnd(std::uint32_t processId, std::chrono::milliseconds timeout) noexcept
{
    TUniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return true;  // gone already (or never ours to wait for)
    return WaitForSingleObject(process.Get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool StartElevatedCopy(HWND owner, const std::wstring& arguments)
{
    return ShellRunAsAdministrator(owner, ExecutablePath(), arguments);
}
