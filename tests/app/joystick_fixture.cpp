#include "tests/app/joystick_fixture.h"

namespace padloom::test {

void JoystickAppTest::SetUp() {
    ASSERT_TRUE(sdl.ok()) << SDL_GetError();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    if (SDL_NumJoysticks() != 0) {
        GTEST_SKIP() << "a joystick other than the test's own is connected";
    }
}

void JoystickAppTest::TearDown() {
    app.reset();
    pads.clear();
}

VirtualJoystick& JoystickAppTest::addPad() {
    pads.push_back(std::make_unique<VirtualJoystick>(4, 12, 1));
    EXPECT_TRUE(pads.back()->attached()) << SDL_GetError();
    return *pads.back();
}

} // namespace padloom::test
