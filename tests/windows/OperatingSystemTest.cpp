// The operating-system facts as Wine reports them, and the 64-bit probe over posed entries.
#include "tests/windows/TestSupport.h"
#include "tests/windows/fakes/TestSeams.h"
#include "validation/OperatingSystem.h"

namespace {

UINT WINAPI AnswersADirectory(LPSTR buffer, UINT size)
{
    const char directory[] = "C:\\windows\\syswow64";
    lstrcpynA(buffer, directory, static_cast<int>(size));
    return sizeof directory - 1;
}

UINT WINAPI NotImplemented(LPSTR, UINT)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

UINT WINAPI FailsOtherwise(LPSTR, UINT size)
{
    EXPECT_EQ(size, 144u);
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

}  // namespace

using OperatingSystemTest = SeamTest;

TEST_F(OperatingSystemTest, TheProbeReadsTheWow64Entry)
{
    EXPECT_FALSE(Is64BitWindowsUsing(nullptr));
    EXPECT_FALSE(Is64BitWindowsUsing(NotImplemented));
    EXPECT_TRUE(Is64BitWindowsUsing(FailsOtherwise));
    EXPECT_TRUE(Is64BitWindowsUsing(AnswersADirectory));
}

TEST_F(OperatingSystemTest, RecordsWhatTheSystemReports)
{
    const OSVersionFacts facts = ReadOSVersionFacts();
    EXPECT_EQ(facts.Platform, PlatformClass::pcWindowsNT64);  // a 64-bit program on 64-bit Wine
    EXPECT_GE(facts.Major, 5);
    EXPECT_TRUE(IsWindowsNT());
    EXPECT_TRUE(Is64BitWindows());
}
