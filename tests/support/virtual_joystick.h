// SPDX-License-Identifier: GPL-3.0-or-later
// Real SDL joysticks for tests, from SDL's virtual joystick driver, so that opening a device and its
// axis, button and hat counts are SDL's own.
//
//     SdlJoystickSession sdl;                  // SDL's joystick subsystem for the session's length
//     VirtualJoystick& pad = sdl.plug(4, 12, 1); // 4 axes, 12 buttons, 1 hat; unplugged at the end
//     sdl.requireOwnPadsOnly();                // in SetUp: skips the test if a real pad is connected
//     manager.handleEvent(buttonEvent(pad.instanceId(), 3, true));
//
// VirtualPadTest is a test with one such pad. The events a device sends name it by instance id; the
// builders below make such events directly, and VirtualJoystick::set* change the device so that SDL
// itself queues them on the next pump.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace padloom::test {

class VirtualJoystick {
public:
    // vendor and product 0: SDL names no maker, and maps the pad by its counts alone.
    VirtualJoystick(int axes, int buttons, int hats, uint16_t vendor = 0, uint16_t product = 0);
    ~VirtualJoystick(); // nothing to do once SDL's joystick subsystem is down: it took the pad away
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    bool attached() const { return instanceId_ >= 0; }
    // Its current device index (indexes shift when earlier devices go away), or -1.
    int deviceIndex() const;
    SDL_JoystickID instanceId() const { return instanceId_; }

    // Change the device's state; SDL queues the matching event at its next update (SDL_PumpEvents).
    void setButton(int button, bool down);
    void setAxis(int axis, int16_t value);
    void setHat(int hat, uint8_t value);

private:
    SDL_Joystick* handle();

    SDL_JoystickID instanceId_ = -1;
    SDL_Joystick* handle_ = nullptr; // opened on first use, for setting values
};

// Starts SDL (the joystick subsystem and the given ones; video, when asked for, on the dummy
// driver), and quits it at the end, after unplugging its pads. The code under test may stop and
// start the joystick subsystem: SDL counts the starts, and the session holds enough of them that
// the subsystem, and with it the virtual pads, stays up until SDL_Quit.
class SdlJoystickSession {
public:
    explicit SdlJoystickSession(uint32_t flags = SDL_INIT_JOYSTICK);
    ~SdlJoystickSession();
    SdlJoystickSession(const SdlJoystickSession&) = delete;
    SdlJoystickSession& operator=(const SdlJoystickSession&) = delete;

    bool ok() const { return ok_; }
    VirtualJoystick& plug(int axes, int buttons, int hats, uint16_t vendor = 0, uint16_t product = 0);
    // Fails the test when SDL or a pad did not start, and skips it when SDL sees a joystick other
    // than the session's pads. Call it from SetUp (or the test body) and return when it did either.
    void requireOwnPadsOnly() const;

private:
    bool ok_ = false;
    std::vector<std::unique_ptr<VirtualJoystick>> pads_;
};

// A test with one virtual pad of its own, skipped when another joystick is connected.
class VirtualPadTest : public ::testing::Test {
protected:
    struct Shape {
        int axes, buttons, hats;
    };
    explicit VirtualPadTest(Shape shape = {4, 12, 1}, uint32_t flags = SDL_INIT_JOYSTICK)
        : sdl(flags), pad(sdl.plug(shape.axes, shape.buttons, shape.hats)) {}
    void SetUp() override { sdl.requireOwnPadsOnly(); }

    SdlJoystickSession sdl;
    VirtualJoystick& pad;
};

SDL_Event buttonEvent(SDL_JoystickID which, uint8_t button, bool down);
SDL_Event axisEvent(SDL_JoystickID which, uint8_t axis, int16_t value);
SDL_Event hatEvent(SDL_JoystickID which, uint8_t hat, uint8_t value);

} // namespace padloom::test
