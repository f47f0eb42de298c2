// The controller's shared operations: alerts, window fitting, folders, the joystick subsystem,
// the menu items that must rest while joysticks are in use, and title-keyed options.
#include "app/controller/tessel_app_delegate.h"
#include "app/desktop/pad_switching.h"
#include "app/pads/joystick_listing.h"
#include "app/pages/page_scripts.h"
#include "app/presets/folders.h"
#include "preset/vantry_document.h"

#include <cmath>

namespace padloom {

const int TesselAppDelegate::mainWindowChrome = 46;

TesselAppDelegate::TesselAppDelegate(const Outlets& o, HelpSites helpSites)
    : MenuOutlets(o.menu), mainwindow(o.mainwindow), mainScriptObject(o.mainScriptObject),
      lblJoysticksConnected(o.lblJoysticksConnected), configwindow(o.configwindow),
      configScriptObject(o.configScriptObject), operations(*o.mainLoop), dialogs_(o.dialogs),
      settings_(o.settings), desktop_(o.desktop), mainLoop_(o.mainLoop),
      presentationMonitor_(o.presentationMonitor), captureEvents_(o.captureEvents),
      helpSites_(std::move(helpSites)) {
    if (captureEvents_ == nullptr) {
        ownCaptureEvents_ = std::make_unique<SdlCaptureEvents>();
        captureEvents_ = ownCaptureEvents_.get();
    }
    padSwitching = std::make_unique<PadSwitching>(*this, *mainLoop_, o.notifier);
    enableDangerousOptions(); // the idle menu, whatever the shell built
}

TesselAppDelegate::~TesselAppDelegate() {
    runner.deactivate();
    padSwitching.reset();
    if (fullscreenFixInstalled_) {
        disableLRFullscreenFix();
    }
}

void TesselAppDelegate::evaluateMain(const std::string& script) {
    mainScriptObject->evaluate(script);
}

void TesselAppDelegate::evaluateConfig(const std::string& script) {
    configScriptObject->evaluate(script);
}

void TesselAppDelegate::showAlert(const std::string& message) {
    dialogs_->showAlert(message);
}

bool TesselAppDelegate::panelOpen() const {
    return dialogs_->panelOpen();
}

// Keeps the window's top edge in place while its height follows the page's content.
void TesselAppDelegate::fitWindow(Window* window, ScriptPage* page, const std::string& contentHeight,
                                  int extra) {
    const ScriptValue result = page->evaluate(contentHeight);
    if (!result.isNumber() || !std::isfinite(result.number())) {
        return;
    }
    const float height = static_cast<float>(static_cast<int>(result.number()) + extra);
    WindowFrame frame = window->frame();
    frame.y = frame.y + frame.height - height;
    frame.height = height;
    window->setFrame(frame, true);
}

void TesselAppDelegate::updateMainWindowHeight() {
    fitWindow(mainwindow, mainScriptObject, main_page::getContentHeight(), mainWindowChrome);
}

void TesselAppDelegate::updateConfigWindowHeight() {
    fitWindow(configwindow, configScriptObject, config_page::getContentHeight(), 22);
}

std::optional<std::string> TesselAppDelegate::applicationSupportFolder() {
    return padloom::applicationSupportFolder();
}

std::optional<std::string> TesselAppDelegate::presetFolder() {
    return padloom::presetFolder();
}

void TesselAppDelegate::initJoystickSubSystem() {
    padloom::initJoystickSubSystem();
}

void TesselAppDelegate::deinitJoystickSubSystem() {
    padloom::deinitJoystickSubSystem();
}

void TesselAppDelegate::enableDangerousOptions() {
    refreshJoysticks_mi->setEnabled(true);
    reloadPresetList_mi->setEnabled(true);
    loadExamples_mi->setEnabled(true);
    whichJoysticks_mi->setEnabled(true);
    deactivatePreset_mi->setEnabled(false);
}

void TesselAppDelegate::disableDangerousOptions() {
    refreshJoysticks_mi->setEnabled(false);
    reloadPresetList_mi->setEnabled(false);
    loadExamples_mi->setEnabled(false);
    whichJoysticks_mi->setEnabled(false);
    deactivatePreset_mi->setEnabled(true);
}

void TesselAppDelegate::restoreMenuState() {
    if (runner.active()) {
        disableDangerousOptions();
    } else {
        enableDangerousOptions();
    }
}

bool TesselAppDelegate::loadMenuOption(MenuItem* item) {
    const std::string key = item->title();
    if (settings_->has(key)) {
        item->setState(settings_->getBool(key));
    } else {
        settings_->setBool(key, item->state());
    }
    return settings_->getBool(key);
}

// Works from the stored value, not the check mark: when they disagree both end as the
// opposite of what was stored.
bool TesselAppDelegate::toggleMenuOption(MenuItem* item) {
    const std::string key = item->title();
    const bool value = !settings_->getBool(key);
    settings_->setBool(key, value);
    item->setState(value);
    return value;
}

} // namespace padloom
