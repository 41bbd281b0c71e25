#include "platform/sys/program_folder.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderUnlessATestPointsItElsewhere)
{
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(sys::ProgramFolder(), executable.parent_path());

    testing_support::TempFolder folder;
    sys::SetProgramFolderForTesting(folder.path());
    EXPECT_EQ(sys::ProgramFolder(), folder.path());
    sys::SetProgramFolderForTesting({});
    EXPECT_EQ(sys::ProgramFolder(), executable.parent_path());
}

} // namespace
