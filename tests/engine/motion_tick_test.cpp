#include "engine/motion_timer.h"
#include "engine/mouse_motion.h"
#include "engine/mouse_state.h"
#include "engine/screen_geometry.h"
#include "tests/support/fixed_displays.h"
#include "tests/support/manual_seams.h"

#include <gtest/gtest.h>

#include <vector>

namespace padloom::test {
namespace {

using T = MouseEventType;

class MotionTick : public ::testing::Test {
protected:
    void SetUp() override {
        screenGeometry.computeAllDisplays(false);
        sink.setCursor(960, 540);
    }

    void setRates(float motionX, float motionY, float wheelX, float wheelY) {
        mouseState.motionX = motionX;
        mouseState.motionY = motionY;
        mouseState.wheelX = wheelX;
        mouseState.wheelY = wheelY;
    }

    FixedDisplays displays{{0, 0, 1920, 1080}};
    EngineSeams seams;
    RecordingSink& sink = seams.sink;
};

struct MoveCase {
    const char* what;
    CursorPoint cursor;
    float motionX;
    float motionY;
    float x; // posted position
    float y;
    int64_t dx;
    int64_t dy;
};

TEST_F(MotionTick, RatesMoveTheCursorWithTruncatedDeltas) {
    const MoveCase cases[] = {
        {"six to the right", {960, 540}, 6, 0, 966, 540, 6, 0},
        {"up by two and a half", {960, 540}, 0, -2.5f, 960, 537.5f, 0, -2},
        {"half a pixel posts a zero delta", {960, 540}, 0.5f, 0, 960.5f, 540, 0, 0},
        {"the right edge holds the position, not the delta", {1917, 540}, 6, 0, 1919, 540, 6, 0},
        {"top-left corner", {1, 1}, -4, -4, 0, 0, -4, -4},
        {"bottom edge", {100, 1079}, 1, 3, 101, 1079, 1, 3},
        {"a huge rate is held within the delta field", {960, 540}, 1e12f, 0, 1919, 540, INT32_MAX, 0},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.what);
        sink.setCursor(c.cursor.x, c.cursor.y);
        setRates(c.motionX, c.motionY, 0, 0);
        mouseTimerTick(mouseTimerIntervalMs, nullptr);
        sink.expectMotion(T::mouseMoved, c.x, c.y, 0, c.dx, c.dy);
        sink.expectNoEvents();
    }
}

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

TEST_F(MotionTick, StillRatesRestTheTimerAndTheFirstRateWakesItOnItsPhase) {
    const RestCase cases[] = {
        {"a rate in the millisecond of the resting tick", 0, &MouseState::motionX, 10},
        {"three milliseconds later", 3, &MouseState::motionY, 7},
        {"just on the phase", 10, &MouseState::wheelX, 0},
        {"after two and a half periods", 25, &MouseState::wheelY, 5},
        {"after a long rest", 60003, &MouseState::motionX, 7},
    };
    TimerStarts starts;
    setTimerSource(&starts);
    for (const RestCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(startMotionTimer(mouseTimerIntervalMs));
        seams.clock.advance(mouseTimerIntervalMs);
        EXPECT_EQ(starts.timers.tick(), 1);
        EXPECT_EQ(starts.timers.lastInterval(), 0u) << "the still tick ends its timer";
        EXPECT_TRUE(motionTimerResting());
        seams.clock.advance(c.restMs);
        mouseState.*c.rate = 0;
        EXPECT_EQ(starts.timers.liveTimers(), 0) << "a zero rate wakes nothing";
        mouseState.*c.rate = 1;
        EXPECT_EQ(starts.timers.liveTimers(), 1);
        EXPECT_EQ(starts.firstIntervals.back(), c.firstIntervalMs);
        EXPECT_EQ(starts.timers.tick(), 1);
        EXPECT_EQ(starts.timers.lastInterval(), mouseTimerIntervalMs) << "the period, not the first interval";
        stopMotionTimer();
        mouseState.*c.rate = 2;
        EXPECT_EQ(starts.timers.liveTimers(), 0) << "a stopped timer stays stopped";
        mouseState.reset();
    }
    EXPECT_EQ(seams.clock.sleeps().size(), std::size(cases)) << "only the ticks that posted slept";
    sink.clear();
    setTimerSource(&seams.timers);
}

TEST_F(MotionTick, ScrollComesBeforeMotion) {
    setRates(6, 0, 0, 6);
    mouseTimerTick(mouseTimerIntervalMs, nullptr);
    setRates(0, 0, -2.5f, 0);
    mouseTimerTick(mouseTimerIntervalMs, nullptr);
    sink.expectScroll(ScrollUnits::pixels, -6, 0);
    sink.expectMotion(T::mouseMoved, 966, 540, 0, 6, 0);
    sink.expectScroll(ScrollUnits::pixels, 0, 2);
    sink.expectNoEvents();
}

struct DragCase {
    std::vector<int> held;
    T type;
    int32_t button;
};

TEST_F(MotionTick, HeldMouseButtonsTurnMotionIntoDrags) {
    const DragCase cases[] = {
        {{}, T::mouseMoved, 0},
        {{0}, T::leftMouseDragged, 0},
        {{0, 2}, T::leftMouseDragged, 0},
        {{1}, T::rightMouseDragged, 1},
        {{1, 0}, T::leftMouseDragged, 0},
        {{3}, T::otherMouseDragged, 3},
        {{7, 2}, T::otherMouseDragged, 2},
    };
    setRates(1, 0, 0, 0);
    for (const DragCase& c : cases) {
        mouseState.reset();
        mouseState.motionX = 1;
        for (int button : c.held) {
            mouseState.buttonDown[button] = 1;
        }
        EXPECT_EQ(firstHeldButton(), c.held.empty() ? -1 : c.button);
        moveMouse(1, 0);
        sink.expectMotion(c.type, 961, 540, c.button, 1, 0);
    }
    sink.expectNoEvents();
}

struct FixCase {
    const char* what;
    bool fix;
    bool visible;
    CursorPoint cursor;
    float x;
    float y;
};

TEST_F(MotionTick, MinecraftFixPostsDeltasAtTheHiddenCursor) {
    const FixCase cases[] = {
        {"fix on, cursor hidden: no move, no confinement", true, false, {2500, 540}, 2500, 540},
        {"fix on, cursor visible: confined move", true, true, {2500, 540}, 1919, 540},
        {"fix off, cursor hidden: confined move", false, false, {960, 540}, 966, 540},
    };
    for (const FixCase& c : cases) {
        SCOPED_TRACE(c.what);
        minecraftFix = c.fix;
        sink.setCursorVisible(c.visible);
        sink.setCursor(c.cursor.x, c.cursor.y);
        moveMouse(6, 0);
        sink.expectMotion(T::mouseMoved, c.x, c.y, 0, 6, 0);
    }
    sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
