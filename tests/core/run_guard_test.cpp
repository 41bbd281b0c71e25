#include "app/core/run_guard.h"

#include <gtest/gtest.h>

TEST(RunGuardTest, NestedRunsKeepTheOuterSnapshotUntilTheOutermostEnds)
{
    EXPECT_FALSE(RunGuard::active());
    {
        RunGuard outer("http://SRC/ws", "http://DST/ws");
        {
            RunGuard inner("http://SRC/other", "http://DST/other");
            EXPECT_EQ(RunGuard::sourceAddress(), "http://SRC/ws");
            EXPECT_EQ(RunGuard::destinationAddress(), "http://DST/ws");
        }
        EXPECT_TRUE(RunGuard::active());
        EXPECT_EQ(RunGuard::sourceAddress(), "http://SRC/ws");
    }
    EXPECT_FALSE(RunGuard::active());
    EXPECT_EQ(RunGuard::sourceAddress(), "");
}
