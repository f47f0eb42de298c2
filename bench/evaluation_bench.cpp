// SPDX-License-Identifier: GPL-3.0-or-later
// ns per JoystickManager::handleEvent for the three kinds of control, for an axis that drives the
// cursor, plain or as part of a stick, for a bind with a mode and one inside a layer, and the
// allocations each event costs; ns per motion tick of a held turbo. The manager is built by init
// from a document, over real SDL virtual joysticks.
#include "bench/evaluation_bench.h"

#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "engine/manual_timer_source.h"
#include "engine/mouse_motion.h"
#include "engine/null_sink.h"
#include "preset/vantry_document.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/virtual_joystick.h"

#include <array>
#include <benchmark/benchmark.h>
#include <memory>

namespace padloom::bench {
namespace {

using test::axisEvent;
using test::buttonEvent;
using test::hatEvent;

VantryDocument::BindData bind(const char* input, std::initializer_list<const char*> outputs) {
    VantryDocument::BindData data{inputFromText(input), {}};
    for (const char* output : outputs) {
        data.outputs.push_back(outputFromText(output));
    }
    return data;
}

// A button with one key bind, an axis with both halves bound to keys, a hat with four directions;
// axis 1 bound to the cursor, and axes 2 and 3 bound to it as a stick with a round dead zone and a
// curve. The second pad's section: a toggle on button 0, and a layer held by button 3 that binds
// button 1.
std::unique_ptr<VantryDocument> evaluationPreset() {
    auto document = std::make_unique<VantryDocument>();
    VantryDocument::JoystickData pad{"pad", {}};
    pad.binds = {
        bind("btn 0", {"key 44"}),      bind("axi 0 +", {"key 2"}),     bind("axi 0 -", {"key 0"}),
        bind("hat 0 U", {"key 13"}),    bind("hat 0 R", {"key 2"}),     bind("hat 0 D", {"key 1"}),
        bind("hat 0 L", {"key 0"}),     bind("axi 1 +", {"mou 0 + 6"}), bind("axi 1 -", {"mou 0 - 6"}),
        bind("axi 2 +", {"mou 0 + 6"}), bind("axi 2 -", {"mou 0 - 6"}), bind("axi 3 +", {"mou 1 + 6"}),
        bind("axi 3 -", {"mou 1 - 6"})};
    StickSettings stick;
    stick.x = 2;
    stick.y = 3;
    stick.deadZoneShape = DeadZoneShape::round;
    stick.deadZone = 0.1f;
    stick.curve = 2.0f;
    pad.sticks = {stick};
    VantryDocument::JoystickData roles{"roles", {bind("btn 0", {"key 44"}), bind("btn 1", {"key 4"})}};
    roles.modes = {{inputFromText("btn 0"), *modeFromText("toggle")}};
    roles.layers = {{inputFromText("btn 3"), {bind("btn 1", {"key 5"})}}};
    document->joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    document->joysticks->push_back(std::move(pad));
    document->joysticks->push_back(std::move(roles));
    return document;
}

struct EvaluationRig {
    EvaluationRig() {
        engine.eventSink.set(&sink);
        const auto document = evaluationPreset();
        ready = sdl.ok() && pad.attached() && rolesPad.attached() && manager.init(document.get());
        if (ready) {
            manager.handleEvent(buttonEvent(rolesPad.instanceId(), 3, true)); // the layer in effect
        }
    }
    ~EvaluationRig() { manager.deinit(); }

    NullSink sink{{960, 540}};
    Engine engine;
    test::SdlJoystickSession sdl;
    test::VirtualJoystick pad{4, 4, 1};
    test::VirtualJoystick rolesPad{2, 4, 1};
    JoystickManager manager{engine};
    bool ready = false;
};

std::unique_ptr<EvaluationRig>& rigHolder() {
    static std::unique_ptr<EvaluationRig> rig;
    return rig;
}

EvaluationRig* rig() {
    auto& holder = rigHolder();
    if (!holder) {
        holder = std::make_unique<EvaluationRig>();
    }
    return holder->ready ? holder.get() : nullptr;
}

// Runs the events in turn, one per iteration; every event changes the output of some bind.
template <size_t N> void runEvents(benchmark::State& state, const std::array<SDL_Event, N>& events) {
    EvaluationRig* r = rig();
    if (r == nullptr) {
        state.SkipWithError("no SDL virtual joystick");
        return;
    }
    size_t next = 0;
    const int64_t allocationsBefore = test::allocationsOnThisThread();
    for (auto _ : state) {
        r->manager.handleEvent(events[next]);
        next = next + 1 == N ? 0 : next + 1;
    }
    const auto allocations = static_cast<double>(test::allocationsOnThisThread() - allocationsBefore);
    state.counters["allocs/event"] = benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
}

void BM_HandleEvent_Button(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->pad.instanceId() : 0;
    runEvents(state, std::array{buttonEvent(id, 0, true), buttonEvent(id, 0, false)});
}

// Full deflection one way, then the other: each event turns one half off and the other on.
void BM_HandleEvent_AxisBothHalves(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->pad.instanceId() : 0;
    runEvents(state, std::array{axisEvent(id, 0, 30000), axisEvent(id, 0, -30000)});
}

// The same on an axis bound to the cursor: each event turns one half's rate off and the other's on.
void BM_HandleEvent_AxisCursor(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->pad.instanceId() : 0;
    runEvents(state, std::array{axisEvent(id, 1, 30000), axisEvent(id, 1, -30000)});
}

// The same on the x axis of a stick: each event shapes the pair (its length, the dead zone, the
// curve) and sets the rates of both axes.
void BM_HandleEvent_StickRoundCurve(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->pad.instanceId() : 0;
    runEvents(state, std::array{axisEvent(id, 2, 30000), axisEvent(id, 2, -30000)});
}

// Round the four directions: each event turns one direction off and the next on.
void BM_HandleEvent_HatFourDirections(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->pad.instanceId() : 0;
    runEvents(state, std::array{hatEvent(id, 0, SDL_HAT_UP), hatEvent(id, 0, SDL_HAT_RIGHT),
                                hatEvent(id, 0, SDL_HAT_DOWN), hatEvent(id, 0, SDL_HAT_LEFT)});
}

// A toggle: presses turn the key on and off, releases do nothing.
void BM_HandleEvent_ButtonWithMode(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->rolesPad.instanceId() : 0;
    runEvents(state, std::array{buttonEvent(id, 0, true), buttonEvent(id, 0, false)});
}

// A button the layer in effect binds.
void BM_HandleEvent_ButtonInLayer(benchmark::State& state) {
    const SDL_JoystickID id = rig() ? rig()->rolesPad.instanceId() : 0;
    runEvents(state, std::array{buttonEvent(id, 1, true), buttonEvent(id, 1, false)});
}

// One motion tick of a preset with "turbo 50" on a held button: the tick turns its key on or off
// each time. Counter rests: whether, with the button let go, the next tick ends the timer, so that
// a turbo not held costs no ticks while idle.
void BM_MotionTick_Turbo50(benchmark::State& state) {
    EvaluationRig* r = rig();
    if (r == nullptr) {
        state.SkipWithError("no SDL virtual joystick");
        return;
    }
    Engine engine;
    NullSink sink{{960, 540}};
    ManualTimerSource timers;
    engine.eventSink.set(&sink);
    engine.timerSource.set(&timers);
    VantryDocument document;
    document.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    VantryDocument::JoystickData turbo{"turbo", {bind("btn 0", {"key 44"})}};
    turbo.modes = {{inputFromText("btn 0"), *modeFromText("turbo 50")}};
    document.joysticks->push_back(std::move(turbo));
    JoystickManager manager{engine};
    if (!manager.init(&document)) {
        state.SkipWithError("no pad for the turbo preset");
        return;
    }
    const SDL_JoystickID id = manager.joystickMap[0]->instanceId;
    manager.handleEvent(buttonEvent(id, 0, true));
    const int64_t allocationsBefore = test::allocationsOnThisThread();
    for (auto _ : state) {
        mouseTimerTick(mouseTimerIntervalMs, &engine);
    }
    const auto allocations = static_cast<double>(test::allocationsOnThisThread() - allocationsBefore);
    state.counters["allocs/tick"] = benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
    manager.handleEvent(buttonEvent(id, 0, false));
    timers.tick();
    state.counters["rests"] = engine.motionTimer.resting() && timers.liveTimers() == 0 ? 1 : 0;
    manager.deinit();
}

} // namespace

void closeEvaluationRig() {
    rigHolder().reset();
}

BENCHMARK(BM_HandleEvent_Button);
BENCHMARK(BM_HandleEvent_AxisBothHalves);
BENCHMARK(BM_HandleEvent_HatFourDirections);
BENCHMARK(BM_HandleEvent_AxisCursor);
BENCHMARK(BM_HandleEvent_StickRoundCurve);
BENCHMARK(BM_HandleEvent_ButtonWithMode);
BENCHMARK(BM_HandleEvent_ButtonInLayer);
BENCHMARK(BM_MotionTick_Turbo50);

} // namespace padloom::bench
