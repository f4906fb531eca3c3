// The test programs start the modules as the program does, before any test runs: the shared
// strings first, then (on Windows) the operating-system facts.
#include "text/SharedStrings.h"
#ifdef _WIN32
#include "validation/OperatingSystem.h"
#endif

#include <gtest/gtest.h>

namespace {
class ModuleStart : public ::testing::Environment {
public:
    void SetUp() override
    {
        StartSharedStrings();
#ifdef _WIN32
        ReadOSVersionFacts();
#endif
    }
    void TearDown() override { StopSharedStrings(); }
};
}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ModuleStart);
    return RUN_ALL_TESTS();
}
