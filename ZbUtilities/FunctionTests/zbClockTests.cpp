// zbClock: the "#_time_" lines, elapsed texts and date formats.

#include <ctime>
#include <regex>

#include "zbClock.h"
#include "zbTestSupport.h"

namespace
{
// A clock whose start and end are chosen by the test.
class SetClock : public zbClock
{
  public:
    SetClock(time_t iSeconds, clock_t iTicks)
    {
        _StartTime = 1000, _EndTime = 1000 + iSeconds;
        _StartTicks = 500, _EndTicks = 500 + iTicks;
    }
};

const std::string kSeparator = "#_time_  " + std::string(99, '-') + "\n";
} // namespace

TEST(zbClock, ElapsedTextsFromTheEndFields)
{
    const std::tuple<time_t, clock_t, const char*, const char*> rows[] = {
        {0, 0, "Real 00:00:00", "User     0.00"},
        {3723, 1250000, "Real 01:02:03", "User     1.25"},
        {25 * 3600, 0, "Real 01:00:00", "User     0.00"}, // whole days dropped
        {-5, -7, "Real 00:00:00", "User     0.00"},       // never negative
    };
    for (const auto& [seconds, ticks, real, user] : rows)
    {
        SetClock clock(seconds, ticks);
        EXPECT_STREQ(clock.RealElapsedStr(), real) << seconds;
        EXPECT_STREQ(clock.UserElapsedStr(), user) << ticks;
    }
}

// The global kind, framed by separators, is shown by zbsvc run -time
// (zbsvcRunTests).
TEST(zbClock, ClockOutLinesAndFill)
{
    const std::string text(40, 't');
    const std::string tail = "Real 00:00:00 User     0.00\n";
    const std::tuple<zbClock::KindOfClockOut, std::string, std::string> rows[] = {
        // 75 characters: 3 blanks; exactly 70: none; fewer: padded to 70.
        {zbClock::Cumulated, std::string(35, 'l'),
         "#_time_C" + text + std::string(35, 'l') + "   " + tail + kSeparator},
        {zbClock::Intermediate, std::string(30, 'l'),
         "#_time_I" + text + std::string(30, 'l') + tail},
        {zbClock::Intermediate, "ab", "#_time_I" + text + "ab" + std::string(28, ' ') + tail},
    };
    for (const auto& [kind, label, expected] : rows)
    {
        zbClock clock;
        zbtest::Capture out(1);
        clock.ClockOut(kind, label.c_str(), text.c_str());
        // The processor time spent since the clock started is the
        // machine's (a slow one shows 0.01): its figure is not compared.
        EXPECT_EQ(
            std::regex_replace(out.Stop(), std::regex("User +[0-9]+\\.[0-9]{2}"), "User     0.00"),
            expected)
            << label;
    }
}

TEST(zbClock, DateTexts)
{
    long now = 0;
    std::string both = zbClock::DateAndTime(&now);
    char expected[32];
    time_t t = now;
    std::strftime(expected, sizeof expected, "%m/%d/%Y-%H:%M:%S", std::localtime(&t));
    EXPECT_EQ(both, expected);
    EXPECT_STREQ(zbClock::GetDeltaTime(100, 100 + 3723), "01:02:03");
    EXPECT_STREQ(zbClock::GetDeltaTime(100, 50), "00:00:00");
}
