#include "engine/mouse_state.h"

#include "engine/motion_timer.h"

namespace padloom {

void MotionRate::store(float rate) {
    value_.store(rate);
    // Not-equal rather than equal, so that a rate that is no number wakes the timer too.
    if (!(rate == 0)) {
        timer_.wake();
    }
}

void MouseState::reset() {
    for (int i = 0; i < mouseButtonCount; ++i) {
        buttonDown[i] = 0;
        clickCount[i] = 0;
    }
    motionX = 0;
    motionY = 0;
    wheelX = 0;
    wheelY = 0;
}

bool MouseState::still() const {
    return motionX.load() == 0 && motionY.load() == 0 && wheelX.load() == 0 && wheelY.load() == 0;
}

} // namespace padloom
