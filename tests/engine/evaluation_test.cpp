// The range checks of evaluation and output: what a preset or an event names beyond the device's
// controls or the engine's tables is refused or ignored, never indexed. What evaluation posts for
// valid input is pinned by the replay fixtures (tests/fixtures/replay).
#include "engine/mouse_state.h"
#include "engine/output_events.h"
#include "tests/engine/engine_fixture.h"

namespace padloom::test {
namespace {

using Binds = EngineTest;
using EventDispatch = EngineTest;
using DirectOutput = EngineTest;

struct AttachCase {
    const char* what;
    BindInput input;
    BindOutput output;
    bool attached;
};

TEST_F(Binds, OnMissingControlsOrOutOfRangeOutputsAreRefused) {
    const AttachCase cases[] = {
        {"last button", buttonIn(11), keyOut(44), true},
        {"button past the last", buttonIn(12), keyOut(44), false},
        {"negative button", buttonIn(static_cast<uint32_t>(-1)), keyOut(44), false},
        {"last axis", axisIn(3, -1), keyOut(44), true},
        {"axis past the last", axisIn(4, 1), motionOut(0, 1, 6), false},
        {"hat", hatIn(0, 8), keyOut(44), true},
        {"hat past the last", hatIn(1, 1), keyOut(44), false},
        {"unknown input kind", {InputKind::none, 0, 0, 0}, keyOut(44), false},
        {"last key number", buttonIn(0), keyOut(314), true},
        {"key number past the table", buttonIn(0), keyOut(315), false},
        {"mouse button 7", buttonIn(0), mouseButtonOut(7), true},
        {"mouse button 8", buttonIn(0), mouseButtonOut(8), false},
        {"motion code is a direction, not an index", buttonIn(0), motionOut(1000, 1, 6), true},
    };
    for (const AttachCase& c : cases) {
        EXPECT_EQ(map().attachBind(c.input, c.output), c.attached) << c.what;
    }
    map().setAxisDeadZone(4, 0.5f);
    map().setAxisDeadZone(static_cast<uint32_t>(-1), 0.5f);
    EXPECT_EQ(map().axisDeadZones[3], 0.15f);

    VirtualJoystick hatless{2, 4, 0};
    JoystickMap noHats;
    noHats.open(hatless.deviceIndex());
    EXPECT_FALSE(noHats.attachBind(hatIn(0, 8), keyOut(4))) << "hat on a device without hats";
    JoystickMap missing;
    missing.open(SDL_NumJoysticks() + 3);
    EXPECT_EQ(missing.axisCount + missing.buttonCount + missing.hatCount, 0);
    EXPECT_FALSE(missing.attachBind(buttonIn(0), keyOut(4))) << "a device that cannot be opened";
}

TEST_F(EventDispatch, EventsForUnknownDevicesOrControlsChangeNothing) {
    attach(buttonIn(0), keyOut(4));
    attach(axisIn(0, 1), motionOut(0, 1, 6));
    attach(hatIn(0, 1), keyOut(82));
    SDL_Event ball{};
    ball.type = SDL_JOYBALLMOTION;
    ball.jball.which = id();
    const SDL_Event events[] = {
        buttonEvent(id() + 1, 0, true),    buttonEvent(-1, 0, true),
        buttonEvent(id(), 12, true),       buttonEvent(id(), 255, true),
        axisEvent(id() + 7, 0, 32767),     axisEvent(id(), 4, 32767),
        axisEvent(id(), 255, -32768),      hatEvent(id(), 1, SDL_HAT_UP),
        hatEvent(id() + 1, 0, SDL_HAT_UP), ball,
    };
    for (const SDL_Event& event : events) {
        feed(event);
    }
    // The map's own operations guard their control numbers too.
    map().updateAxis(4, 32767);
    map().evaluateAxis(4, 1);
    map().evaluateHat(1, SDL_HAT_UP);
    map().evaluateButton(12, 1);
    sink.expectNoEvents();
    EXPECT_EQ(mouseState.motionX.load(), 0.0f);
}

TEST_F(DirectOutput, FirstPressAfterAResetStartsANewClickSequence) {
    postMouseButton(0, true);
    postMouseButton(0, false);
    mouseState.reset();       // deactivation
    postMouseButton(0, true); // same millisecond as the release
    sink.expectMouse(MouseEventType::leftMouseDown, 0, 0, 0, 1);
    sink.expectMouse(MouseEventType::leftMouseUp, 0, 0, 0, 1);
    sink.expectMouse(MouseEventType::leftMouseDown, 0, 0, 0, 1);
}

} // namespace
} // namespace padloom::test
