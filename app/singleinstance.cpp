#include "app/singleinstance.h"

#include <windows.h>

#include "toolkit/application.h"
#include "toolkit/commandline.h"
#include "toolkit/texts.h"

TSingleInstance::TSingleInstance(const std::wstring& name)
    : mutex_(CreateMutexW(nullptr, FALSE, name.c_str()))
{
    alreadyRunning_ = GetLastError() == ERROR_ALREADY_EXISTS;
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
