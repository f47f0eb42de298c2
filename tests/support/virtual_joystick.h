// Real SDL joysticks for tests, from SDL's virtual joystick driver, so that opening a device and its
// axis, button and hat counts are SDL's own.
//
//     SdlJoystickSession sdl;            // SDL_INIT_JOYSTICK for the test's length
//     VirtualJoystick pad(4, 12, 1);     // 4 axes, 12 buttons, 1 hat; detached on destruction
//     manager.handleEvent(buttonEvent(pad.instanceId(), 3, true));
//
// The events a device sends name it by instance id; the builders below make such events directly,
// and VirtualJoystick::set* change the device so that SDL itself queues them on the next pump.
#pragma once

#include <SDL.h>
#include <cstdint>

namespace padloom::test {

// Starts SDL's joystick subsystem (and the event queue) and quits SDL when destroyed. Video, when
// asked for, uses the dummy driver.
class SdlJoystickSession {
public:
    explicit SdlJoystickSession(uint32_t flags = SDL_INIT_JOYSTICK);
    ~SdlJoystickSession();
    SdlJoystickSession(const SdlJoystickSession&) = delete;
    SdlJoystickSession& operator=(const SdlJoystickSession&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

class VirtualJoystick {
public:
    // vendor and product 0: SDL names no maker, and maps the pad by its counts alone.
    VirtualJoystick(int axes, int buttons, int hats, uint16_t vendor = 0, uint16_t product = 0);
    ~VirtualJoystick();
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

SDL_Event buttonEvent(SDL_JoystickID which, uint8_t button, bool down);
SDL_Event axisEvent(SDL_JoystickID which, uint8_t axis, int16_t value);
SDL_Event hatEvent(SDL_JoystickID which, uint8_t hat, uint8_t value);

} // namespace padloom::test
