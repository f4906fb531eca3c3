// The test programs start the modules as the program does, before any test runs.
#include "text/SharedStrings.h"

#include <gtest/gtest.h>

namespace {
class ModuleStart : public ::testing::Environment {
public:
    void SetUp() override { StartSharedStrings(); }
    void TearDown() override { StopSharedStrings(); }
};
}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ModuleStart);
    return RUN_ALL_TESTS();
}
