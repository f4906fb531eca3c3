#include "toolkit/ErrorReport.h"

#include "errors/ExceptionDetails.h"
#include "toolkit/ErrorReportText.h"
#include "toolkit/MessageBox.h"

void ShowDefaultErrorReport()
{
    ShowMessageBox(ErrorReportText(CurrentError().Message), TMsgKind::Error, TMsgButtons::OK);
}
