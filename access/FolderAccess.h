#pragma once
// Whether the user can work in a folder: create and remove a sub-folder, create and delete a file,
// open an existing file for reading and writing. Every failure becomes a failed step; nothing raises.
#include "access/AccessReport.h"

#include <windows.h>

#include <functional>
#include <string>

// What the test does to the file system, one call a step; the system's own calls by default. Tests
// override single operations to pose what Wine cannot (a sub-folder that cannot be removed, a
// close that fails).
class FolderAccessOperations {
public:
    virtual ~FolderAccessOperations() = default;
    virtual bool CreateFolder(const std::wstring& path);
    virtual bool RemoveFolder(const std::wstring& path);
    virtual HANDLE CreateScratchFile(const std::wstring& path);
    virtual HANDLE OpenExistingFile(const std::wstring& path);
    virtual bool CloseFile(HANDLE file);
    virtual bool DeleteScratchFile(const std::wstring& path);
};

// The outcome of each step; every failure becomes a failed step. Pending window messages are let
// run (KeepResponsive) after the folder steps and after the file steps.
StepStates FolderAccessTest(const std::wstring& folder, bool includeFileSteps, const std::function<void()>& keepResponsive);
StepStates RunFolderAccessSteps(FolderAccessOperations& operations, const std::wstring& folder, bool includeFileSteps,
                                const std::function<void()>& keepResponsive);
// True when no step failed; steps not performed do not count.
bool AccessTestPassed(const StepStates& states);

// The files of a folder that the last step may open: no directories, nothing hidden or system,
// no programs or libraries (".DLL", ".EXE", ".PIF" in any letter case).
bool IsReadWriteCandidate(const WIN32_FIND_DATAW& entry);
