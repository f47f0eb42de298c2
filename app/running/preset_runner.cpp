// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/preset_runner.h"

#include "app/pads/joystick_listing.h"
#include "app/presets/preset_files.h"
#include "preset/vantry_document.h"

#include <SDL.h>
#include <pthread.h>
#include <span>

namespace padloom {
namespace {

// The longest wait where the pads that come can't be heard while the task sleeps.
constexpr uint32_t idleWaitMs = 500;
// Events taken from SDL's queue at a time (one lock of the queue), oldest first.
constexpr int eventsPerTake = 32;

// The joystick events SDL has queued, and only those: other events belong to the main thread.
int takeJoystickEvents(SDL_Event* events) {
    return SDL_PeepEvents(events, eventsPerTake, SDL_GETEVENT, SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
}

bool padCameOrWent(const SDL_Event& event) {
    return event.type == SDL_JOYDEVICEADDED || event.type == SDL_JOYDEVICEREMOVED;
}

} // namespace

PresetRunner::PresetRunner(PadWait::NodeSource padNodes, PadWait::ChangeSource deviceChanges)
    : padWait_(std::move(padNodes), std::move(deviceChanges)) {}

PresetRunner::~PresetRunner() {
    deactivate();
}

Outcome<> PresetRunner::activate(const std::string& path, const std::function<void()>& joysticksCounted,
                                 const std::function<void()>& stopping) {
    const Problem noJoystick{"No joystick is connected. Connect one and try again."};
    VantryDocument document;
    if (const Outcome<> loaded = loadPreset(document, path); !loaded) {
        return Problem{"The preset file could not be read: " + loaded.problem() + "."};
    }
    // While a preset runs, the joystick subsystem is up and counts the pads. With none, the new
    // preset could not start; neither could the running one again, so it goes on waiting for them.
    if (active_ && connectedJoystickCount() == 0) {
        return noJoystick;
    }
    if (active_ || pollingThread_.joinable()) {
        deactivate(stopping);
    }
    initJoystickSubSystem();
    if (joysticksCounted) {
        joysticksCounted();
    }
    if (!joyManager.init(&document)) {
        return noJoystick;
    }
    active_ = true;
    activePath_ = path;
    changed();
    return {};
}

void PresetRunner::setChangeListener(const void* owner, std::function<void()> listener) {
    std::erase_if(listeners_, [owner](const auto& entry) { return entry.first == owner; });
    if (listener) {
        listeners_.emplace_back(owner, std::move(listener));
    }
}

void PresetRunner::changed() {
    for (const auto& [owner, listener] : listeners_) {
        listener();
    }
}

void PresetRunner::startPolling() {
    joinPollingThread();
    joystickPollingEnabled = true;
    pollingThread_ = std::thread([this] { joystickPollingTask(); });
}

void PresetRunner::stopPolling() {
    joystickPollingEnabled = false;
    padWait_.wake();
}

void PresetRunner::deactivate(const std::function<void()>& underLock) {
    const bool wasActive = active_;
    stopPolling();
    {
        std::lock_guard<std::mutex> lock(activationLock);
        joyManager.deinit();
        deinitJoystickSubSystem();
        active_ = false;
        activePath_.clear();
        if (underLock) {
            underLock();
        }
    }
    joinPollingThread();
    if (wasActive) {
        changed();
    }
}

// A task that was stopped alone (the configuration window closed) has left its loop or will
// within about 510 ms; wait for it so that no two tasks ever run and none outlives its runner.
void PresetRunner::joinPollingThread() {
    if (pollingThread_.joinable()) {
        stopPolling();
        pollingThread_.join();
    }
}

// SDL_JoystickUpdate reads the pads (and notices pads that come and go) without pumping SDL's
// other sources: the window system's events are the main thread's to pump.
//
// Each batch is what SDL has queued when the task wakes, handled in the order it came, and the
// task waits again at once: a press is handled as soon as the pad reports it. The wait is what
// keeps the task cheap: a still pad leaves it asleep, a moving stick wakes it once a report.
void PresetRunner::joystickPollingTask() {
    pthread_setname_np(pthread_self(), pollingThreadName);
    std::lock_guard<std::mutex> lock(activationLock);
    joystickPollingTaskRunning = true;
    SDL_Event events[eventsPerTake];
    while (joystickPollingEnabled) {
        SDL_JoystickUpdate();
        for (int taken = takeJoystickEvents(events); taken > 0; taken = takeJoystickEvents(events)) {
            for (const SDL_Event& event : std::span(events, static_cast<size_t>(taken))) {
                joyManager.handleEvent(event);
                if (padCameOrWent(event)) {
                    padWait_.padsChanged();
                }
            }
            if (taken < eventsPerTake) {
                break; // the queue is empty
            }
        }
        if (!joystickPollingEnabled) {
            break;
        }
        padWait_.wait(padWait_.stillWaitMs(idleWaitMs));
    }
    // What came after the last batch is not evaluated.
    SDL_JoystickUpdate();
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
    joystickPollingTaskRunning = false;
}

} // namespace padloom
