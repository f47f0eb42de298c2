// SPDX-License-Identifier: GPL-3.0-or-later
// A manager opened on one virtual joystick (4 axes, 12 buttons, 1 hat), with recorded output, a
// manual clock and a manual motion timer. Tests attach binds to map() and feed events to manager.
#pragma once

#include "engine/joystick_manager.h"
#include "tests/support/bind_builders.h"
#include "tests/support/manual_seams.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

namespace padloom::test {

class EngineTest : public VirtualPadTest {
protected:
    void SetUp() override {
        VirtualPadTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            ASSERT_TRUE(manager.init(nullptr));
        }
    }

    JoystickMap& map() { return *manager.joystickMap[0]; }
    SDL_JoystickID id() const { return pad.instanceId(); }
    void feed(const SDL_Event& event) { manager.handleEvent(event); }
    void attach(const BindInput& input, const BindOutput& output) {
        ASSERT_TRUE(map().attachBind(input, output));
    }

    // Members are destroyed before the base's: the manager closes its device before SDL quits.
    Engine engine;
    EngineSeams seams{engine};
    RecordingSink& sink = seams.sink;
    JoystickManager manager{engine};
};

} // namespace padloom::test
