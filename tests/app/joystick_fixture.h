// AppTest with SDL's joystick subsystem, virtual joysticks and the engine's recording sink.
// The fixture holds one extra reference on the joystick subsystem, so the controller's own
// start and stop of it (which it pairs) never takes the test's virtual devices away.
#pragma once

#include "tests/app/app_fixture.h"
#include "tests/support/eventually.h"
#include "tests/support/manual_seams.h"
#include "tests/support/virtual_joystick.h"

#include <memory>
#include <vector>

namespace padloom::test {

class JoystickAppTest : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a virtual pad (4 axes, 12 buttons, 1 hat).
    VirtualJoystick& addPad();

    SdlJoystickSession sdl;
    EngineSeams seams;
    std::vector<std::unique_ptr<VirtualJoystick>> pads;
};

} // namespace padloom::test
