#include "platform/sys/single_instance.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::ScopedEnv;
using testing_support::TempFolder;

// Starts a process that takes the lock, tells the parent so, and waits.
pid_t startLockHolder()
{
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        const char answer = sys::PreviousInstanceRunning() ? 'n' : 'y';
        if (write(ready[1], &answer, 1) != 1) _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char answer = 0;
    const bool locked = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    return locked ? child : -1;
}

TEST(SingleInstance, AnotherHolderIsSeenAndACrashedOneReleasesTheLock)
{
    TempFolder runtime;
    ScopedEnv variable("XDG_RUNTIME_DIR", runtime.path().string());

    const pid_t holder = startLockHolder();
    ASSERT_GT(holder, 0);
    EXPECT_TRUE(sys::PreviousInstanceRunning());

    // A crash: the holder is killed and never releases anything itself.
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_FALSE(sys::PreviousInstanceRunning());
    // This process holds the lock now and keeps it.
    EXPECT_FALSE(sys::PreviousInstanceRunning());
    EXPECT_TRUE(std::filesystem::exists(runtime.path() / "tarvex" / "tarvex.lock"));
    EXPECT_EQ(std::filesystem::status(runtime.path() / "tarvex").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
}

TEST(SingleInstance, RuntimeFolderFallsBackToAPerUserFolderInTmp)
{
    ScopedEnv variable("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(sys::RuntimeFolder(), std::filesystem::path("/tmp/tarvex-" + std::to_string(geteuid())));
}

} // namespace
