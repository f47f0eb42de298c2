// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/joystick_manager.h"

#include "engine/engine.h"
#include "preset/output_kinds.h"
#include "preset/vantry_document.h"

#include <algorithm>

namespace padloom {
namespace {

void discardQueuedEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
    }
}

} // namespace

JoystickManager::~JoystickManager() {
    deinit();
}

bool JoystickManager::init(const VantryDocument* document) {
    if (wasInit) {
        deinit();
    }
    const int32_t deviceCount = SDL_NumJoysticks();
    if (deviceCount <= 0) {
        joystickCount = 0;
        return false;
    }
    if (document && document->joysticks) {
        for (const VantryDocument::JoystickData& joystick : *document->joysticks) {
            Section& section = sections_.emplace_back();
            section.sticks = joystick.sticks;
            for (const VantryDocument::BindData& bind : joystick.binds) {
                for (const BindOutput& output : bind.outputs) {
                    section.binds.emplace_back(bind.input, output);
                    section.needsTimer = section.needsTimer || isRate(output.kind);
                }
            }
            section.roles = sectionRolesOf(joystick);
            for (const VantryDocument::LayerData& layer : joystick.layers) {
                for (const VantryDocument::BindData& bind : layer.binds) {
                    section.needsTimer =
                        section.needsTimer ||
                        std::any_of(bind.outputs.begin(), bind.outputs.end(),
                                    [](const BindOutput& output) { return isRate(output.kind); });
                }
            }
            section.needsTimer = section.needsTimer || section.roles.ticks();
            if (section.roles.ticks()) {
                engine_.roleTicker.store(this);
            }
        }
    }
    SDL_JoystickEventState(SDL_ENABLE);
    // Sections drive devices by position; the name a section carries is not compared.
    for (int32_t i = 0; i < deviceCount; ++i) {
        openPad(i, i < static_cast<int32_t>(sections_.size()) ? i : -1);
    }
    // Input that arrived while the devices were opened is not evaluated; a device that appeared
    // meanwhile (its arrival was among it) is opened now.
    discardQueuedEvents();
    openNewPads();
    bool timerNeeded = false;
    for (const Section& section : sections_) {
        timerNeeded = timerNeeded || (section.state == Section::State::taken && section.needsTimer);
    }
    if (timerNeeded) {
        startMouseTimer(mouseTimerIntervalMs);
    }
    wasInit = true;
    return true;
}

void JoystickManager::deinit() {
    // SDL's queue exists only while some subsystem runs (the manager may outlive SDL_Quit).
    const bool sdlRunning = SDL_WasInit(SDL_INIT_EVERYTHING) != 0;
    if (sdlRunning) {
        SDL_JoystickEventState(SDL_IGNORE);
    }
    // The timer goes first: once it is stopped no tick reads the state reset below.
    stopMouseTimer();
    if (sdlRunning) {
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            handleEvent(event);
        }
    }
    {
        const std::unique_lock<std::mutex> lock = rolesLock();
        // Released before the reset, so that mouse buttons go up with their click state.
        releaseHeldControls();
        engine_.mouseState.reset();
        while (!joystickMap.empty()) {
            joystickMap.pop_back(); // the last first; each closes its device
        }
        sections_.clear();
    }
    if (engine_.roleTicker.load() == this) {
        engine_.roleTicker.store(nullptr);
    }
    wasInit = false;
}

void JoystickManager::startMouseTimer(uint32_t intervalMs) {
    mouseTimerEnabled = engine_.motionTimer.start(intervalMs); // replaces a running one
}

void JoystickManager::stopMouseTimer() {
    if (mouseTimerEnabled) {
        mouseTimerEnabled = false;
        engine_.motionTimer.stop();
    }
}

} // namespace padloom
