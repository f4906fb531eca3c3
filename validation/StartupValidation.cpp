#include "validation/StartupValidation.h"

#include "validation/ProgramFolder.h"

#include <windows.h>

std::wstring ProgramFolder;

// STAND-IN until the installation checks exist: every check counts as passed, and the program
// folder is the current directory as the system reports it.
bool ValidateStartupEnvironment()
{
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    folder.resize(GetCurrentDirectoryW(length, &folder[0]));
    ProgramFolder = folder;
    return false;
}
