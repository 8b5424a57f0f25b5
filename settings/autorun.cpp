#include "settings/autorun.h"

#include <string>

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

void RemoveRunEntry()
{
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(kUserRunKey, false)) reg.DeleteValue(kUserRunValue);
}

// The entry starts the program at exePath.
bool RunEntryStarts(std::wstring_view exePath)
{
    return ReadRegString(kUserRunKey, kUserRunValue, HKEY_CURRENT_USER) == CommandForPath(exePath);
}

void WriteFlag(const wchar_t* flag)
{
    SettingsStore().Write({{kAutorunFlagValue, std::wstring(flag)}});
}

} // namespace

void ReconcileAutorunAtStart(const std::function<void(bool checked)>& setChecked, std::wstring_view exePath)
{
    if (SettingsStore().Portable()) {
        // A portable copy writes nothing on a machine at its start, not even
        // on one it was started with before: the box shows whether this
        // machine starts this copy.
        if (setChecked) setChecked(RunEntryStarts(exePath));
        return;
    }
    const std::wstring flag = SettingsStore().Text(kAutorunFlagValue, 255).value_or(std::wstring());
    if (flag == L"1") {
        if (setChecked) setChecked(true);
        WriteRunEntry(exePath);
    } else if (flag == L"0") {
        if (setChecked) setChecked(false);
        RemoveRunEntry();
    }
}

void ApplyAutorunChoice(bool checked, std::wstring_view exePath)
{
    if (SettingsStore().Portable()) {
        // The entry is the one thing a portable copy leaves on the machine;
        // an installed copy's entry is not its to remove.
        const bool starts = RunEntryStarts(exePath);
        if (checked && !starts)
            WriteRunEntry(exePath);
        else if (!checked && starts)
            RemoveRunEntry();
        return;
    }
    if (checked) {
        WriteFlag(L"1");
        WriteRunEntry(exePath);
    } else {
        WriteFlag(L"0");
        RemoveRunEntry();
    }
}
