#include "app/headless_session.h"

#include "app/joystick_listing.h"
#include "app/option_keys.h"
#include "engine/mouse_motion.h"
#include "engine/screen_geometry.h"

namespace padloom {
namespace {

bool storedOr(const SettingsStore& settings, const char* key, bool initial) {
    return settings.has(key) ? settings.getBool(key) : initial;
}

} // namespace

HeadlessOptions storedHeadlessOptions(const SettingsStore& settings) {
    HeadlessOptions options;
    options.lockCursor = storedOr(settings, options::lockCursorKey, options::lockCursorInitial);
    options.avoidCorners = storedOr(settings, options::avoidCornersTitle, options::avoidCornersInitial);
    options.minecraftFix = storedOr(settings, options::minecraftFixTitle, options::minecraftFixInitial);
    return options;
}

ActivationResult runPresetUntilStopped(const std::string& path, const HeadlessOptions& options,
                                       const std::function<void()>& waitForStop,
                                       const std::function<void(int)>& joysticksCounted) {
    minecraftFix = options.minecraftFix;
    if (options.lockCursor) {
        screenGeometry.computeMainDisplay(options.avoidCorners);
    } else {
        screenGeometry.computeAllDisplays(options.avoidCorners);
    }
    PresetRunner runner;
    const ActivationResult result = runner.activate(path, [&] {
        if (joysticksCounted) {
            joysticksCounted(connectedJoystickCount());
        }
    });
    if (result != ActivationResult::started) {
        runner.deactivate();
        return result;
    }
    runner.startPolling();
    waitForStop();
    runner.deactivate();
    return result;
}

} // namespace padloom
