#pragma once
// The program's one window: the server address list, with the address entry control to add
// entries in natural order, Delete for the selected entries, Apply and OK to save, Cancel.
#include "controls/phIPAddress.h"
#include "toolkit/Form.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

#include <string>

class TfrmManageIPAddresses : public TForm {
public:
    TfrmManageIPAddresses();

    TLabel& Label1;
    TLabel& Label2;
    TListBox& ListBox1;
    TBitBtn& btnAdd;
    TBitBtn& btnDelete;
    TMemo& Memo1;
    TBitBtn& BitBtnOk;
    TBitBtn& BitBtnCancel;
    TButton& btnApply;
    TphIPAddress& phIPAddress1;
    TTimer& Timer1;

    // Unsaved changes: set by an accepted Add and a confirmed Delete, cleared by a saved Apply.
    bool ListModified = false;

    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void btnAddClick();
    void btnDeleteClick();
    void btnApplyClick();
    void BitBtnOkClick();
    void BitBtnCancelClick();
    // Saves the list box's entries to the address list file inside the busy state.
    void UpdateFile();

private:
    void LoadList();
    void EnableSaving();

    bool OnShowEventPreviouslyEncountered = false;
    // Only a list that was read whole may be saved: saving any other would replace the file with
    // part of its content.
    bool FListLoaded = false;
};

extern TfrmManageIPAddresses* frmManageIPAddresses;

// Inserts Text before the first entry that it sorts before in natural order, or appends it, and
// makes it the only selected entry.
void InsertInNaturalOrder(const std::wstring& text, TListBox& listBox);
