#pragma once
#include <string>

// The program folder: the process's current directory as the start-up validation read it. The
// address list file lives here.
extern std::wstring ProgramFolder;
