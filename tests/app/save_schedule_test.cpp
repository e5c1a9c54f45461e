#include "app/save_schedule.h"

#include <gtest/gtest.h>

#include "app/input_history.h"
#include "app/settings.h"
#include "vm/variable_list.h"

namespace quenmark {
namespace {

using namespace std::chrono_literals;
using Clock = TSaveSchedule::Clock;

TEST(SaveSchedule, WritesAtOnceThenAtMostOnceAnInterval) {
    TSaveSchedule schedule(1000ms);
    const Clock::time_point start{};
    EXPECT_FALSE(schedule.Pending());
    // The first change of a run is written at once.
    EXPECT_EQ(schedule.Changed(start + 5s), 0ms);
    EXPECT_TRUE(schedule.Pending());
    schedule.Written(start + 5s);
    EXPECT_FALSE(schedule.Pending());
    // Within the interval a change waits for the rest of it; after it, none.
    EXPECT_EQ(schedule.Changed(start + 5s + 300ms), 700ms);
    EXPECT_TRUE(schedule.Pending());
    EXPECT_EQ(schedule.Changed(start + 5s + 900ms), 100ms);
    schedule.Written(start + 6s);
    EXPECT_EQ(schedule.Changed(start + 8s), 0ms);
}

TEST(KeptStateMark, ChangesWithEachKindOfKeptState) {
    TSettings settings("unused.cfg");
    TVMVariableList variables;
    TInputHistory history;
    const TKeptStateMark start = MarkKeptState(settings, variables, history);
    EXPECT_EQ(MarkKeptState(settings, variables, history), start);

    variables.Add("x", Variant(int32_t{1}));
    const TKeptStateMark afterVariable = MarkKeptState(settings, variables, history);
    EXPECT_NE(afterVariable, start);
    history.Enter("x = 1", 50);
    const TKeptStateMark afterHistory = MarkKeptState(settings, variables, history);
    EXPECT_NE(afterHistory, afterVariable);
    settings.OutputMode = 1;
    const TKeptStateMark afterMode = MarkKeptState(settings, variables, history);
    EXPECT_NE(afterMode, afterHistory);
    settings.OutputFormat = "0.00";
    EXPECT_NE(MarkKeptState(settings, variables, history), afterMode);
}

}  // namespace
}  // namespace quenmark
