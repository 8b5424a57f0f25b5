// Command-line text. Platform-free.
#pragma once

#include <string>
#include <string_view>

// The path as a command that starts the program: in double quotes when it
// contains a space, so that the shell does not split it (and so cannot run
// "C:\Program" instead).
std::wstring CommandForPath(std::wstring_view path);
