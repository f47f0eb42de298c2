#include "engine/mouse_state.h"
#include "engine/output_events.h"
#include "tests/support/manual_seams.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

using T = MouseEventType;

class MouseButtonOutput : public ::testing::Test {
protected:
    void SetUp() override { sink.setCursor(300, 200.5f); }

    EngineSeams seams;
    RecordingSink& sink = seams.sink;
};

struct ClickStep {
    uint32_t afterMs; // clock advance before this event
    bool down;
    T type;
    int32_t clickState;
};

TEST_F(MouseButtonOutput, PressesWithin249MsContinueTheClickSequence) {
    const ClickStep steps[] = {
        {0, true, T::leftMouseDown, 1},   {50, false, T::leftMouseUp, 1},   {200, true, T::leftMouseDown, 2},
        {50, false, T::leftMouseUp, 2},   {249, true, T::leftMouseDown, 3}, {50, false, T::leftMouseUp, 3},
        {300, true, T::leftMouseDown, 1}, {250, false, T::leftMouseUp, 1},  {250, true, T::leftMouseDown, 1},
    };
    for (const ClickStep& step : steps) {
        seams.clock.advance(step.afterMs);
        postMouseButton(0, step.down);
        sink.expectMouse(step.type, 300, 200.5f, 0, step.clickState);
    }
    sink.expectNoEvents();
}

struct ButtonTypeCase {
    uint32_t button;
    T down;
    T up;
};

TEST_F(MouseButtonOutput, ButtonsBeyondRightAreOtherMouseEvents) {
    const ButtonTypeCase cases[] = {
        {0, T::leftMouseDown, T::leftMouseUp},
        {1, T::rightMouseDown, T::rightMouseUp},
        {2, T::otherMouseDown, T::otherMouseUp},
        {7, T::otherMouseDown, T::otherMouseUp},
    };
    for (const ButtonTypeCase& c : cases) {
        SCOPED_TRACE(c.button);
        postMouseButton(c.button, true);
        postMouseButton(c.button, false);
        sink.expectMouse(c.down, 300, 200.5f, static_cast<int32_t>(c.button), 1);
        sink.expectMouse(c.up, 300, 200.5f, static_cast<int32_t>(c.button), 1);
    }
    sink.expectNoEvents();
}

TEST_F(MouseButtonOutput, ButtonNumbersPastSevenPostNothing) {
    for (uint32_t button : {8u, 255u, 0xFFFFFFFFu}) {
        postMouseButton(button, true);
        postMouseButton(button, false);
    }
    sink.expectNoEvents();
}

TEST_F(MouseButtonOutput, FirstPressAfterResetStartsANewSequence) {
    postMouseButton(0, true);
    postMouseButton(0, false);
    mouseState.reset();       // deactivation
    postMouseButton(0, true); // same millisecond as the release
    sink.expectMouse(T::leftMouseDown, 300, 200.5f, 0, 1);
    sink.expectMouse(T::leftMouseUp, 300, 200.5f, 0, 1);
    sink.expectMouse(T::leftMouseDown, 300, 200.5f, 0, 1);
}

} // namespace
} // namespace padloom::test
