#include "app/ErrorReport.h"

#include "app/ErrorReportText.h"
#include "app/MessageBox.h"
#include "errors/ExceptionDetails.h"

void ShowErrorReport(HWND owner)
{
    ShowMessageBox(owner, ErrorReportText(CurrentError().Message), MessageKind::Error, MessageButtons::OK);
}
