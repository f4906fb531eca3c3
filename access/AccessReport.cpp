#include "access/AccessReport.h"

#include "text/SharedStrings.h"

namespace {

const wchar_t* const StepLabels[AccessStepCount] = {
    L"     Create new directory: ",
    L"     Delete directory: ",
    L"     Create new file: ",
    L"     Delete file: ",
    L"     Open existing file for Read/Write access: ",
};

}  // namespace

std::wstring FolderAccessReport(const std::wstring& folder, const StepStates& states)
{
    std::wstring report = L"A test-write to the following folder failed:" + LineBreak + folder + ParagraphBreak +
                          L"Hardware failure is a possibility, but the problem is most " +
                          L"likely that you do not full access rights to that location." + ParagraphBreak;
    report += L"Here is a summary of the test results:" + LineBreak;
    for (int step = 0; step < AccessStepCount; ++step) {
        if (states[step] == ssNotPerformed)
            continue;
        report += StepLabels[step];
        report += states[step] == ssSuccess ? L"Success." : L"Failure.";
        report += LineBreak;
    }
    report += LineBreak;
    report += L"Tessaline's built-in User's Guide is available in "
              L"the program's Help Menu once the system is installed or at its Setup screen before "
              L"installation.  Full coverage of network permissions issues is presented "
              L"in Section 3-7 of that book.  Please refer to Section 3-7, "
              L"and contact your network administrator for assistance.  If, and only if, "
              L"your administrator is unable to resolve the problem, contact Morvath "
              L"Industries' Technical Support Department at 555-010-4471.";
    return report;
}
