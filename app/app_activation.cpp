// Activating and deactivating presets from the pages and the menu.
#include "app/script_text.h"
#include "app/tessel_app_delegate.h"
#include "preset/vantry_document.h"

namespace padloom {

bool TesselAppDelegate::activatePreset(const std::string& fileName) {
    evaluateMain("$('#blockLayer').show();");
    if (captureRunning_) {
        return false; // the capture owns SDL's joystick events until it ends
    }
    const std::optional<std::string> folder = presetFolder();
    if (!folder) {
        return false;
    }
    if (runner.active()) {
        runner.deactivate([this] { enableDangerousOptions(); });
    }
    const ActivationResult result =
        runner.activate(*folder + withoutSlashes(fileName), [this] { updatelblJoysticksConnected(); });
    if (result != ActivationResult::started) {
        return false;
    }
    disableDangerousOptions();
    startJoystickPolling();
    evaluateMain("$('#blockLayer').fadeOut();");
    return true;
}

bool TesselAppDelegate::deactivatePreset() {
    evaluateMain("$('#blockLayer').show();");
    runner.deactivate([this] { enableDangerousOptions(); });
    evaluateMain("$('#blockLayer').fadeOut();");
    return true;
}

void TesselAppDelegate::panicDeactivate() {
    deactivatePreset();
    evaluateMain("$('.selected').removeClass('selected');");
}

void TesselAppDelegate::startJoystickPolling() {
    runner.startPolling();
}

void TesselAppDelegate::stopJoystickPolling() {
    runner.stopPolling();
}

} // namespace padloom
