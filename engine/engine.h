// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the engine keeps while it maps pads: the shared mouse state, the screen geometry,
// the modifier flags, the Minecraft fix option and the motion timer, and the four seams through
// which it reaches the system. Whoever runs a preset owns one Engine (the desktop app and
// padloomctl through PresetRunner, padloomctl replay, each test and benchmark) and hands it to
// its JoystickManager; the motion tick gets it as its timer's parameter.
//
// The modifier flags live as long as the Engine: they outlive deactivation and later activations.
#pragma once

#include "engine/clock.h"
#include "engine/display_source.h"
#include "engine/motion_timer.h"
#include "engine/mouse_state.h"
#include "engine/null_sink.h"
#include "engine/screen_geometry.h"
#include "engine/seam.h"
#include "engine/timer_source.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace padloom {

class JoystickManager;

class Engine {
    // The seams' defaults, made before the seams that point at them.
    SdlClock sdlClock_;
    NullSink droppingSink_; // events go nowhere and the cursor stays at the origin, visible
    SteadyTimerSource timers_{tickRestMs};
    SdlDisplaySource sdlDisplays_;

public:
    Engine() = default;
    ~Engine(); // stops the motion timer
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Seam<Clock> clock{sdlClock_};
    Seam<EventSink> eventSink{droppingSink_};
    Seam<TimerSource> timerSource{timers_};
    Seam<DisplaySource> displaySource{sdlDisplays_};

    MotionTimer motionTimer{*this};
    MouseState mouseState{motionTimer, clock};
    ScreenGeometry screenGeometry;
    // The modifiers the engine believes held, set and cleared only by its own modifier key events.
    // Touched only on the polling thread.
    uint64_t modifierFlags = 0;
    // While the cursor is hidden, motion is posted as deltas only, at the cursor's current
    // position. Written on the main thread, read by the motion tick.
    std::atomic<bool> minecraftFix{false};

    // Turbo and sequences post from the motion tick what the evaluation posts from the polling
    // thread (keys, mouse buttons, the modifier flags). While a preset with them is active,
    // roleTicker names its manager, and the evaluation and the tick's role step hold this lock.
    std::mutex inputRolesLock;
    std::atomic<JoystickManager*> roleTicker{nullptr};
    // Held turbo inputs and running sequences: while any, the motion timer does not rest.
    std::atomic<int> roleTicks{0};

    // Computes screenGeometry from the display source: the cursor locked to the main display, or
    // roaming over all displays; with or without the corner zones.
    void computeScreenGeometry(bool lockToMainDisplay, bool avoidCorners);
};

} // namespace padloom
