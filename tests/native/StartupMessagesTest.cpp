// The install-location rule and the texts the start-up validation and the folder access test show.
#include "access/AccessReport.h"
#include "validation/StartupMessages.h"
#include "validation/SupportRule.h"

#include <gtest/gtest.h>

TEST(InstallLocation, AcceptsXColonBackslashFolderOnly)
{
    for (const wchar_t* valid : {L"C:\\APPS", L"c:\\apps\\data", L"E:\\1", L"Z:\\KWO", L"d:\\kwo\\", L"C:\\A b"})
        EXPECT_TRUE(IsValidInstallLocation(valid)) << valid;
    for (const wchar_t* invalid : {L"C:\\", L"A:\\APPS", L"B:\\KWO", L"C:\\_KWO", L"C:\\$KWO", L"C:\\ KWO", L"C:\\\u00C9COLE",
                                   L"C:\\\u0100", L"\\\\server\\share\\KWO", L"C:KWO", L"C;\\KWO", L"CC\\KWO", L"", L"C:",
                                   L"1:\\KWO", L"\uFF23:\\KWO"})
        EXPECT_FALSE(IsValidInstallLocation(invalid)) << invalid;
}

namespace {
const std::wstring Opening =
    L"Tessaline must be located in an X:\\Folder directory where \"X\" represents some local or network drive and \"Folder\" "
    L"is any directory name.  Although \"KWO\" is the folder name traditionally used, other choices are also valid.\r\n\r\n"
    L"Your Tessaline system cannot function since it is running from the following location: \r\n";
const std::wstring Tail =
    L"\r\n\r\nPlease refer to Section 3-7 of the User's Guide for complete details on this issue.  If you do not have a "
    L"printed User's Guide, note that electronic versions of the book are available at the main screen of Tessaline's "
    L"Setup program; simply run the setup program, and view the User's Guide in either a PDF or HTML format.\r\n\r\n"
    L"If reading Section 3-7 did not allow you to solve the problem, contact Morvath Industries Technical Support at "
    L"(555) 010-4471, extension 2.  Please do not call unless you have first followed the guidelines presented in Section 3-7.";
const std::wstring Advice =
    L"that you do not map the drive to the server's KWO folder but, rather, map it one level higher to the drive or folder "
    L"that contains the KWO folder.  The path will then appear to be in the required X:\\KWO format from the workstation's "
    L"perspective regardless of where the KWO folder actually resides on the server.";
}  // namespace

TEST(LocationMessage, PlainForAnyOtherFolderShownAsItWasRead)
{
    EXPECT_EQ(LocationMessage(L"a:\\apps"), Opening + L"a:\\apps" + Tail);
    EXPECT_EQ(LocationMessage(L"D:\\_kwo"), Opening + L"D:\\_kwo" + Tail);
}

TEST(LocationMessage, CarriesTheRootParagraphForARootDirectory)
{
    EXPECT_EQ(LocationMessage(L"C:\\"),
              Opening + L"C:\\" +
                  L"\r\n\r\nThe system appears to be running in a root directory rather than in a sub-folder.  Root directory "
                  L"operation is not permitted.  If this is a network, you need to map a network drive to the drive or folder "
                  L"containing Tessaline on the server.\r\n\r\nSuppose that Tessaline resides in a folder named KWO (the "
                  L"traditional choice for this application).  Note " +
                  Advice + Tail);
}

TEST(LocationMessage, CarriesTheUncParagraphForANetworkPath)
{
    EXPECT_EQ(LocationMessage(L"\\\\server\\share\\KWO"),
              Opening + L"\\\\server\\share\\KWO" +
                  L"\r\n\r\nUNC paths (paths in the form of \\\\server\\resource) are NOT supported.  Supposing that Tessaline "
                  L"is located in a folder named KWO, you need to map a network drive to the drive or folder containing the KWO "
                  L"folder on the server.  Note " +
                  Advice + Tail);
    EXPECT_NE(LocationMessage(L"\\\\\\").find(L"UNC paths"), std::wstring::npos);  // three characters: UNC wins over root
}

TEST(ComponentsMessage, ReadsAsItStands)
{
    EXPECT_EQ(ComponentsMessage(),
              L"One or more of Tessaline's components cannot be located or is outdated.  The program cannot run in this "
              L"state.\r\n\r\nYou can solve this problem in most cases simply by reinstalling Tessaline from the most recent "
              L"CD you received from Morvath Industries.\r\n\r\nImportant: Do NOT uninstall the system before reinstalling, "
              L"as doing so would cause your existing jobs to be lost!  Intead, simply install over the existing system using "
              L"the latest CD.\r\n\r\nOnly if reinstalling the system from the latest CD did not solve the problem, contact "
              L"Morvath Industries Technical Support at (555) 010-4471, extension 2.");
    EXPECT_EQ(std::wstring(ShutDownNotice), L"The program will now be shut down.");
}

TEST(FolderAccessReport, ListsOnlyThePerformedSteps)
{
    const StepStates states = {ssSuccess, ssSuccess, ssFailure, ssNotPerformed, ssSuccess};
    EXPECT_EQ(FolderAccessReport(L"D:\\KWO", states),
              L"A test-write to the following folder failed:\r\nD:\\KWO\r\n\r\nHardware failure is a possibility, but the "
              L"problem is most likely that you do not full access rights to that location.\r\n\r\n"
              L"Here is a summary of the test results:\r\n"
              L"     Create new directory: Success.\r\n"
              L"     Delete directory: Success.\r\n"
              L"     Create new file: Failure.\r\n"
              L"     Open existing file for Read/Write access: Success.\r\n"
              L"\r\nTessaline's built-in User's Guide is available in the program's Help Menu once the system is installed "
              L"or at its Setup screen before installation.  Full coverage of network permissions issues is presented in "
              L"Section 3-7 of that book.  Please refer to Section 3-7, and contact your network administrator for "
              L"assistance.  If, and only if, your administrator is unable to resolve the problem, contact Morvath "
              L"Industries' Technical Support Department at 555-010-4471.");
    const StepStates nothing = {ssFailure, ssNotPerformed, ssFailure, ssNotPerformed, ssNotPerformed};
    const std::wstring report = FolderAccessReport(L"X", nothing);
    EXPECT_NE(report.find(L"test results:\r\n     Create new directory: Failure.\r\n     Create new file: Failure.\r\n\r\n"),
              std::wstring::npos);
}

namespace {

StartupVerdict Verdict(StartupProblem problem)
{
    StartupVerdict verdict;
    verdict.Problem = problem;
    verdict.ProgramFolder = L"D:\\KWO";
    verdict.AccessSteps = {ssFailure, ssNotPerformed, ssFailure, ssNotPerformed, ssSuccess};
    return verdict;
}

WalkReport StoppedRepair()
{
    WalkReport repair;
    repair.Changed = 12;
    repair.SecondNames = 2;
    repair.LinksLeft = 1;
    repair.StoppedAt = L"D:\\KWO\\DATA\\LOCKED";
    return repair;
}

}  // namespace

TEST(StartupNotices, EachFailedCheckIsExplainedAndThenTheShutDown)
{
    struct Case {
        StartupProblem Problem;
        std::wstring Explanation;
        bool Beep;
    };
    const Case cases[] = {
        {StartupProblem::UnsupportedSystem, UnsupportedSystemMessage(), false},
        {StartupProblem::BadLocation, LocationMessage(L"D:\\KWO"), false},
        {StartupProblem::MissingComponents, ComponentsMessage(), false},
        {StartupProblem::NoFolderAccess, FolderAccessReport(L"D:\\KWO", Verdict(StartupProblem::None).AccessSteps), true},
    };
    for (const Case& c : cases) {
        const auto notices = StartupNotices(Verdict(c.Problem), L"");
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_EQ(notices[0].Kind, NoticeKind::Error);
        EXPECT_EQ(notices[0].Text, c.Explanation);
        EXPECT_EQ(notices[0].Beep, c.Beep);
        EXPECT_EQ(notices[1].Kind, NoticeKind::Information);
        EXPECT_EQ(notices[1].Text, L"The program will now be shut down.");
    }
    EXPECT_TRUE(StartupNotices(Verdict(StartupProblem::None), L"").empty());
}

TEST(StartupNotices, ARepairThatStoppedSaysWhereWhyAndWhatItLeftWhateverTheTestThenFound)
{
    StartupVerdict passed = Verdict(StartupProblem::None);
    passed.Repair = StoppedRepair();
    const auto notices = StartupNotices(passed, L"Access is denied.");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].Kind, NoticeKind::Warning);
    EXPECT_EQ(notices[0].Text,
              L"The access rights of the program folder could not be repaired completely.  The repair stopped at the "
              L"following object:\r\nD:\\KWO\\DATA\\LOCKED\r\n\r\nAccess is denied.\r\n\r\n12 objects were given access for "
              L"everyone before it stopped.  2 files that also have a name elsewhere, perhaps outside the folder, were left "
              L"unchanged.  1 link was left unchanged.");
    StartupVerdict failed = Verdict(StartupProblem::NoFolderAccess);
    failed.Repair = StoppedRepair();
    EXPECT_EQ(StartupNotices(failed, L"Access is denied.").size(), 3u);
    failed.Repair->Complete = true;
    failed.Repair->SecondNames = failed.Repair->LinksLeft = 0;  // a repair that ended and left nothing shows nothing of its own
    EXPECT_EQ(StartupNotices(failed, L"").size(), 2u);
}

TEST(StartupNotices, ARepairThatEndedSaysWhatItLeftAloneOfEachKind)
{
    const struct {
        std::size_t SecondNames, Links, NotAsListed;
        const wchar_t* Left;
    } cases[] = {
        {1, 0, 0, L"  1 file that also has a name elsewhere, perhaps outside the folder, was left unchanged."},
        {0, 2, 0, L"  2 links were left unchanged."},
        {0, 0, 1, L"  1 object that was not the one the folder listed under its name was left unchanged."},
        {2, 1, 3, L"  2 files that also have a name elsewhere, perhaps outside the folder, were left unchanged.  1 link was left "
                  L"unchanged.  3 objects that were not the ones the folder listed under their names were left unchanged."},
    };
    for (const auto& c : cases) {
        StartupVerdict verdict = Verdict(StartupProblem::None);
        verdict.Repair = WalkReport{5, c.SecondNames, c.Links, c.NotAsListed, true, L"", 0};
        const auto notices = StartupNotices(verdict, L"");
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].Kind, NoticeKind::Warning);
        EXPECT_EQ(notices[0].Text, std::wstring(L"The access rights of the program folder were repaired: 5 objects were given "
                                                L"access for everyone.") +
                                       c.Left + L"\r\n\r\nWhat was left unchanged may still refuse access.");
    }
}
