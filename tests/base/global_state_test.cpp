#include "base/global_state.h"

#include <gtest/gtest.h>

TEST(GlobalState, StartsWithTheProgramNumberAndTheReceiptKind)
{
    GlobalState state;
    EXPECT_EQ(state.ProgramNumber, 9);
    EXPECT_EQ(state.BiezacyRD, "KP");
    EXPECT_EQ(state.CommandArgIndex, 1);
    EXPECT_FALSE(state.StartupStop);
}
