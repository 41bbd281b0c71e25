#include "platform/sys/program_folder.h"
#include "platform/sys/single_instance.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::TempFolder;

// Starts a process that asks for the lock of the program folder. When it got
// the lock it tells the parent so and waits; otherwise it ends. Returns its id
// when it holds the lock, -1 when it was refused.
pid_t startLockHolder(const std::filesystem::path& programFolder)
{
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        sys::SetProgramFolderForTesting(programFolder);
        const char answer = sys::PreviousInstanceRunning() ? 'n' : 'y';
        if (write(ready[1], &answer, 1) != 1 || answer == 'n') _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char answer = 0;
    const bool locked = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    if (!locked) waitpid(child, nullptr, 0);
    return locked ? child : -1;
}

void stop(pid_t process)
{
    if (process <= 0) return;
    kill(process, SIGKILL);
    waitpid(process, nullptr, 0);
}

TEST(SingleInstance, OneCopyPerProgramFolderAndACrashedOneReleasesIt)
{
    TempFolder shared, other;

    const pid_t holder = startLockHolder(shared.path());
    ASSERT_GT(holder, 0);
    EXPECT_EQ(startLockHolder(shared.path()), -1) << "a second copy in the same folder";
    const pid_t elsewhere = startLockHolder(other.path());
    EXPECT_GT(elsewhere, 0) << "a copy in another folder shares nothing";
    stop(elsewhere);

    sys::SetProgramFolderForTesting(shared.path());
    EXPECT_TRUE(sys::PreviousInstanceRunning());

    // A crash: the holder is killed and never releases anything itself.
    stop(holder);
    EXPECT_FALSE(sys::PreviousInstanceRunning());
    // This process holds the lock now and keeps it.
    EXPECT_FALSE(sys::PreviousInstanceRunning());
    EXPECT_TRUE(std::filesystem::is_empty(shared.path())) << "taking the lock writes nothing";
    sys::SetProgramFolderForTesting({});
}

} // namespace
