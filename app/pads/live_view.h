// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's live view of the connected pads: which controls moved since the last look, read
// from SDL's joystick events on the main thread (see JoystickWatch, which calls it).
#pragma once

#include "preset/bind_records.h"

#include <SDL.h>
#include <map>
#include <utility>
#include <vector>

namespace padloom {

// The latest value of one control: a button 0 or 1, an axis from -1 to 1, a hat its bits.
struct LiveInput {
    int joystick = 0; // device index, as the preset's joystick sections count
    InputKind kind = InputKind::none;
    int index = 0;
    float value = 0;
};

class LiveView {
public:
    LiveView() = default;
    ~LiveView() { close(); }
    LiveView(const LiveView&) = delete;
    LiveView& operator=(const LiveView&) = delete;

    // Opens the pads not yet open, takes SDL's pending joystick events and returns the last value
    // of each control they moved (none when nothing moved). SDL's joystick subsystem must be up
    // and its events must be nobody else's.
    std::vector<LiveInput> read();
    // Closes the pads it opened that are still there. SDL never hands out an instance id twice, so
    // a pad that went with a restart of the subsystem is never mistaken for another.
    void close();
    bool open() const { return !opened_.empty(); }

private:
    void openNewPads();
    bool axisMoved(const SDL_JoyAxisEvent& event);

    std::vector<SDL_JoystickID> opened_;
    // The last value of each axis of the open pads, from the moment each was opened: SDL reports
    // an opened pad's axes where they rest (a trigger at -32768), which is no move.
    std::map<std::pair<SDL_JoystickID, int>, Sint16> axisValues_;
};

} // namespace padloom
