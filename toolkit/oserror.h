// Errors carrying the operating system's own message text.
#pragma once

#include <cstdint>
#include "toolkit/errors.h"

// The system's message text for an error code, without the trailing line break.
std::wstring SystemErrorMessage(std::uint32_t code);

// Raises EOSError for GetLastError() (or the given code).
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseOSError(std::uint32_t code);
