#include "app/running/headless_session.h"

#include "app/controller/menu_entries.h"
#include "app/pads/joystick_listing.h"

namespace padloom {
HeadlessOptions storedHeadlessOptions(const SettingsStore& settings) {
    HeadlessOptions options;
    options.lockCursor = storedOption(settings, &MenuOutlets::shouldLock_mi);
    options.avoidCorners = storedOption(settings, &MenuOutlets::shouldAvoidCorners_mi);
    options.minecraftFix = storedOption(settings, &MenuOutlets::minecraftFix_mi);
    return options;
}

Outcome<> runPresetUntilStopped(PresetRunner& runner, const std::string& path, const HeadlessOptions& options,
                                const HeadlessHooks& hooks) {
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
        return started;
    }
    runner.startPolling();
    if (hooks.waitForStop) {
        hooks.waitForStop();
    }
    runner.deactivate();
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
