// The identifiers of the program's resources and of the main window's controls. OK is IDOK, so
// that Enter presses it; no control is IDCANCEL, so that Escape arrives as a command of its own.
#pragma once

#define IDI_PROGRAM 1
#define IDD_MAIN 100

#define IDC_ADDRESS_LABEL 1001
#define IDC_LIST_LABEL 1002
#define IDC_ADD 1003
#define IDC_LIST 1004
#define IDC_DELETE 1005
#define IDC_EXPLANATION 1006
#define IDC_CANCEL 1007
#define IDC_APPLY 1008
#define IDC_ADDRESS 1009
