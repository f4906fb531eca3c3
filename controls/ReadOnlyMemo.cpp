#include "controls/ReadOnlyMemo.h"

#include "controls/Subclass.h"

namespace {

LRESULT CALLBACK ReadOnlyMemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallControlProcedure(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        return result & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    return result;
}

}  // namespace

void MakeReadOnlyMemo(HWND edit)
{
    Subclass(edit, ReadOnlyMemoProcedure);
}
