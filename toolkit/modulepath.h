// The running program's own file.
#pragma once

#include <string>

// Full path of the executable, however long (paths beyond MAX_PATH included).
// Raises EOSError when the system cannot tell.
std::wstring ExecutablePath();
// Its folder, without the last backslash.
std::wstring ExecutableFolder();
