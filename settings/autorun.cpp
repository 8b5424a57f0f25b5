#include "settings/autorun.h"

#include <windows.h>

#include "settings/regaccess.h"
#include "settings/settingsstore.h"
#include "toolkit/commandline.h"

namespace {

void WriteRunEntry(std::wstring_view exePath)
{
    // The shell runs the entry as a command line: a path with spaces must be
    // quoted.
    WriteRegValue(HKEY_CURRENT_USER, kUserRunKey, kUserRunValue, CommandForPath(exePath), TRegDataType::rdString);
}

std::wstring RunEntry()
{
    return ReadRegString(kUserRunKey, kUserRunValue, HKEY_CURRENT_USER);
}

// The entry starts the program at exePath.
bool RunEntryStarts(std::wstring_view exePath)
{
    return RunEntry() == CommandForPath(exePath);
}

// Ours, or one that starts nothing; never another copy's entry, which that
// copy's box still shows ticked.
void RemoveOwnRunEntry(std::wstring_view exePath)
{
    if (RunEntryOfAnotherCopy(exePath)) return;
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(kUserRunKey, false)) reg.DeleteValue(kUserRunValue);
}

void WriteFlag(const wchar_t* flag)
{
    SettingsStore().Write({{kAutorunFlagValue, std::wstring(flag)}});
}

} // namespace

std::optional<std::wstring> RunEntryOfAnotherCopy(std::wstring_view exePath)
{
    const std::wstring entry = RunEntry();
    if (entry.empty() || entry == CommandForPath(exePath)) return std::nullopt;
    // The program's path, as the shell finds it in the command. A copy
    // moved or deleted since, whose file is not found, starts nothing.
    const std::vector<std::wstring> words = CommandLineWords(entry);
    const std::wstring program = words.empty() || words.front().empty() ? entry : words.front();
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND))
        return std::nullopt;
    return program;
}

bool ReconcileAutorunAtStart(std::wstring_view exePath)
{
    // A portable copy writes nothing on a machine at its start, not even on
    // one it was started with before. An installed copy takes the entry back
    // from no other copy: the two would take it from each other at every start.
    if (!SettingsStore().Portable()) {
        const std::wstring flag = SettingsStore().Text(kAutorunFlagValue, 255).value_or(std::wstring());
        if (flag == L"1" && !RunEntryOfAnotherCopy(exePath))
            WriteRunEntry(exePath);
        else if (flag == L"0")
            RemoveOwnRunEntry(exePath);
    }
    return RunEntryStarts(exePath);
}

void ApplyAutorunChoice(bool checked, std::wstring_view exePath)
{
    // The entry is the one thing a portable copy leaves on the machine: it
    // keeps no flag.
    if (!SettingsStore().Portable()) WriteFlag(checked ? L"1" : L"0");
    if (!checked)
        RemoveOwnRunEntry(exePath);
    else if (!RunEntryStarts(exePath))
        WriteRunEntry(exePath);
}
