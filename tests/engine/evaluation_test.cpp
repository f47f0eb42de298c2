// SPDX-License-Identifier: GPL-3.0-or-later
// The range checks of evaluation and output: what a preset or an event names beyond the device's
// controls or the engine's tables is refused or ignored, never indexed. What evaluation posts for
// valid input is pinned by the replay fixtures (tests/fixtures/replay).
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

    const VirtualJoystick& hatless = sdl.plug(2, 4, 0);
    JoystickMap noHats(engine);
    noHats.open(hatless.deviceIndex());
    EXPECT_FALSE(noHats.attachBind(hatIn(0, 8), keyOut(4))) << "hat on a device without hats";
    JoystickMap missing(engine);
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
    EXPECT_EQ(engine.mouseState.motionX.load(), 0.0f);
}

TEST_F(DirectOutput, FirstPressAfterAResetStartsANewClickSequence) {
    postMouseButton(engine, 0, true);
    postMouseButton(engine, 0, false);
    engine.mouseState.reset();        // deactivation
    postMouseButton(engine, 0, true); // same millisecond as the release
    sink.expectMouse(MouseEventType::leftMouseDown, 0, 0, 0, 1);
    sink.expectMouse(MouseEventType::leftMouseUp, 0, 0, 0, 1);
    sink.expectMouse(MouseEventType::leftMouseDown, 0, 0, 0, 1);
}

// Press-and-release pairs of one button; each press comes gapMs after the event before it (of any
// button) and is released holdMs later.
struct ClickRow {
    const char* what;
    uint32_t button;
    uint32_t gapMs;
    uint32_t holdMs;
    int pairs;
    int32_t lastClick; // the click state of the last press, which its release reports too
};

// A press continues the button's click sequence when it comes within 249 ms of that button's
// previous press or release; the count is 8 bits, reported as a signed byte.
TEST_F(DirectOutput, ClickCountingTimesEachButtonFromItsLastPressOrRelease) {
    const ClickRow rows[] = {
        {"a first press, held 400 ms", 0, 1000, 400, 1, 1},
        {"200 ms after the release, 600 ms after the press: a double click", 0, 200, 10, 1, 2},
        {"250 ms after the release: a new sequence", 0, 250, 10, 1, 1},
        {"249 ms after the release: the sequence goes on", 0, 249, 10, 1, 2},
        {"button 1, 10 ms after button 0: its own first click", 1, 10, 10, 1, 1},
        {"button 0, 30 ms after its own release: a triple click", 0, 10, 10, 1, 3},
        {"a fourth quick press", 0, 100, 10, 1, 4},
        {"button 1, 370 ms after its own release", 1, 240, 10, 1, 1},
        {"button 0, 10 ms after button 1 but 260 ms after its own release", 0, 10, 10, 1, 1},
        {"quick presses up to the 255th", 0, 10, 10, 254, -1},
        {"the 256th: the count wraps", 0, 10, 10, 1, 0},
        {"the 257th", 0, 10, 10, 1, 1},
    };
    for (const ClickRow& row : rows) {
        SCOPED_TRACE(row.what);
        for (int pair = 0; pair < row.pairs; ++pair) {
            sink.clear(); // only the last pair is checked
            seams.clock.advance(row.gapMs);
            postMouseButton(engine, row.button, true);
            seams.clock.advance(row.holdMs);
            postMouseButton(engine, row.button, false);
        }
        const auto down = row.button == 0 ? MouseEventType::leftMouseDown : MouseEventType::rightMouseDown;
        sink.expectMouse(down, 0, 0, static_cast<int32_t>(row.button), row.lastClick);
        sink.expectMouse(MouseEventType(static_cast<int32_t>(down) + 1), 0, 0,
                         static_cast<int32_t>(row.button), row.lastClick);
    }
}

} // namespace
} // namespace padloom::test
