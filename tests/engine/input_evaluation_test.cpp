#include "engine/mouse_state.h"
#include "tests/engine/engine_fixture.h"

#include <vector>

namespace padloom::test {
namespace {

using T = MouseEventType;

using AxisEvaluation = EngineTest;
using HatEvaluation = EngineTest;
using ButtonEvaluation = EngineTest;
using EventDispatch = EngineTest;

struct NormaliseCase {
    int16_t raw;
    float expected;
};

TEST_F(AxisEvaluation, RawValuesAreScaledPastTheDeadZone) {
    const NormaliseCase cases[] = {
        {0, 0.0f},
        {4915, 0.0f},
        {-4915, 0.0f},
        {4916, ((4916 / 32767.0f) - 0.15f) / 0.85f},
        {32767, 1.0f},
        {-32767, -1.0f},
        {-32768, -1.0f}, // both ends reach the same magnitude
        {16384, ((16384 / 32767.0f) - 0.15f) / 0.85f},
    };
    for (const NormaliseCase& c : cases) {
        map().updateAxis(1, c.raw);
        EXPECT_FLOAT_EQ(map().axisValues[1], c.expected) << c.raw;
    }
    EXPECT_GT(map().axisValues[1], 0.0f);
}

TEST_F(AxisEvaluation, MovesInsideTheDeadZoneEvaluateNothing) {
    attach(axisIn(0, 1), motionOut(0, 1, 6));
    attach(axisIn(0, 1), wheelStepOut(1, 1));
    feed(axisEvent(id(), 0, 1000));
    feed(axisEvent(id(), 0, 3000));
    feed(axisEvent(id(), 0, 4915));
    EXPECT_EQ(mouseState.motionX.load(), 0.0f);
    EXPECT_FALSE(map().axisBinds[0][0].active);
    sink.expectNoEvents();
}

TEST_F(AxisEvaluation, MotionRateFollowsTheDeflection) {
    attach(axisIn(2, -1), motionOut(1, 1, 6));
    const NormaliseCase steps[] = {
        // sign +1 on the negative half: pushing the axis down moves the cursor down
        {-32768, 6.0f},
        {-16384, 6.0f * (((16384 / 32767.0f) - 0.15f) / 0.85f)},
        {-4916, 6.0f * (((4916 / 32767.0f) - 0.15f) / 0.85f)},
        {-4915, 0.0f},
        {32767, 0.0f}, // the other half moves nothing
    };
    for (const NormaliseCase& step : steps) {
        feed(axisEvent(id(), 2, step.raw));
        EXPECT_FLOAT_EQ(mouseState.motionY.load(), step.expected) << step.raw;
        EXPECT_EQ(mouseState.motionX.load(), 0.0f);
    }
    sink.expectNoEvents();
}

TEST_F(AxisEvaluation, BothHalvesOnOneRateActInListOrder) {
    // The negative half comes first in the list, so on a jump from +0.5 to -0.5 the positive half's
    // turning off, evaluated later, leaves the rate at 0 until the axis moves again.
    attach(axisIn(0, -1), motionOut(0, -1, 10));
    attach(axisIn(0, 1), motionOut(0, 1, 10));
    const int16_t half = 18022; // 0.55 raw, about 0.47 after the dead zone
    const float m = ((half / 32767.0f) - 0.15f) / 0.85f;
    feed(axisEvent(id(), 0, half));
    EXPECT_FLOAT_EQ(mouseState.motionX.load(), m * 10);
    feed(axisEvent(id(), 0, static_cast<int16_t>(-half)));
    EXPECT_EQ(mouseState.motionX.load(), 0.0f);
    feed(axisEvent(id(), 0, static_cast<int16_t>(-half - 1)));
    EXPECT_LT(mouseState.motionX.load(), 0.0f);
    EXPECT_NEAR(mouseState.motionX.load(), -m * 10, 1e-3);
}

TEST_F(HatEvaluation, HatMotionRunsAtFullRateUntilReleased) {
    attach(hatIn(0, 2), motionOut(0, 1, 7.5f));
    attach(hatIn(0, 4), wheelOut(1, -1, 3));
    feed(hatEvent(id(), 0, SDL_HAT_RIGHTDOWN));
    EXPECT_EQ(mouseState.motionX.load(), 7.5f);
    EXPECT_EQ(mouseState.wheelY.load(), -3.0f);
    feed(hatEvent(id(), 0, SDL_HAT_DOWN));
    EXPECT_EQ(mouseState.motionX.load(), 0.0f);
    EXPECT_EQ(mouseState.wheelY.load(), -3.0f);
}

struct ButtonStep {
    uint8_t button;
    bool down;
    float motionX;
};

TEST_F(ButtonEvaluation, LatestButtonEventSetsASharedRate) {
    attach(buttonIn(0), motionOut(0, 1, 6));
    attach(buttonIn(1), motionOut(0, -1, 6));
    const ButtonStep steps[] = {
        {0, true, 6},
        {1, true, -6},
        {0, false, 0}, // the other button is still held
        {1, false, 0},
    };
    for (const ButtonStep& step : steps) {
        feed(buttonEvent(id(), step.button, step.down));
        EXPECT_EQ(mouseState.motionX.load(), step.motionX);
    }
    sink.expectNoEvents();
}

TEST_F(ButtonEvaluation, MouseButtonBindsSetHeldFlagsAndPostAtTheCursor) {
    sink.setCursor(40, 50);
    attach(buttonIn(2), mouseButtonOut(0));
    attach(buttonIn(3), mouseButtonOut(0));
    feed(buttonEvent(id(), 2, true));
    feed(buttonEvent(id(), 3, true));
    EXPECT_EQ(mouseState.buttonDown[0].load(), 1);
    feed(buttonEvent(id(), 3, false)); // releases although button 2 still holds it
    EXPECT_EQ(mouseState.buttonDown[0].load(), 0);
    sink.expectMouse(T::leftMouseDown, 40, 50, 0, 1);
    sink.expectMouse(T::leftMouseDown, 40, 50, 0, 2);
    sink.expectMouse(T::leftMouseUp, 40, 50, 0, 2);
    sink.expectNoEvents();
}

TEST_F(ButtonEvaluation, EveryOutputOfAButtonActsInPresetOrder) {
    attach(buttonIn(5), keyOut(225));
    attach(buttonIn(5), keyOut(4));
    attach(buttonIn(5), wheelStepOut(0, -1));
    attach(buttonIn(5), wheelOut(0, 1, 2));
    feed(buttonEvent(id(), 5, true));
    EXPECT_EQ(mouseState.wheelX.load(), 2.0f);
    feed(buttonEvent(id(), 5, false));
    EXPECT_EQ(mouseState.wheelX.load(), 0.0f);
    sink.expectKey(56, true, std::nullopt);
    sink.expectKey(0, true, 0x20000);
    sink.expectScroll(ScrollUnits::lines, 0, 1); // a step on press only
    sink.expectKey(56, false, std::nullopt);
    sink.expectKey(0, false, 0);
    sink.expectNoEvents();
}

TEST_F(EventDispatch, EventsForUnknownDevicesOrControlsChangeNothing) {
    attach(buttonIn(0), keyOut(4));
    attach(axisIn(0, 1), motionOut(0, 1, 6));
    attach(hatIn(0, 1), keyOut(82));
    const SDL_Event events[] = {
        buttonEvent(id() + 1, 0, true),    // no such device
        buttonEvent(-1, 0, true),          // no device has instance -1
        buttonEvent(id(), 12, true),       // past the last button
        buttonEvent(id(), 255, true),      //
        axisEvent(id() + 7, 0, 32767),     //
        axisEvent(id(), 4, 32767),         // past the last axis
        axisEvent(id(), 255, -32768),      //
        hatEvent(id(), 1, SDL_HAT_UP),     // past the last hat
        hatEvent(id() + 1, 0, SDL_HAT_UP), //
    };
    for (const SDL_Event& event : events) {
        feed(event);
    }
    SDL_Event ball{};
    ball.type = SDL_JOYBALLMOTION;
    ball.jball.which = id();
    feed(ball);
    sink.expectNoEvents();
    EXPECT_EQ(mouseState.motionX.load(), 0.0f);
    for (int axis = 0; axis < 4; ++axis) {
        EXPECT_EQ(map().axisValues[axis], 0.0f);
    }
    // The map's own operations guard their control numbers too.
    map().updateAxis(4, 32767);
    map().evaluateAxis(4, 1);
    map().evaluateHat(1, SDL_HAT_UP);
    map().evaluateButton(12, 1);
    sink.expectNoEvents();
}

TEST_F(EventDispatch, EventsFromTheDeviceThroughSdlsQueueAreEvaluated) {
    attach(buttonIn(3), keyOut(44));
    attach(hatIn(0, 8), keyOut(4));
    pad.setButton(3, true);
    pad.setHat(0, SDL_HAT_LEFT);
    SDL_Event event;
    int evaluated = 0;
    while (SDL_PollEvent(&event) == 1) {
        manager.handleEvent(event);
        evaluated += event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYHATMOTION;
    }
    pad.setButton(3, false);
    while (SDL_PollEvent(&event) == 1) {
        manager.handleEvent(event);
    }
    EXPECT_EQ(evaluated, 2);
    sink.expectKey(49, true, 0); // SDL reports a virtual device's buttons before its hats
    sink.expectKey(0, true, 0);
    sink.expectKey(49, false, 0);
    sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
