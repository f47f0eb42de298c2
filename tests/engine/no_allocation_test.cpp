// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluating an event and running a motion tick must not allocate: they run for every joystick
// event and every 10 ms. The allocation counter linked in counts the current thread's allocations.
#include "engine/mouse_motion.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/fixed_displays.h"

namespace padloom::test {
namespace {

// Posts to nothing, so that only the engine's own allocations are counted.
class SilentSink : public EventSink {
public:
    CursorPoint cursorLocation() override { return {100, 100}; }
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t, bool, std::optional<uint64_t>) override { ++posted; }
    void postSystemDefined(int32_t) override { ++posted; }
    void postMouse(MouseEventType, float, float, int32_t, int32_t, int64_t, int64_t) override { ++posted; }
    void postScroll(ScrollUnits, int32_t, int32_t) override { ++posted; }
    int posted = 0;
};

// The test clock records its sleeps; this one keeps nothing.
class StillClock : public Clock {
public:
    uint32_t nowMs() override { return 5000; }
    void sleepMs(uint32_t) override {}
};

class NoAllocation : public EngineTest {
protected:
    void TearDown() override {
        engine.eventSink.set(&sink);
        engine.clock.set(&seams.clock);
    }
    SilentSink silent;
    StillClock still;
};

TEST_F(NoAllocation, HandleEventAndMotionTickAllocateNothing) {
    if (!allocationsCounted()) {
        GTEST_SKIP() << "allocations are not counted under AddressSanitizer";
    }
    FixedDisplays displays{{0, 0, 1920, 1080}, {1920, 100, 1280, 720}};
    engine.screenGeometry.computeAllDisplays(displays, true);
    attach(buttonIn(0), keyOut(225));
    attach(buttonIn(0), keyOut(312));
    attach(buttonIn(1), mouseButtonOut(0));
    attach(axisIn(0, 1), motionOut(0, 1, 6));
    attach(axisIn(0, -1), wheelStepOut(1, 1));
    attach(hatIn(0, 2), wheelOut(1, 1, 3));
    attach(hatIn(0, 4), keyOut(4));
    const SDL_Event events[] = {
        buttonEvent(id(), 0, true),           buttonEvent(id(), 1, true),  axisEvent(id(), 0, 30000),
        hatEvent(id(), 0, SDL_HAT_RIGHTDOWN), buttonEvent(id(), 99, true), axisEvent(id() + 5, 0, 1),
        hatEvent(id(), 0, SDL_HAT_CENTERED),  axisEvent(id(), 0, -30000),  buttonEvent(id(), 1, false),
        buttonEvent(id(), 0, false),
    };
    engine.eventSink.set(&silent);
    engine.clock.set(&still);
    const int64_t before = allocationsOnThisThread();
    for (const SDL_Event& event : events) {
        manager.handleEvent(event);
        if (event.type == SDL_JOYHATMOTION) {
            mouseTimerTick(mouseTimerIntervalMs, &engine);
        }
    }
    const int64_t after = allocationsOnThisThread();
    EXPECT_EQ(after - before, 0);
    EXPECT_GE(silent.posted, 10); // the events did post
}

} // namespace
} // namespace padloom::test
