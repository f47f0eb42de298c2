// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/input_roles.h"

#include "engine/engine.h"
#include "engine/joystick_map.h"
#include "preset/output_kinds.h"

#include <algorithm>
#include <cmath>

namespace padloom {
namespace {

constexpr uint32_t ticksPerSecond = 100; // motion ticks of 10 ms
constexpr uint32_t tickMs = 10;
constexpr uint32_t hatBits = 4;

int bitIndex(int32_t mask) {
    switch (mask) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return -1;
    }
}

// Ticks on (and as many off) of a turbo at this rate: 50 a second is one tick each.
uint32_t turboHalf(float rate) {
    const float half = std::round(static_cast<float>(ticksPerSecond) / 2.0f / rate);
    return half < 1 ? 1 : static_cast<uint32_t>(half);
}

ButtonBind stepBind(const SequenceStep& step) {
    return {step.output.kind, static_cast<int32_t>(step.output.code), step.output.sign, step.output.amount,
            0};
}

} // namespace

bool SectionRoles::any() const {
    return !modes.empty() || !layers.empty() || !sequences.empty() || !switches.empty();
}

bool SectionRoles::ticks() const {
    for (const InputMode& entry : modes) {
        if (entry.mode.kind == ModeKind::turbo) {
            return true;
        }
    }
    return !sequences.empty();
}

SectionRoles sectionRolesOf(const VantryDocument::JoystickData& section) {
    return {section.modes, section.layers, section.sequences, section.switches};
}

InputRoles::InputRoles(Engine& engine, JoystickMap& map, const SectionRoles& roles,
                       const SwitchListener* listener)
    : engine_(engine), map_(map), listener_(listener) {
    for (uint32_t b = 0; b < static_cast<uint32_t>(map.buttonCount); ++b) {
        slots_.push_back({Control::button, b, 0});
    }
    for (uint32_t a = 0; a < static_cast<uint32_t>(map.axisCount); ++a) {
        slots_.push_back({Control::axis, a, 1});
        slots_.push_back({Control::axis, a, -1});
    }
    for (uint32_t h = 0; h < static_cast<uint32_t>(map.hatCount); ++h) {
        for (uint32_t bit = 0; bit < hatBits; ++bit) {
            slots_.push_back({Control::hat, h, static_cast<int32_t>(1u << bit)});
        }
    }
    // A later entry for the same input wins, as the last member of a JSON object does.
    for (const InputMode& entry : roles.modes) {
        const int slot = slotOf(entry.input);
        if (slot >= 0) {
            slots_[slot].mode = entry.mode.kind;
            slots_[slot].half = entry.mode.kind == ModeKind::turbo ? turboHalf(entry.mode.rate) : 0;
        }
    }
    layerCount_ = std::min(roles.layers.size(), mostLayerSets);
    layerBinds_.assign(layerCount_ * slots_.size(), 0);
    for (size_t layer = 0; layer < layerCount_; ++layer) {
        const int holder = slotOf(roles.layers[layer].whileInput);
        if (holder >= 0 && slots_[holder].layer < 0) {
            slots_[holder].layer = static_cast<int32_t>(layer);
        }
        for (const VantryDocument::BindData& bind : roles.layers[layer].binds) {
            const int slot = slotOf(bind.input);
            if (slot >= 0) {
                layerBinds_[layer * slots_.size() + static_cast<size_t>(slot)] = 1;
            }
        }
    }
    for (const InputSequence& sequence : roles.sequences) {
        const int slot = slotOf(sequence.input);
        if (slot >= 0) {
            slots_[slot].sequence = static_cast<int32_t>(sequences_.size());
            sequences_.push_back(sequence.steps);
        }
    }
    running_.resize(sequences_.size());
    for (const PresetSwitch& entry : roles.switches) {
        std::vector<int>& inputs = switches_.emplace_back();
        for (const BindInput& input : entry.press) {
            inputs.push_back(slotOf(input));
        }
        if (std::find(inputs.begin(), inputs.end(), -1) != inputs.end()) {
            inputs.clear(); // an input the pad lacks: never completes
        }
        switchTargets_.push_back(entry.to);
    }
}

InputRoles::~InputRoles() {
    busy(-busy_);
}

int InputRoles::slotOf(const BindInput& input) const {
    const auto buttons = static_cast<uint32_t>(map_.buttonCount);
    const auto axes = static_cast<uint32_t>(map_.axisCount);
    switch (input.kind) {
    case InputKind::button:
        return input.index < buttons ? static_cast<int>(input.index) : -1;
    case InputKind::axis:
        return input.index < axes
                   ? static_cast<int>(buttons + 2 * input.index + (input.direction < 0 ? 1 : 0))
                   : -1;
    case InputKind::hat: {
        const int bit = bitIndex(input.direction);
        if (input.index >= static_cast<uint32_t>(map_.hatCount) || bit < 0) {
            return -1;
        }
        return static_cast<int>(buttons + 2 * axes + hatBits * input.index) + bit;
    }
    default:
        return -1;
    }
}

void InputRoles::button(uint32_t button, bool pressed) {
    changed(static_cast<int>(button), pressed);
}

void InputRoles::hat(uint32_t hat, uint8_t value) {
    const auto first = static_cast<size_t>(map_.buttonCount + 2 * map_.axisCount) + hatBits * hat;
    for (uint32_t bit = 0; bit < hatBits; ++bit) {
        changed(static_cast<int>(first + bit), (value & (1u << bit)) != 0);
    }
}

void InputRoles::axis(uint32_t axis, int axisSign) {
    const float value = map_.axisValues[axis];
    const auto first = static_cast<int>(static_cast<uint32_t>(map_.buttonCount) + 2 * axis);
    axisHalf(first, value, axisSign);
    axisHalf(first + 1, -value, axisSign);
}

// An axis half with no mode follows the axis as a plain bind does, with the set of binds it took
// when it left its rest; its role as an input (sequence, switch, layer) starts past the threshold.
void InputRoles::axisHalf(int index, float deflection, int axisSign) {
    Slot& slot = slots_[index];
    if (slot.mode == ModeKind::normal && slot.layer < 0) {
        const bool engaged = deflection > 0;
        if (engaged && !slot.engaged) {
            slot.set = setFor(index);
        }
        slot.engaged = engaged;
        for (AxisBind& bind : map_.axisBinds[slot.index]) {
            if (bind.direction != slot.direction || bind.set != slot.set) {
                continue;
            }
            const ButtonBind plain{bind.kind, bind.code, bind.sign, bind.amount, bind.set};
            if (!bind.active) {
                if (bind.direction == axisSign && deflection > bind.threshold) {
                    bind.active = true;
                    map_.bindOn(plain, deflection);
                }
            } else if (deflection <= bind.threshold) {
                bind.active = false;
                map_.bindOff(plain);
            } else if (isRate(bind.kind)) {
                map_.bindOn(plain, deflection);
            }
        }
    }
    changed(index, deflection > axisSwitchThreshold);
}

void InputRoles::changed(int index, bool held) {
    Slot& slot = slots_[index];
    if (slot.held == held) {
        return;
    }
    slot.held = held;
    if (slot.layer >= 0) {
        slot.heldOrder = held ? ++order_ : 0;
        updateLayer();
    } else {
        switch (slot.mode) {
        case ModeKind::normal:
            if (slot.control != Control::axis) {
                drive(index, held);
            }
            break;
        case ModeKind::toggle:
            if (held) {
                drive(index, !slot.bindsOn);
            }
            break;
        case ModeKind::turbo:
            slot.ticks = 0;
            drive(index, held);
            busy(held ? 1 : -1);
            break;
        }
        if (held && slot.sequence >= 0) {
            startSequence(slot.sequence);
        }
    }
    if (held) {
        checkSwitches(index);
    }
}

void InputRoles::drive(int index, bool on) {
    Slot& slot = slots_[index];
    if (slot.bindsOn == on) {
        return;
    }
    if (on) {
        slot.set = setFor(index);
    }
    slot.bindsOn = on;
    switchBinds(slot, on);
}

void InputRoles::switchBinds(const Slot& slot, bool on) {
    switch (slot.control) {
    case Control::button:
        for (const ButtonBind& bind : map_.buttonBinds[slot.index]) {
            if (bind.set == slot.set) {
                on ? map_.bindOn(bind, 1.0f) : map_.bindOff(bind);
            }
        }
        return;
    case Control::axis:
        for (AxisBind& bind : map_.axisBinds[slot.index]) {
            if (bind.direction == slot.direction && bind.set == slot.set && bind.active != on) {
                bind.active = on;
                const ButtonBind plain{bind.kind, bind.code, bind.sign, bind.amount, bind.set};
                on ? map_.bindOn(plain, 1.0f) : map_.bindOff(plain);
            }
        }
        return;
    case Control::hat:
        for (HatBind& bind : map_.hatBinds[slot.index]) {
            if (bind.mask == static_cast<uint32_t>(slot.direction) && bind.set == slot.set &&
                bind.active != on) {
                bind.active = on;
                const ButtonBind plain{bind.kind, bind.code, bind.sign, bind.amount, bind.set};
                on ? map_.bindOn(plain, 1.0f) : map_.bindOff(plain);
            }
        }
        return;
    }
}

uint8_t InputRoles::setFor(int index) const {
    if (effectLayer_ < 0 ||
        layerBinds_[static_cast<size_t>(effectLayer_) * slots_.size() + static_cast<size_t>(index)] == 0) {
        return 0;
    }
    return static_cast<uint8_t>(effectLayer_ + 1);
}

void InputRoles::updateLayer() {
    effectLayer_ = -1;
    uint32_t latest = 0;
    for (const Slot& slot : slots_) {
        if (slot.layer >= 0 && slot.held && slot.heldOrder > latest) {
            latest = slot.heldOrder;
            effectLayer_ = slot.layer;
        }
    }
}

void InputRoles::startSequence(int sequence) {
    Running& run = running_[static_cast<size_t>(sequence)];
    if (run.running) {
        return;
    }
    run = {true, false, 0, 0, 0};
    busy(1);
    advance(sequence);
}

// Steps every step that starts by now: a key or mouse button goes down at its tick and up at the
// next, a wheel step scrolls once, a wait only delays the next step.
void InputRoles::advance(int sequence) {
    Running& run = running_[static_cast<size_t>(sequence)];
    const std::vector<SequenceStep>& steps = sequences_[static_cast<size_t>(sequence)];
    while (run.running) {
        if (run.pressed) {
            if (run.now < run.stepStart + 1) {
                return;
            }
            stepOutput(steps[run.step], false, run.step + 1);
            run.pressed = false;
            run.stepStart += 2;
            ++run.step;
            continue;
        }
        if (run.step >= steps.size()) {
            run.running = false;
            busy(-1);
            return;
        }
        if (run.stepStart > run.now) {
            return;
        }
        const SequenceStep& step = steps[run.step];
        if (step.output.kind == OutputKind::none) {
            run.stepStart += (step.waitMs + tickMs - 1) / tickMs;
            ++run.step;
        } else if (step.output.kind == OutputKind::wheelStep) {
            stepOutput(step, true, run.step + 1);
            run.stepStart += 2;
            ++run.step;
        } else {
            stepOutput(step, true, run.step + 1);
            run.pressed = true;
        }
    }
}

void InputRoles::stepOutput(const SequenceStep& step, bool down, uint32_t number) {
    EventSink& sink = engine_.eventSink.get();
    sink.noteOrigin(EventOrigin::sequence, number);
    down ? map_.bindOn(stepBind(step), 1.0f) : map_.bindOff(stepBind(step));
    sink.noteOrigin(EventOrigin::input, 0);
}

void InputRoles::checkSwitches(int index) {
    for (size_t i = 0; i < switches_.size(); ++i) {
        const std::vector<int>& inputs = switches_[i];
        if (std::find(inputs.begin(), inputs.end(), index) == inputs.end()) {
            continue;
        }
        const bool complete =
            std::all_of(inputs.begin(), inputs.end(), [this](int slot) { return slots_[slot].held; });
        if (complete && listener_ != nullptr && *listener_) {
            (*listener_)(switchTargets_[i]);
        }
    }
}

void InputRoles::tick() {
    EventSink& sink = engine_.eventSink.get();
    for (size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (slot.mode != ModeKind::turbo || !slot.held || slot.layer >= 0) {
            continue;
        }
        ++slot.ticks;
        if (slot.ticks % slot.half == 0) {
            sink.noteOrigin(EventOrigin::turbo, 0);
            drive(static_cast<int>(i), (slot.ticks / slot.half) % 2 == 0);
            sink.noteOrigin(EventOrigin::input, 0);
        }
    }
    for (size_t i = 0; i < running_.size(); ++i) {
        if (running_[i].running) {
            ++running_[i].now;
            advance(static_cast<int>(i));
        }
    }
}

void InputRoles::end() {
    for (size_t i = 0; i < slots_.size(); ++i) {
        drive(static_cast<int>(i), false);
    }
    for (size_t i = 0; i < running_.size(); ++i) {
        Running& run = running_[i];
        if (run.running && run.pressed) {
            stepOutput(sequences_[i][run.step], false, run.step + 1);
        }
        if (run.running) {
            run.running = false;
            busy(-1);
        }
    }
}

void InputRoles::busy(int delta) {
    if (delta == 0) {
        return;
    }
    busy_ += delta;
    // Written before the wake reads the schedule, so a resting timer either sees it or is woken.
    engine_.roleTicks.fetch_add(delta);
    if (delta > 0) {
        engine_.motionTimer.wake();
    }
}

} // namespace padloom
