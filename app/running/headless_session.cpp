// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/headless_session.h"

#include "app/controller/menu_entries.h"
#include "app/pads/joystick_listing.h"
#include "app/presets/switch_target.h"

#include <deque>
#include <filesystem>
#include <mutex>
#include <utility>

namespace padloom {
HeadlessOptions storedHeadlessOptions(const SettingsStore& settings) {
    HeadlessOptions options;
    options.lockCursor = storedOption(settings, &MenuOutlets::shouldLock_mi);
    options.avoidCorners = storedOption(settings, &MenuOutlets::shouldAvoidCorners_mi);
    options.minecraftFix = storedOption(settings, &MenuOutlets::minecraftFix_mi);
    return options;
}

namespace {

// The switches asked on the polling thread, for the run's own loop.
class AskedSwitches {
public:
    explicit AskedSwitches(std::function<void()> wake) : wake_(std::move(wake)) {}

    void ask(const std::string& to) {
        const std::lock_guard<std::mutex> lock(mutex_);
        asked_.push_back(to);
        if (asked_.size() == 1) {
            wake_(); // once for every batch that the loop takes whole
        }
    }
    std::deque<std::string> take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(asked_, {});
    }

private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::deque<std::string> asked_;
};

// Activates the target within the running preset's folder; the running one stays on when the
// target can't start, and is started again if its pads went with the attempt.
void switchPreset(PresetRunner& runner, const std::string& to, const HeadlessHooks& hooks) {
    const std::filesystem::path running = runner.activePath();
    const std::string folder = running.parent_path().empty() ? "./" : running.parent_path().string() + "/";
    std::vector<ListedPreset> list = readPresetFolder(folder);
    sortPresetList(list);
    const SwitchTarget target = switchTarget(list, running.filename().string(), to);
    std::string problem = target.problem;
    if (!target.file.empty()) {
        problem = runner.activate(folder + target.file).problem();
        if (!runner.active()) {
            runner.activate(running.string());
        }
        if (runner.active()) {
            runner.startPolling();
        }
    }
    if (hooks.switched) {
        hooks.switched(runner.activePath(), problem.empty() ? problem : "\"" + to + "\": " + problem);
    }
}

} // namespace

Outcome<> runPresetUntilStopped(PresetRunner& runner, const std::string& path, const HeadlessOptions& options,
                                const HeadlessHooks& hooks) {
    AskedSwitches asked(hooks.wake);
    if (hooks.wake) {
        runner.joyManager.switchListener = [&asked](const std::string& to) { asked.ask(to); };
    }
    runner.engine.minecraftFix = options.minecraftFix;
    runner.engine.computeScreenGeometry(options.lockCursor, options.avoidCorners);
    runner.joyManager.padListener = hooks.padChanged;
    const Outcome<> started = runner.activate(path, [&] {
        if (hooks.loaded) {
            hooks.loaded(connectedJoystickCount());
        }
    });
    if (!started) {
        runner.deactivate();
        runner.joyManager.switchListener = nullptr;
        return started;
    }
    runner.startPolling();
    while (hooks.waitForStop) {
        hooks.waitForStop();
        const std::deque<std::string> switches = asked.take();
        if (switches.empty()) {
            break; // not woken for a switch: the run ends
        }
        for (const std::string& to : switches) {
            if (runner.active()) {
                switchPreset(runner, to, hooks);
            }
        }
    }
    runner.deactivate();
    runner.joyManager.switchListener = nullptr;
    return started;
}

std::string padChangeText(const PadChange& change) {
    if (change.section < 0) {
        return change.kind == PadChange::Kind::disconnected
                   ? "a pad without a section disconnected"
                   : "a pad connected; the preset has no section free for it";
    }
    const char* what = change.kind == PadChange::Kind::connected     ? " connected"
                       : change.kind == PadChange::Kind::reconnected ? " reconnected"
                                                                     : " disconnected";
    return "pad " + std::to_string(change.section + 1) + what;
}

} // namespace padloom
