// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/control_names.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

struct LabelCase {
    SDL_GameControllerType type;
    int control; // a button, or an axis when direction is not 0
    int direction;
    const char* label;
};

// The PlayStation family's names through SDL are pinned below, with a mapped virtual pad.
TEST(ControlLabels, FollowThePadFamily) {
    const LabelCase cases[] = {
        {SDL_CONTROLLER_TYPE_UNKNOWN, SDL_CONTROLLER_BUTTON_A, 0, "A"},
        {SDL_CONTROLLER_TYPE_XBOXONE, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, "Left bumper"},
        {SDL_CONTROLLER_TYPE_PS5, SDL_CONTROLLER_BUTTON_B, 0, "Circle"},
        {SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO, SDL_CONTROLLER_BUTTON_A, 0, "B"},
        {SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO, SDL_CONTROLLER_BUTTON_B, 0, "A"},
        {SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO, SDL_CONTROLLER_BUTTON_Y, 0, "X"},
        {SDL_CONTROLLER_TYPE_XBOX360, SDL_CONTROLLER_BUTTON_MAX, 0, ""},
        {SDL_CONTROLLER_TYPE_XBOX360, SDL_CONTROLLER_AXIS_RIGHTX, +1, "Right stick right"},
        {SDL_CONTROLLER_TYPE_XBOX360, SDL_CONTROLLER_AXIS_TRIGGERLEFT, +1, "Left trigger"},
        {SDL_CONTROLLER_TYPE_XBOX360, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -1, ""},
        {SDL_CONTROLLER_TYPE_PS3, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, +1, "R2"},
        {SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR, SDL_CONTROLLER_AXIS_TRIGGERLEFT, +1, "ZL"},
    };
    for (const LabelCase& c : cases) {
        const PadFamily family = padFamily(c.type);
        const std::string_view label =
            c.direction == 0
                ? controllerButtonLabel(family, static_cast<SDL_GameControllerButton>(c.control))
                : controllerAxisLabel(family, static_cast<SDL_GameControllerAxis>(c.control), c.direction);
        EXPECT_EQ(label, c.label) << c.type << " " << c.control << " " << c.direction;
    }
}

// A PlayStation pad's mapping, with the D-pad on a hat and a trigger on an axis.
TEST(ControlNames, NameTheRawControlsOfAMappedPadAndNoneOfAnUnknownOne) {
    SdlJoystickSession sdl(SDL_INIT_GAMECONTROLLER); // keeps the added mapping past the look
    ASSERT_TRUE(sdl.ok());
    VirtualJoystick pad(3, 4, 1, 0x054c, 0x05c4);
    ASSERT_TRUE(pad.attached());
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(pad.deviceIndex()), guid, sizeof guid);
    // 0: it replaces the mapping SDL made from the counts.
    ASSERT_GE(
        SDL_GameControllerAddMapping((std::string(guid) + ",Test pad,a:b0,b:b1,x:b3,leftx:a0,"
                                                          "lefty:a1,lefttrigger:a2,dpup:h0.1,dpleft:h0.8,")
                                         .c_str()),
        0);
    SDL_VirtualJoystickDesc plain{};
    plain.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    plain.type = SDL_JOYSTICK_TYPE_ARCADE_STICK;
    plain.nbuttons = 2;
    const int plainIndex = SDL_JoystickAttachVirtualEx(&plain);
    ASSERT_GE(plainIndex, 0);

    const std::vector<ControlNames> all = connectedControlNames();
    ASSERT_EQ(all.size(), 2u);
    const ControlNames expected = {{"btn 0", "Cross"},
                                   {"btn 1", "Circle"},
                                   {"btn 3", "Square"},
                                   {"hat 0 U", "D-pad up"},
                                   {"hat 0 L", "D-pad left"},
                                   {"axi 0 -", "Left stick left"},
                                   {"axi 0 +", "Left stick right"},
                                   {"axi 1 -", "Left stick up"},
                                   {"axi 1 +", "Left stick down"},
                                   {"axi 2 +", "L2"}};
    EXPECT_EQ(all[static_cast<size_t>(pad.deviceIndex())], expected);
    EXPECT_TRUE(all[static_cast<size_t>(plainIndex)].empty());
    SDL_JoystickDetachVirtual(plainIndex);
}

} // namespace
} // namespace padloom::test
