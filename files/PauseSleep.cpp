#include "files/Pause.h"

#include <windows.h>

void Pause(unsigned milliseconds)
{
    Sleep(milliseconds);
}
