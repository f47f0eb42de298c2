// SPDX-License-Identifier: GPL-3.0-or-later
// The binds of one joystick device, one list per button, per axis and per hat, so that an event
// touches only the binds of the control that changed.
#pragma once

#include "preset/bind_records.h"
#include "preset/stick_settings.h"

#include "engine/input_roles.h"

#include <SDL.h>
#include <cstdint>
#include <memory>
#include <vector>

namespace padloom {

class Engine;

// How far an axis half must be pushed, past its dead zone, before a key, mouse-button or wheel-step
// bind on it turns on (mouse motion and the wheel follow the axis from 0).
inline constexpr float axisSwitchThreshold = 0.42f;

struct ButtonBind {
    OutputKind kind;
    int32_t code;
    int32_t sign;
    float amount;
    uint8_t set; // 0 the section's binds, k those of its layer k (engine/input_roles.h)
};

struct HatBind {
    OutputKind kind;
    int32_t code;
    int32_t sign;
    float amount;
    bool active;   // the watched direction is held and the output is on
    uint32_t mask; // hat bit watched: 1 up, 2 right, 4 down, 8 left
    uint8_t set;
};

struct AxisBind {
    OutputKind kind;
    int32_t code;
    int32_t sign;
    float amount;
    bool active;
    float threshold;   // 0.42 for key, mouse button and wheel step; 0 for motion and wheel
    int32_t direction; // +1 positive half, -1 negative half
    uint8_t set;
};

// One or two axes whose cursor and wheel binds follow their shaped deflection (engine/stick.h).
struct Stick {
    StickSettings settings;
    float positions[2] = {0, 0};    // each axis's last value from -1 to 1, before any dead zone
    std::vector<AxisBind> binds[2]; // the cursor and wheel binds of x and of y, in preset order
    bool accelerating = false;      // the deflection has stayed at or past where acceleration begins
    uint32_t acceleratingSinceMs = 0;
};

class JoystickMap {
public:
    // What the binds do goes through engine.
    explicit JoystickMap(Engine& engine) : engine_(engine) {}
    ~JoystickMap(); // closes the device
    JoystickMap(const JoystickMap&) = delete;
    JoystickMap& operator=(const JoystickMap&) = delete;

    void open(int deviceIndex);
    // set: 0 for the section's binds, k for those of its layer k.
    bool attachBind(const BindInput& input, const BindOutput& output, uint8_t set = 0);
    bool attachAxisBind(uint32_t axis, int32_t direction, const BindOutput& output, uint8_t set = 0);
    void setAxisDeadZone(uint32_t axis, float value);
    // Makes sticks of these axes: from then on the cursor and wheel binds attached to their axes
    // follow the stick (engine/stick.h). A stick whose axes the device lacks is left out. Call it
    // before attaching binds.
    void setSticks(const std::vector<StickSettings>& settings);

    void updateAxis(uint32_t axis, int16_t rawValue);
    bool isAxisAtRest(uint32_t axis) const;
    void evaluateAxis(uint32_t axis, int axisSign);
    void evaluateHat(uint32_t hat, uint8_t value);
    void evaluateButton(uint32_t button, int pressed);
    // Moves the stick the axis belongs to, if any, and evaluates its cursor and wheel binds.
    void moveStick(uint32_t axis, int16_t rawValue);
    // Lets go of every control not at rest, as the player would: buttons in ascending order, then
    // axes back to 0, then hats to the centre, each evaluated by the rules above; then what the
    // section's modes and sequences still hold.
    void releaseControls();
    // The outputs of one bind, as evaluation turns them on (effect scales a rate) and off.
    void bindOn(const ButtonBind& bind, float effect);
    void bindOff(const ButtonBind& bind);

    int32_t hatCount = 0;
    int32_t axisCount = 0;
    int32_t buttonCount = 0;
    std::unique_ptr<float[]> axisValues;
    std::unique_ptr<std::vector<HatBind>[]> hatBinds;
    std::unique_ptr<std::vector<AxisBind>[]> axisBinds;
    std::unique_ptr<std::vector<ButtonBind>[]> buttonBinds;
    std::unique_ptr<float[]> axisDeadZones;
    // The last evaluated state of each button (1 pressed) and hat (its bits), for releaseControls.
    std::unique_ptr<uint8_t[]> buttonStates;
    std::unique_ptr<uint8_t[]> hatValues;
    SDL_Joystick* joystick = nullptr;
    int32_t deviceIndex = -1;
    SDL_JoystickID instanceId = -1; // events name their device by instance id (also when not opened)
    SDL_JoystickGUID guid{};        // what a pad that comes back is recognised by
    int32_t section = -1;           // the preset section whose binds the map holds; -1 none
    std::vector<Stick> sticks;
    // Per axis: the stick it belongs to, times two, plus 1 for a pair's y; -1 for none. Null while
    // the map has no sticks.
    std::unique_ptr<int32_t[]> axisSticks;
    // Set when the section has modes, layers, sequences or switches: the evaluation then goes
    // through it.
    std::unique_ptr<InputRoles> roles;

private:
    Stick* stickOf(uint32_t axis, int& slot);
    void evaluateStick(Stick& stick);
    void releaseSticks();

    Engine& engine_;
};

} // namespace padloom
