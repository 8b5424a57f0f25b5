// Command-line text. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The path as a command that starts the program: in double quotes when it
// contains a space, so that the shell does not split it (and so cannot run
// "C:\Program" instead).
std::wstring CommandForPath(std::wstring_view path);

// The words of a command line as the system's C runtime splits it: the
// program name runs to the next quote if it starts with one, else to the
// first blank; after it, blanks separate words outside quotes, quotes group
// and vanish, 2n backslashes before a quote give n and the quote groups,
// 2n+1 give n and a literal quote, "" inside quotes is a literal quote, and
// other backslashes are literal.
std::vector<std::wstring> CommandLineWords(std::wstring_view commandLine);
