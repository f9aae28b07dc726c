#include "base/date_state.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

TEST(DateState, TodayIsWrittenWithZeroPaddedMonthAndDay)
{
    GlobalState state;
    InitDateState(state, FixedClock(QDate(2019, 3, 5)));
    EXPECT_EQ(state.TodayText, "2019.03.05");
    EXPECT_EQ(state.CurrentYear, "2019");
    EXPECT_EQ(state.CurrentMonth, "03");

    InitDateState(state, FixedClock(QDate(2020, 12, 31)));
    EXPECT_EQ(state.TodayText, "2020.12.31");
    EXPECT_EQ(state.CurrentMonth, "12");
}
