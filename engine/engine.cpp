// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/engine.h"

namespace padloom {

Engine::~Engine() {
    motionTimer.stop();
}

void Engine::computeScreenGeometry(bool lockToMainDisplay, bool avoidCorners) {
    if (lockToMainDisplay) {
        screenGeometry.computeMainDisplay(displaySource.get(), avoidCorners);
    } else {
        screenGeometry.computeAllDisplays(displaySource.get(), avoidCorners);
    }
}

} // namespace padloom
