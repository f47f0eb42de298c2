// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated surroundings the engine runs in during a replay: a clock that moves only when the
// script says so, a display list, and joysticks from SDL's virtual joystick driver, so that opening them and
// their counts are SDL's own.
#pragma once

#include "app/outcome.h"
#include "engine/clock.h"
#include "engine/display_source.h"
#include "tools/padloomctl/replay_script.h"

#include <SDL.h>
#include <cstdint>
#include <string>
#include <vector>

namespace padloom::ctl {

// Starts at 10000 ms. The motion tick's rest is not slept: the tick's 10 ms period, which the
// script's `tick` adds, already includes it. So output never depends on real time.
class ReplayClock final : public Clock {
public:
    uint32_t nowMs() override { return now_; }
    void sleepMs(uint32_t) override {}
    void advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_ = 10000;
};

// The script's display list, moved so that display 0's top-left corner is the origin, as SDL's
// displays are for the engine.
class ReplayDisplays final : public DisplaySource {
public:
    ReplayDisplays();
    void set(const std::vector<SDL_Rect>& displays);
    int displayCount() override { return static_cast<int>(displays_.size()); }
    bool displayBounds(int index, SDL_Rect* bounds) override;

private:
    std::vector<SDL_Rect> displays_;
};

// SDL's joystick subsystem with one virtual device per shape, attached in order so that script
// device i is SDL's device index i until devices come and go. Device i has a GUID of its own, which
// it keeps when it is replugged. Quits the subsystem when destroyed.
class ReplayDevices {
public:
    ReplayDevices() = default;
    ~ReplayDevices();
    ReplayDevices(const ReplayDevices&) = delete;
    ReplayDevices& operator=(const ReplayDevices&) = delete;

    // Fails when SDL cannot give exactly these devices.
    Outcome<> attach(const std::vector<DeviceShape>& shapes);
    // Moves the control that a button, axis or hat line names; SDL queues the matching event (if
    // the control's state changes) at its next update.
    void apply(const ReplayLine& event);
    // Detaches device number (SDL queues its removal).
    void unplug(size_t number);
    // Attaches device number again, or a new device with the next number (SDL queues its arrival).
    Outcome<> replug(size_t number);
    Outcome<> plug(const DeviceShape& shape);

private:
    struct Device {
        DeviceShape shape;
        SDL_Joystick* handle = nullptr; // null while unplugged
    };
    Outcome<> attachDevice(size_t number);

    bool started_ = false;
    std::vector<Device> devices_;
};

} // namespace padloom::ctl
