#pragma once
// The program's one window: the server address list. A dialog from the resource script, run by
// the system's dialog manager, which gives it Tab, Enter (OK, or the push button that has the
// focus) and Escape (Delete while it is enabled, Cancel otherwise). One dialog procedure hands
// each message to a small handler; what the window does lives in the list editor, which the
// handlers feed and show. 300 ms after the window first shows, it checks the installation and
// fills the list.
#include "app/BusyState.h"
#include "app/ListEditor.h"
#include "app/ScrollingLayout.h"
#include "controls/phIPAddress.h"
#include "files/Pause.h"
#include "owners/Owners.h"
#include "validation/StartupValidation.h"

#include <windows.h>

#include <string>

class MainDialog : private StartupObserver {
public:
    explicit MainDialog(const OSVersionFacts& system);
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;
    ~MainDialog();

    // Makes the window, hidden, from the resource script; raises when it cannot be made.
    HWND Create();
    HWND Window() const { return FWindow; }
    // The deferred start-up, which the timer runs once, 300 ms after the first show.
    void StartUp();

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    void OnShowWindow(bool shown);
    void OnTimer(UINT_PTR timer);
    void OnCommand(WORD id, WORD code, HWND control);
    void OnNotify(const NMHDR& header);
    bool OnSetCursor(WORD hitTest);
    void OnClose();
    void OnAdd();
    void OnDelete();
    void OnApply();
    void OnOk();
    void OnCancel();
    void OnEscape();
    void OnWaitNotice(const WaitNotice* notice);

    // Saves the editor's entries inside the busy state; true when the list was saved.
    bool Save();
    template <class Work>
    void WhileBusy(Work work);
    void ShowNotices(const StartupVerdict& verdict);
    void ShowEditor();
    bool Ask(const wchar_t* question);
    void Tell(const wchar_t* refusal);
    void Close();
    HWND Control(int id) const { return GetDlgItem(FWindow, id); }

    void KeepResponsive() override;
    void RepairProgress(std::size_t objectsDone) override;

    OSVersionFacts FSystem;
    HWND FWindow = nullptr;
    ListEditor FEditor;
    TphIPAddress FAddress;
    BusyState FBusy;
    ScrollingLayout FLayout;
    std::wstring FProgramFolder;
    std::wstring FTitle;
    ImageListOwner FPictures[4];
    bool FStartUpArmed = false;
    bool FCloseWhenIdle = false;
    DWORD FRepairStarted = 0;
    DWORD FRepairShown = 0;
};
