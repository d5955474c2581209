#include <gtest/gtest.h>

#include <string>

#include "app/KeepLog.h"
#include "app/KeepSchedule.h"
#include "support/TempDir.h"

// After an event the keeper looks at 0.5, 2, 5 and 15 s, naming the event; between
// them every 3 s; a keeper that was suspended owes no missed periodic checks.
TEST(KeepSchedule, ChecksAfterEachEventAndEveryThreeSeconds)
{
    using std::chrono::milliseconds;
    const KeepSchedule::Clock::time_point start{};
    KeepSchedule schedule(start);
    schedule.EventAt(start + milliseconds(1000), "resume");
    const struct { int at; const char* cause; } steps[] = {
        {1400, nullptr}, {1500, "resume"}, {2999, nullptr}, {3000, "resume"},  // the event's check wins
        {5999, nullptr}, {6000, "resume"}, {9000, "periodic check"}, {16000, "resume"},
        {60000, "periodic check"}, {62999, nullptr}, {63000, "periodic check"},
    };
    for (const auto& step : steps) {
        const auto now = start + milliseconds(step.at);
        const char* cause = schedule.TakeDue(now);
        EXPECT_EQ(cause ? std::string(cause) : "", step.cause ? step.cause : "") << step.at;
        EXPECT_GT(schedule.NextCheck(), now) << step.at;
    }
}

TEST(KeepLog, RotatesOnceTheFileWouldPassItsCap)
{
    const TempDir dir;
    const std::string log = dir.PathOf("keep.log"), line = FormatKeepLogLine(0, 1, "resume", 300);
    EXPECT_NE(line.find(" display 1: re-applied after resume (largest difference 300)"), std::string::npos) << line;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(AppendKeepLogLine(log, line, 2 * (line.size() + 1)));
    EXPECT_EQ(dir.Read("keep.log").size(), line.size() + 1);
    EXPECT_EQ(dir.Read("keep.log.1").size(), 2 * (line.size() + 1));
}
