#include "settings/autorun.h"

#include <string>

#include "settings/regaccess.h"
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

void WriteFlag(const wchar_t* flag)
{
    WriteRegValue(HKEY_CURRENT_USER, kAutorunFlagKey, kAutorunFlagValue, flag, TRegDataType::rdString);
}

} // namespace

void ReconcileAutorunAtStart(const std::function<void(bool checked)>& setChecked, std::wstring_view exePath)
{
    const std::wstring flag = ReadRegString(kAutorunFlagKey, kAutorunFlagValue, HKEY_CURRENT_USER);
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
    if (checked) {
        WriteFlag(L"1");
        WriteRunEntry(exePath);
    } else {
        WriteFlag(L"0");
        RemoveRunEntry();
    }
}
