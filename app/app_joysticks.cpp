// The joystick label, the configuration page's joystick names and the listing alert.
#include "app/joystick_listing.h"
#include "app/joystick_watch.h"
#include "app/page_scripts.h"
#include "app/tessel_app_delegate.h"
#include "preset/vantry_document.h"

namespace padloom {

void TesselAppDelegate::updatelblJoysticksConnected() {
    lblJoysticksConnected->setText(joystickCountText(connectedJoystickCount()));
}

std::vector<std::string> TesselAppDelegate::getJoystickNames() {
    return connectedJoystickNames();
}

void TesselAppDelegate::updateConfigWindowJoysticks() {
    evaluateConfig(config_page::setJoystickNames(getJoystickNames()));
    evaluateConfig(config_page::updateRelatedJoysticks());
}

// The configuration page may load after the main page (or again after its process ended):
// it learns the names then too.
void TesselAppDelegate::configPageDidLoad() {
    const bool running = runner.active() || captureRunning_; // SDL's joystick subsystem is up
    if (!running) {
        initJoystickSubSystem();
    }
    updateConfigWindowJoysticks();
    if (!running) {
        deinitJoystickSubSystem();
    }
}

// Both commands below start and stop SDL's joystick subsystem, which would end an active
// preset's or a capture's use of it: they do nothing then (their menu items are disabled too).
void TesselAppDelegate::refreshJoysticks() {
    if (runner.active() || captureRunning_) {
        return;
    }
    initJoystickSubSystem();
    updatelblJoysticksConnected();
    updateConfigWindowJoysticks();
    deinitJoystickSubSystem();
}

void TesselAppDelegate::showConnectedJoysticks() {
    if (runner.active() || captureRunning_) {
        return;
    }
    initJoystickSubSystem();
    updatelblJoysticksConnected();
    updateConfigWindowJoysticks();
    showAlert(connectedJoysticksMessage(getJoystickNames()));
    deinitJoystickSubSystem();
}

void TesselAppDelegate::watchJoysticks() {
    if (!joystickWatch_) {
        joystickWatch_ = std::make_unique<JoystickWatch>(
            *mainLoop_, JoystickWatch::Hooks{[this] { return runner.active() || captureRunning_; },
                                             [this] {
                                                 updatelblJoysticksConnected();
                                                 updateConfigWindowJoysticks();
                                             }});
    }
    joystickWatch_->start();
}

void TesselAppDelegate::stopJoystickWatch() {
    if (joystickWatch_) {
        joystickWatch_->stop();
    }
}

} // namespace padloom
