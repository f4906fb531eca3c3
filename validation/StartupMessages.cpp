#include "validation/StartupMessages.h"

#include "text/SharedStrings.h"
#include "validation/SupportRule.h"

const wchar_t ShutDownNotice[] = L"The program will now be shut down.";

namespace {

wchar_t AsciiUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsDriveLetter(wchar_t c)
{
    return c >= L'C' && c <= L'Z';
}

bool IsFolderInitial(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z');
}

// The advice on mapping a drive, shared by the UNC and the root-directory paragraphs.
const wchar_t MappingAdvice[] =
    L"that you do not map the drive to the server's KWO folder but, rather, map it one level higher "
    L"to the drive or folder that contains the KWO folder.  The path will then appear to be in the required X:\\KWO format from "
    L"the workstation's perspective regardless of where the KWO folder actually resides on the server.";

std::wstring VariantParagraph(const std::wstring& folder)
{
    if (folder.size() >= 3 && folder[0] == L'\\' && folder[1] == L'\\')
        return ParagraphBreak +
               L"UNC paths (paths in the form of \\\\server\\resource) are NOT supported.  Supposing that Tessaline is "
               L"located in a folder named KWO, you need to map a network drive to the drive or folder containing the KWO folder on the server.  Note " +
               MappingAdvice;
    if (folder.size() == 3 && folder[2] == L'\\')
        return ParagraphBreak +
               L"The system appears to be running in a root directory rather than in a sub-folder.  Root "
               L"directory operation is not permitted.  If this is a network, you "
               L"need to map a network drive to the drive or folder containing Tessaline on the server." +
               ParagraphBreak +
               L"Suppose that Tessaline resides in a folder named KWO (the traditional choice for this application).  Note " +
               MappingAdvice;
    return std::wstring();
}

}  // namespace

bool IsValidInstallLocation(const std::wstring& folder)
{
    return folder.size() >= 4 && IsDriveLetter(AsciiUpper(folder[0])) && folder[1] == L':' && folder[2] == L'\\' &&
           IsFolderInitial(AsciiUpper(folder[3]));
}

std::wstring LocationMessage(const std::wstring& folder)
{
    return L"Tessaline must be located in an X:\\Folder directory where \"X\" represents some local or network drive and "
           L"\"Folder\" is any directory name.  Although \"KWO\" is the folder name traditionally used, other choices are also valid." +
           ParagraphBreak + L"Your Tessaline system cannot function since it is running from the following location: " +
           LineBreak + folder + VariantParagraph(folder) + ParagraphBreak +
           L"Please refer to Section 3-7 of the User's Guide for complete details on this issue.  If you "
           L"do not have a printed User's Guide, note that electronic versions of the book are available at "
           L"the main screen of Tessaline's Setup program; simply run the setup program, and "
           L"view the User's Guide in either a PDF or HTML format." +
           ParagraphBreak +
           L"If reading Section 3-7 did not allow you to solve the problem, contact Morvath Industries "
           L"Technical Support at (555) 010-4471, extension 2.  Please do not call unless you have first followed "
           L"the guidelines presented in Section 3-7.";
}

std::wstring ComponentsMessage()
{
    return L"One or more of Tessaline's components cannot be located or is outdated.  The program cannot run in this state." +
           ParagraphBreak +
           L"You can solve this problem in most cases simply by reinstalling Tessaline from the most recent CD you received from Morvath Industries." +
           ParagraphBreak +
           L"Important: Do NOT uninstall the system before reinstalling, as doing so would "
           L"cause your existing jobs to be lost!  Intead, simply install over the existing system using the latest CD." +
           ParagraphBreak +
           L"Only if reinstalling the system from the latest CD did not solve the problem, contact Morvath Industries Technical Support at (555) 010-4471, extension 2.";
}

namespace {

// "1 object was", "2 objects were".
std::wstring Counted(std::size_t count, const wchar_t* one, const wchar_t* many)
{
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

// What the repair left alone on purpose, each kind in a sentence of its own; empty where nothing.
std::wstring LeftUnchanged(const WalkReport& repair)
{
    std::wstring sentences;
    const auto add = [&](std::size_t count, const wchar_t* one, const wchar_t* many) {
        if (count > 0)
            sentences += L"  " + Counted(count, one, many) + L" left unchanged.";
    };
    add(repair.SecondNames, L"file that also has a name elsewhere, perhaps outside the folder, was",
        L"files that also have a name elsewhere, perhaps outside the folder, were");
    add(repair.LinksLeft, L"link was", L"links were");
    add(repair.NotAsListed, L"object that was not the one the folder listed under its name was",
        L"objects that were not the ones the folder listed under their names were");
    return sentences;
}

// A repair that went through the whole tree but left something alone, which may still refuse access.
std::wstring RepairLeftAloneMessage(const WalkReport& repair)
{
    return L"The access rights of the program folder were repaired: " +
           Counted(repair.Changed, L"object was", L"objects were") + L" given access for everyone." + LeftUnchanged(repair) +
           ParagraphBreak + L"What was left unchanged may still refuse access.";
}

}  // namespace

std::wstring RepairStoppedMessage(const WalkReport& repair, const std::wstring& reason)
{
    return L"The access rights of the program folder could not be repaired completely.  The repair stopped at "
           L"the following object:" +
           LineBreak + repair.StoppedAt + ParagraphBreak + reason + ParagraphBreak +
           Counted(repair.Changed, L"object was", L"objects were") + L" given access for everyone before it stopped." +
           LeftUnchanged(repair);
}

std::vector<StartupNotice> StartupNotices(const StartupVerdict& verdict, const std::wstring& repairReason)
{
    std::vector<StartupNotice> notices;
    if (verdict.Repair && !verdict.Repair->Complete)
        notices.push_back({NoticeKind::Warning, RepairStoppedMessage(*verdict.Repair, repairReason), false});
    else if (verdict.Repair && !LeftUnchanged(*verdict.Repair).empty())
        notices.push_back({NoticeKind::Warning, RepairLeftAloneMessage(*verdict.Repair), false});
    switch (verdict.Problem) {
    case StartupProblem::None: return notices;
    case StartupProblem::UnsupportedSystem: notices.push_back({NoticeKind::Error, UnsupportedSystemMessage(), false}); break;
    case StartupProblem::BadLocation:
        notices.push_back({NoticeKind::Error, LocationMessage(verdict.ProgramFolder), false});
        break;
    case StartupProblem::MissingComponents: notices.push_back({NoticeKind::Error, ComponentsMessage(), false}); break;
    case StartupProblem::NoFolderAccess:
        notices.push_back({NoticeKind::Error, FolderAccessReport(verdict.ProgramFolder, verdict.AccessSteps), true});
        break;
    }
    notices.push_back({NoticeKind::Information, ShutDownNotice, false});
    return notices;
}
