#pragma once
// Toolkit cursor identifiers and the screen-wide cursor, which overrides the cursors of all the
// program's windows while it is not crDefault.
#include <windows.h>

using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crHourGlass = -11;

HCURSOR CursorHandle(TCursor cursor);  // nullptr for crDefault

namespace Screen {
TCursor Cursor();
void SetCursor(TCursor cursor);
}  // namespace Screen
