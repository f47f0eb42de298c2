#include "app/preset_runner.h"

#include "app/joystick_listing.h"
#include "preset/vantry_document.h"

#include <SDL.h>

namespace padloom {

PresetRunner::~PresetRunner() {
    deactivate();
}

ActivationResult PresetRunner::activate(const std::string& path,
                                        const std::function<void()>& joysticksCounted,
                                        std::string* loadError) {
    if (active_ || pollingThread_.joinable()) {
        deactivate();
    }
    VantryDocument document;
    if (!document.load(path.c_str())) {
        if (loadError != nullptr) {
            *loadError = document.lastError();
        }
        return ActivationResult::unreadable;
    }
    initJoystickSubSystem();
    if (joysticksCounted) {
        joysticksCounted();
    }
    if (!joyManager.init(&document)) {
        return ActivationResult::noJoystick;
    }
    active_ = true;
    return ActivationResult::started;
}

void PresetRunner::startPolling() {
    joinPollingThread();
    joystickPollingEnabled = true;
    pollingThread_ = std::thread([this] { joystickPollingTask(); });
}

void PresetRunner::deactivate(const std::function<void()>& underLock) {
    stopPolling();
    {
        std::lock_guard<std::mutex> lock(activationLock);
        joyManager.deinit();
        deinitJoystickSubSystem();
        active_ = false;
        if (underLock) {
            underLock();
        }
    }
    joinPollingThread();
}

// A task that was stopped alone (the configuration window closed) has left its loop or will
// within about 510 ms; wait for it so that no two tasks ever run and none outlives its runner.
void PresetRunner::joinPollingThread() {
    if (pollingThread_.joinable()) {
        stopPolling();
        pollingThread_.join();
    }
}

void PresetRunner::joystickPollingTask() {
    std::lock_guard<std::mutex> lock(activationLock);
    joystickPollingTaskRunning = true;
    SDL_Event event;
    while (joystickPollingEnabled) {
        while (SDL_PollEvent(&event) != 0) {
            joyManager.handleEvent(event);
        }
        if (!joystickPollingEnabled) {
            break;
        }
        SDL_Delay(10);
        SDL_WaitEventTimeout(nullptr, 500);
    }
    while (SDL_PollEvent(&event) != 0) {
    }
    joystickPollingTaskRunning = false;
}

} // namespace padloom
