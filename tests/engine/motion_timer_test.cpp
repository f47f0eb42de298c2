// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fixed_displays.h"
#include "tests/support/manual_seams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <vector>

namespace padloom::test {
namespace {

class MotionTimer : public ::testing::Test {
protected:
    void SetUp() override {
        engine.screenGeometry.computeAllDisplays(displays, false);
        sink.setCursor(960, 540);
    }

    FixedDisplays displays{{0, 0, 1920, 1080}};
    Engine engine;
    EngineSeams seams{engine};
    RecordingSink& sink = seams.sink;
};

// Keeps the first interval of each timer started, which is where a wake puts the next tick.
struct TimerStarts : TimerSource {
    int add(uint32_t intervalMs, TimerCallback callback, void* param) override {
        firstIntervals.push_back(intervalMs);
        return timers.add(intervalMs, callback, param);
    }
    void remove(int id) override { timers.remove(id); }

    ManualTimerSource timers;
    std::vector<uint32_t> firstIntervals;
};

struct RestCase {
    const char* what;
    uint32_t restMs; // from the tick that rested to the first non-zero rate
    MotionRate MouseState::*rate;
    uint32_t firstIntervalMs;
};

TEST_F(MotionTimer, StillRatesRestTheTimerAndTheFirstRateWakesItOnItsPhase) {
    const RestCase cases[] = {
        {"a rate in the millisecond of the resting tick", 0, &MouseState::motionX, 10},
        {"three milliseconds later", 3, &MouseState::motionY, 7},
        {"just on the phase", 10, &MouseState::wheelX, 0},
        {"after two and a half periods", 25, &MouseState::wheelY, 5},
        {"after a long rest", 60003, &MouseState::motionX, 7},
    };
    TimerStarts starts;
    engine.timerSource.set(&starts);
    padloom::MotionTimer& timer = engine.motionTimer;
    MouseState& mouseState = engine.mouseState;
    for (const RestCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(timer.start(mouseTimerIntervalMs));
        seams.clock.advance(mouseTimerIntervalMs);
        EXPECT_EQ(starts.timers.tick(), 1);
        EXPECT_EQ(starts.timers.lastInterval(), 0u) << "the still tick ends its timer";
        EXPECT_TRUE(timer.resting());
        seams.clock.advance(c.restMs);
        mouseState.*c.rate = 0;
        EXPECT_EQ(starts.timers.liveTimers(), 0) << "a zero rate wakes nothing";
        mouseState.*c.rate = 1;
        EXPECT_EQ(starts.timers.liveTimers(), 1);
        EXPECT_EQ(starts.firstIntervals.back(), c.firstIntervalMs);
        EXPECT_EQ(starts.timers.tick(), 1);
        EXPECT_EQ(starts.timers.lastInterval(), mouseTimerIntervalMs) << "the period, not the first interval";
        timer.stop();
        mouseState.*c.rate = 2;
        EXPECT_EQ(starts.timers.liveTimers(), 0) << "a stopped timer stays stopped";
        mouseState.reset();
    }
    EXPECT_TRUE(seams.clock.sleeps().empty()) << "the tick holds no thread: its timer keeps the rest";
    sink.clear();
}

struct DueCase {
    const char* what;
    int beganUs;   // when the call began, after the time it was due
    int nextDueUs; // after the time it was due
};

TEST(TimerSchedule, ACallIsDueWholeIntervalsAfterTheLastDueTimeHoweverLateItBegan) {
    const DueCase cases[] = {
        {"a call that began on time", 50, 10000},
        {"a call that began late, by most of an interval", 8900, 10000},
        {"a call that began just on the next due time", 10000, 10000},
        {"held off for more than an interval: the missed call is skipped", 13000, 20000},
        {"held off for three intervals", 30001, 40000},
    };
    const std::chrono::steady_clock::time_point due{std::chrono::seconds(100)};
    for (const DueCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto next = nextDueTime(due, 10, due + std::chrono::microseconds(c.beganUs));
        EXPECT_EQ(next - due, std::chrono::microseconds(c.nextDueUs));
    }
}

} // namespace
} // namespace padloom::test
