#include "engine/mouse_state.h"

namespace padloom {

MouseState mouseState;

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

} // namespace padloom
