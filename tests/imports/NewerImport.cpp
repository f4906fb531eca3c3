// Imports a function that came with Windows Vista, so that the import check is seen to refuse it.
// Built like the program (a GUI program, statically linked), so that this is its one refusal.
#include <windows.h>

extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return static_cast<int>(GetTickCount64() & 1);
}
