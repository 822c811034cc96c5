#include "surface/FrameTimer.h"

#include <gtest/gtest.h>

namespace vedivez {
namespace {

TEST(FrameTimerTest, TicksOnlyAfterAnIntervalWithLagCount) {
    FrameTimer timer;
    EXPECT_FALSE(timer.Poll(1000)) << "not started yet";
    timer.Start(1000);
    EXPECT_FALSE(timer.Poll(1015));
    EXPECT_EQ(timer.Poll(1040), 2);
    EXPECT_FALSE(timer.Poll(1050)) << "10 ms after a tick";
    EXPECT_EQ(timer.Poll(1056), 1);

    struct Case {
        uint32_t elapsed;
        int lag;
    };
    for (const Case c : {Case{16, 1}, Case{31, 1}, Case{32, 2}, Case{47, 2}, Case{100, 6}}) {
        FrameTimer t;
        t.Start(500);
        EXPECT_EQ(t.Poll(500 + c.elapsed), c.lag) << c.elapsed;
    }
}

TEST(FrameTimerTest, SixtyTicksInOneSecondGiveSixty) {
    FrameTimer timer;
    timer.Start(0);
    for (int k = 1; k < 60; ++k) {
        ASSERT_TRUE(timer.Poll(static_cast<uint32_t>(k * 1000 / 60)));
        ASSERT_EQ(timer.FrameRate(), 0) << "window not complete at tick " << k;
    }
    ASSERT_TRUE(timer.Poll(1000));
    EXPECT_EQ(timer.FrameRate(), 60);
    // A new window starts at the closing tick.
    ASSERT_TRUE(timer.Poll(1500));
    ASSERT_TRUE(timer.Poll(2000));
    EXPECT_EQ(timer.FrameRate(), 2);
}

TEST(FrameTimerTest, FrameRateRoundsHalvesToEven) {
    struct Case {
        int ticks;
        uint32_t span;
        int rate;
    };
    const Case cases[] = {
        {3, 1200, 2}, // 2.5
        {3, 2000, 2}, // 1.5
        {9, 1200, 8}, // 7.5
        {9, 2000, 4}, // 4.5
        {3, 1100, 3}, // 2.73
        {2, 1500, 1}, // 1.33
    };
    for (const Case& c : cases) {
        FrameTimer timer;
        timer.Start(0);
        for (int k = 1; k < c.ticks; ++k)
            ASSERT_TRUE(timer.Poll(static_cast<uint32_t>(16 * k)));
        ASSERT_TRUE(timer.Poll(c.span));
        EXPECT_EQ(timer.FrameRate(), c.rate) << c.ticks << " ticks in " << c.span << " ms";
    }
}

TEST(FrameTimerTest, SurvivesClockWrapAround) {
    FrameTimer timer;
    const uint32_t start = 0xFFFFFF00u; // 256 ms before the clock wraps
    timer.Start(start);
    EXPECT_FALSE(timer.Poll(start + 10));
    EXPECT_EQ(timer.Poll(0xFFFFFFF8u), 15); // 248 ms
    EXPECT_EQ(timer.Poll(0x00000008u), 1);  // 16 ms across the wrap
    EXPECT_FALSE(timer.Poll(0x00000010u));
    EXPECT_EQ(timer.Poll(start + 1000), 46) << "736 ms after the last tick";
    EXPECT_EQ(timer.FrameRate(), 3);
}

TEST(FrameTimerTest, InactiveOrDisabledTimerDoesNotTick) {
    FrameTimer timer;
    timer.Start(0);
    for (int k = 1; k <= 30; ++k)
        ASSERT_TRUE(timer.Poll(static_cast<uint32_t>(16 * k))); // until 480
    timer.Deactivate();
    EXPECT_FALSE(timer.Poll(3000));
    timer.Activate(5000);
    EXPECT_FALSE(timer.Poll(5010)) << "reactivation restarts the interval";
    for (int k = 1; k <= 30; ++k)
        ASSERT_EQ(timer.Poll(static_cast<uint32_t>(5000 + 16 * k)), 1);
    EXPECT_EQ(timer.FrameRate(), 0);
    ASSERT_TRUE(timer.Poll(6000));
    EXPECT_EQ(timer.FrameRate(), 61) << "frames before the deactivation still count";

    timer.Enabled = false;
    EXPECT_FALSE(timer.Poll(7000));

    FrameTimer always;
    always.ActiveOnly = false;
    EXPECT_EQ(always.Poll(64), 4) << "without ActiveOnly the timer runs unactivated";
}

} // namespace
} // namespace vedivez
