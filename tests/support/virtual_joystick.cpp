// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/virtual_joystick.h"

#include <cstdlib>

namespace padloom::test {

namespace {

// More starts of the joystick subsystem than any code under test stops.
constexpr int heldStarts = 64;

} // namespace

SdlJoystickSession::SdlJoystickSession(uint32_t flags) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    // Only the virtual devices of the test: no HID devices, whose drivers also start threads.
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    ok_ = SDL_Init(flags | SDL_INIT_JOYSTICK) == 0;
    for (int i = 1; ok_ && i < heldStarts; ++i) {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    }
}

SdlJoystickSession::~SdlJoystickSession() {
    pads_.clear();
    SDL_Quit();
}

VirtualJoystick& SdlJoystickSession::plug(int axes, int buttons, int hats, uint16_t vendor,
                                          uint16_t product) {
    pads_.push_back(std::make_unique<VirtualJoystick>(axes, buttons, hats, vendor, product));
    EXPECT_TRUE(pads_.back()->attached()) << SDL_GetError();
    return *pads_.back();
}

void SdlJoystickSession::requireOwnPadsOnly() const {
    ASSERT_TRUE(ok_) << SDL_GetError();
    for (const auto& pad : pads_) {
        ASSERT_TRUE(pad->attached()) << SDL_GetError();
    }
    if (SDL_NumJoysticks() != static_cast<int>(pads_.size())) {
        GTEST_SKIP() << "a joystick other than the test's own is connected";
    }
}

VirtualJoystick::VirtualJoystick(int axes, int buttons, int hats, uint16_t vendor, uint16_t product) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<uint16_t>(axes);
    desc.nbuttons = static_cast<uint16_t>(buttons);
    desc.nhats = static_cast<uint16_t>(hats);
    desc.vendor_id = vendor;
    desc.product_id = product;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) {
        instanceId_ = SDL_JoystickGetDeviceInstanceID(index);
    }
}

VirtualJoystick::~VirtualJoystick() {
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        return;
    }
    if (handle_) {
        SDL_JoystickClose(handle_);
    }
    const int index = deviceIndex();
    if (index >= 0) {
        SDL_JoystickDetachVirtual(index);
    }
}

int VirtualJoystick::deviceIndex() const {
    if (instanceId_ < 0) {
        return -1;
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instanceId_) {
            return i;
        }
    }
    return -1;
}

SDL_Joystick* VirtualJoystick::handle() {
    if (!handle_ && deviceIndex() >= 0) {
        handle_ = SDL_JoystickOpen(deviceIndex());
    }
    return handle_;
}

void VirtualJoystick::setButton(int button, bool down) {
    SDL_JoystickSetVirtualButton(handle(), button, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualJoystick::setAxis(int axis, int16_t value) {
    SDL_JoystickSetVirtualAxis(handle(), axis, value);
}

void VirtualJoystick::setHat(int hat, uint8_t value) {
    SDL_JoystickSetVirtualHat(handle(), hat, value);
}

SDL_Event buttonEvent(SDL_JoystickID which, uint8_t button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = which;
    event.jbutton.button = button;
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event axisEvent(SDL_JoystickID which, uint8_t axis, int16_t value) {
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = which;
    event.jaxis.axis = axis;
    event.jaxis.value = value;
    return event;
}

SDL_Event hatEvent(SDL_JoystickID which, uint8_t hat, uint8_t value) {
    SDL_Event event{};
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = which;
    event.jhat.hat = hat;
    event.jhat.value = value;
    return event;
}

} // namespace padloom::test
