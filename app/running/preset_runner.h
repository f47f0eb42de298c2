// SPDX-License-Identifier: GPL-3.0-or-later
// Activation and deactivation of a preset and the polling task that feeds SDL's joystick events
// to the engine. The desktop controller and padloomctl run both drive presets through this.
//
// The polling task runs on a thread of its own and holds activationLock for its whole run;
// deactivation clears joystickPollingEnabled and then takes the same lock, so the manager is
// never reset while the task evaluates an event. Between batches the task waits on the pads'
// device nodes (app/running/pad_wait.h) until input, a device change or stopPolling, which ends
// that wait at once (for up to 500 ms where device changes can't be heard).
#pragma once

#include "app/outcome.h"
#include "app/running/pad_wait.h"
#include "engine/engine.h"
#include "engine/joystick_manager.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace padloom {

// The polling task's thread is named so (ps -L, top -H, and the bench's share of it).
constexpr const char* pollingThreadName = "padloom-polling";

class PresetRunner {
public:
    // padNodes tells the polling task which device nodes to wait on, deviceChanges what tells it
    // of pads that come and go.
    explicit PresetRunner(PadWait::NodeSource padNodes = openJoystickNodes,
                          PadWait::ChangeSource deviceChanges = kernelDeviceChanges);
    ~PresetRunner(); // deactivates
    PresetRunner(const PresetRunner&) = delete;
    PresetRunner& operator=(const PresetRunner&) = delete;

    // Loads the preset at path and builds the engine's maps for the connected joysticks, starting
    // SDL's joystick subsystem (then calls joysticksCounted, if given). Does not start polling.
    // A preset still active keeps running when the new one can't start (it does not load, or no
    // joystick is connected); otherwise it is deactivated first, with stopping run as deactivate
    // runs underLock. The problem is a sentence for the user.
    Outcome<> activate(const std::string& path, const std::function<void()>& joysticksCounted = {},
                       const std::function<void()>& stopping = {});
    // Sets joystickPollingEnabled and starts the polling task on a new thread.
    void startPolling();
    // Clears joystickPollingEnabled and wakes the task; does not wait for it.
    void stopPolling();
    // Stops polling, waits for the task to leave its loop, resets the engine, stops SDL's joystick
    // subsystem; underLock runs last while the lock is held. Safe in any state.
    void deactivate(const std::function<void()>& underLock = {});

    // True from a successful activate until deactivate, even after the task was stopped alone.
    bool active() const { return active_; }
    // The path the active preset was loaded from; empty while none is active.
    const std::string& activePath() const { return activePath_; }
    // Called after every change of active() (on the thread that activates and deactivates). One
    // listener per owner; an empty listener removes the owner's.
    void setChangeListener(const void* owner, std::function<void()> listener);

    // The engine's state and seams: set its event sink before activating; the modifier flags it
    // keeps outlive every deactivation.
    Engine engine;
    JoystickManager joyManager{engine};
    // The polling request (also the capture's); written on the main thread, read by the task.
    std::atomic<bool> joystickPollingEnabled{false};
    // Set while the polling task (or a capture) holds the joystick events.
    std::atomic<bool> joystickPollingTaskRunning{false};
    std::mutex activationLock;

private:
    void joystickPollingTask();
    void joinPollingThread();

    PadWait padWait_;
    std::thread pollingThread_;
    bool active_ = false;
    std::string activePath_;
    void changed();

    std::vector<std::pair<const void*, std::function<void()>>> listeners_;
};

} // namespace padloom
