#include "toolkit/elevation.h"

#include <windows.h>

#include "toolkit/handles.h"
#include "toolkit/systemlibrary.h"

namespace {

std::optional<bool> TokenIsElevated(HANDLE process) noexcept
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
    const TUniqueKernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD length = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &length)) return std::nullopt;
    return elevation.TokenIsElevated != 0;
}

} // namespace

bool ProcessIsElevated() noexcept
{
    return TokenIsElevated(GetCurrentProcess()).value_or(false);
}

std::optional<bool> ProcessIdIsElevated(std::uint32_t processId) noexcept
{
    const TUniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    return TokenIsElevated(process.Get());
}

void AcceptMessageFromFewerRights(HWND window, UINT message) noexcept
{
    using TChangeFilter = BOOL WINAPI(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    const auto change = OptionalSystemEntry<TChangeFilter>(L"user32.dll", "ChangeWindowMessageFilterEx");
    if (change != nullptr && message != 0 && window != nullptr) change(window, message, MSGFLT_ALLOW, nullptr);
}
