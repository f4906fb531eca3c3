#include "app/MessagePump.h"

namespace {

void Dispatch(HWND dialog, MSG& message)
{
    if (IsWindow(dialog) && IsDialogMessageW(dialog, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

void RunMessageLoop(HWND dialog)
{
    MSG message;
    while (IsWindow(dialog) && GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(dialog, message);
}

void ProcessPendingMessages(HWND dialog)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
            return;
        }
        Dispatch(dialog, message);
    }
}
