// SPDX-License-Identifier: GPL-3.0-or-later
// What a section's modes, layers, sequences and switches make of a pad's input. A map whose
// section holds any of them evaluates its controls through InputRoles; a map without keeps the
// plain evaluation.
//
// An input (a button, an axis half, a hat direction) is on while it is held: a button pressed, an
// axis half pushed past axisSwitchThreshold, a hat direction held. Its binds act through the
// ordinary outputs, so modifier flags, click counts and drags behave as for any bind.
//   - A mode changes when the input's binds go on and off: "toggle" every other press, "turbo"
//     pulses on the motion tick while the input is held. An axis half with a mode acts as a
//     button: its binds go on as at full deflection.
//   - While a layer's input is held, the layer's binds act instead of the section's for the
//     inputs the layer binds; the layer whose input went on last wins. Each input keeps the set
//     of binds it went on with until it goes off. The layer's input acts only as that.
//   - A sequence starts when its input goes on, after the input's binds; the motion tick steps it.
//   - A switch completes when the last of its inputs goes on; the listener is told the target.
//
// Everything here runs on the polling thread or in the motion tick, which Engine::inputRolesLock
// keeps apart; the evaluation allocates nothing.
#pragma once

#include "preset/section_members.h"
#include "preset/vantry_document.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace padloom {

class Engine;
class JoystickMap;
struct ButtonBind;

// Layer sets are numbered in a byte: layers past this many keep the section's binds.
inline constexpr size_t mostLayerSets = 254;

// What a section holds besides its binds, as the engine keeps it while the preset is active.
struct SectionRoles {
    std::vector<InputMode> modes;
    std::vector<VantryDocument::LayerData> layers;
    std::vector<InputSequence> sequences;
    std::vector<PresetSwitch> switches;

    bool any() const;
    // Turbo or a sequence: the section needs the motion tick.
    bool ticks() const;
};
SectionRoles sectionRolesOf(const VantryDocument::JoystickData& section);

// Told, on the polling thread, the "to" of a switch that completed.
using SwitchListener = std::function<void(const std::string& to)>;

class InputRoles {
public:
    // The map's controls must be open and its binds attached (layer k's with set k). listener may
    // be null; it must outlive this.
    InputRoles(Engine& engine, JoystickMap& map, const SectionRoles& roles, const SwitchListener* listener);
    ~InputRoles();
    InputRoles(const InputRoles&) = delete;
    InputRoles& operator=(const InputRoles&) = delete;

    void button(uint32_t button, bool pressed);
    void hat(uint32_t hat, uint8_t value); // before the map records the value
    void axis(uint32_t axis, int axisSign);
    // One motion tick: turbo pulses, then sequence steps.
    void tick();
    // After the controls were let go: turns off binds a toggle left on and ends every sequence,
    // releasing an output its step holds.
    void end();

private:
    enum class Control : uint8_t { button, axis, hat };
    struct Slot {
        Control control = Control::button;
        uint32_t index = 0;
        int32_t direction = 0; // axis: +1 or -1; hat: its bit
        bool held = false;
        bool engaged = false; // axis half off its rest: binds with no mode may be on
        bool bindsOn = false; // the binds a mode drives are on
        uint8_t set = 0;      // the binds it went on with
        ModeKind mode = ModeKind::normal;
        uint32_t half = 0;  // turbo: ticks on, then as many off
        uint32_t ticks = 0; // turbo: ticks since the press
        int32_t sequence = -1;
        int32_t layer = -1; // the layer this input holds in effect
        uint32_t heldOrder = 0;
    };
    struct Running {
        bool running = false;
        bool pressed = false; // a step's output is down
        uint32_t step = 0;
        uint32_t now = 0;       // ticks since the press
        uint32_t stepStart = 0; // the tick the current step starts at
    };

    int slotOf(const BindInput& input) const;
    void changed(int slot, bool held);
    void drive(int slot, bool on);
    void switchBinds(const Slot& slot, bool on);
    void axisHalf(int slot, float deflection, int axisSign);
    uint8_t setFor(int slot) const;
    void updateLayer();
    void startSequence(int sequence);
    void advance(int sequence);
    void stepOutput(const SequenceStep& step, bool down, uint32_t number);
    void checkSwitches(int slot);
    void busy(int delta);

    Engine& engine_;
    JoystickMap& map_;
    const SwitchListener* listener_;
    std::vector<Slot> slots_;
    std::vector<uint8_t> layerBinds_; // [layer * slots + slot]: the layer binds that input
    size_t layerCount_ = 0;
    int effectLayer_ = -1;
    uint32_t order_ = 0;
    std::vector<std::vector<SequenceStep>> sequences_;
    std::vector<Running> running_;
    std::vector<std::vector<int>> switches_; // the slots of each switch; empty: can't complete
    std::vector<std::string> switchTargets_;
    int busy_ = 0; // held turbo inputs and running sequences: what keeps the motion tick awake
};

} // namespace padloom
