// Activating and deactivating presets from the pages and the menu.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "preset/vantry_document.h"

namespace padloom {

bool TesselAppDelegate::activatePreset(const std::string& fileName, std::string* whyNot) {
    evaluateMain(main_page::showBlockLayer());
    const auto refuse = [whyNot](std::string reason) {
        if (whyNot != nullptr) {
            *whyNot = std::move(reason);
        }
        return false;
    };
    if (captureRunning_) {
        // The capture owns SDL's joystick events until it ends.
        return refuse("A joystick input is being detected in the editor. Let it finish, or press Escape, "
                      "and try again.");
    }
    std::string problem;
    const std::optional<std::string> path = presetFile(fileName, problem);
    if (!path) {
        return refuse(problem);
    }
    // The running preset stops only once the new one has loaded and a pad is there for it.
    std::string loadError;
    bool stopped = false;
    const ActivationResult result = runner.activate(
        *path, [this] { updatelblJoysticksConnected(); }, &loadError,
        [this, &stopped] {
            enableDangerousOptions();
            stopped = true;
        });
    if (stopped) {
        focusFollowing.presetDeactivated();
    }
    if (result == ActivationResult::unreadable) {
        return refuse("The preset file could not be read: " + loadError + ".");
    }
    if (result == ActivationResult::noJoystick) {
        return refuse("No joystick is connected. Connect one and try again.");
    }
    disableDangerousOptions();
    startJoystickPolling();
    evaluateMain(main_page::fadeOutBlockLayer());
    focusFollowing.presetActivated(fileName);
    return true;
}

bool TesselAppDelegate::deactivatePreset() {
    evaluateMain(main_page::showBlockLayer());
    runner.deactivate([this] { enableDangerousOptions(); });
    focusFollowing.presetDeactivated();
    evaluateMain(main_page::fadeOutBlockLayer());
    return true;
}

void TesselAppDelegate::panicDeactivate() {
    deactivatePreset();
    evaluateMain(main_page::unmarkActivePreset());
}

void TesselAppDelegate::startJoystickPolling() {
    runner.startPolling();
}

void TesselAppDelegate::stopJoystickPolling() {
    runner.stopPolling();
}

} // namespace padloom
