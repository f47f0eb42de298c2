// SPDX-License-Identifier: GPL-3.0-or-later
// The joystick label, the configuration page's joystick names and the listing alert.
#include "app/controller/tessel_app_delegate.h"
#include "app/pads/control_names.h"
#include "app/pads/joystick_listing.h"
#include "app/pads/joystick_watch.h"
#include "app/pages/page_scripts.h"
#include "engine/joystick_map.h"

namespace padloom {

void TesselAppDelegate::updatelblJoysticksConnected() {
    lblJoysticksConnected_->setText(joystickCountText(connectedJoystickCount()));
}

void TesselAppDelegate::updateConfigWindowJoysticks() {
    std::vector<std::string> names = connectedJoystickNames();
    evaluateConfig(config_page::setJoystickNames(names));
    // Naming opens each pad as a game controller, which must wait while a preset or a capture owns
    // SDL's joystick events; meanwhile the names of the same pads are kept.
    if (!runner_.active() && !capture_.running()) {
        namedControls_ = {names, connectedControlNames()};
    } else if (namedControls_.first != names) {
        namedControls_ = {names, std::vector<ControlNames>(names.size())};
    }
    evaluateConfig(config_page::setControlNames(namedControls_.second));
    evaluateConfig(config_page::updateRelatedJoysticks());
}

// The configuration page may load after the main page (or again after its process ended):
// it learns the names then too.
void TesselAppDelegate::configPageDidLoad() {
    evaluateConfig(config_page::setSwitchPoint(axisSwitchThreshold));
    const bool running = runner_.active() || capture_.running(); // SDL's joystick subsystem is up
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
    if (runner_.active() || capture_.running()) {
        return;
    }
    initJoystickSubSystem();
    updatelblJoysticksConnected();
    updateConfigWindowJoysticks();
    deinitJoystickSubSystem();
}

void TesselAppDelegate::showConnectedJoysticks() {
    if (runner_.active() || capture_.running()) {
        return;
    }
    initJoystickSubSystem();
    updatelblJoysticksConnected();
    updateConfigWindowJoysticks();
    showAlert(connectedJoysticksMessage(connectedJoystickNames()));
    deinitJoystickSubSystem();
}

void TesselAppDelegate::watchJoysticks() {
    if (!joystickWatch_) {
        joystickWatch_ = std::make_unique<JoystickWatch>(
            *mainLoop_,
            JoystickWatch::Hooks{[this] { return runner_.active() || capture_.running(); },
                                 [this] { return namedControls_.first; },
                                 [this] {
                                     updatelblJoysticksConnected();
                                     updateConfigWindowJoysticks();
                                 },
                                 [this] { return editor_.editingPresetPath().has_value(); },
                                 [this](const std::vector<LiveInput>& moved) {
                                     evaluateConfig(moved.empty() ? config_page::clearLiveInputs()
                                                                  : config_page::showLiveInputs(moved));
                                 },
                                 [this](std::function<void()> look) { operations_.run(std::move(look)); }});
    }
    joystickWatch_->start();
}

} // namespace padloom
