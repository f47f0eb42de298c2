// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's shared operations: alerts, window fitting, the menu items that must rest while
// joysticks are in use, and the construction of its rooms.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"

#include <cmath>

namespace padloom {

const int TesselAppDelegate::mainWindowChrome = 46;

TesselAppDelegate::TesselAppDelegate(const Outlets& o, HelpSites helpSites)
    : menu_(o.menu), mainwindow_(o.mainwindow), mainScriptObject_(o.mainScriptObject),
      lblJoysticksConnected_(o.lblJoysticksConnected), configwindow_(o.configwindow),
      configScriptObject_(o.configScriptObject), dialogs_(o.dialogs), settings_(o.settings),
      desktop_(o.desktop), mainLoop_(o.mainLoop), presentationMonitor_(o.presentationMonitor),
      helpSites_(std::move(helpSites)), operations_(*o.mainLoop),
      editor_(*o.configScriptObject, *o.configwindow, *o.dialogs,
              {[this](const std::vector<std::string>& programs) {
                   evaluateConfig(config_page::setActivateFor(programs, focusFollowing_.state()));
               },
               [this] { evaluateConfig(config_page::setPresetChoices(listedPresets_.entries())); },
               [this](const std::string& path, const std::string& name, const std::string& tag,
                      const VantryDocument& saved) { editSaved(path, name, tag, saved); }}),
      capture_(*o.configScriptObject, *o.dialogs, runner_, menu_, operations_, o.captureEvents,
               {[this] {
                    updatelblJoysticksConnected();
                    updateConfigWindowJoysticks();
                },
                // The live view clears what it shows at once.
                [this] {
                    if (joystickWatch_) {
                        joystickWatch_->look();
                    }
                }}),
      focusFollowing_(*this), padSwitching_(*this, runner_, *o.mainLoop, o.notifier) {
    menu_.enableDangerousOptions(); // the idle menu, whatever the shell built
}

TesselAppDelegate::~TesselAppDelegate() {
    runner_.deactivate();
    if (fullscreenFixInstalled_) {
        disableLRFullscreenFix();
    }
}

void TesselAppDelegate::evaluateMain(const std::string& script) {
    mainScriptObject_->evaluate(script);
}

void TesselAppDelegate::evaluateConfig(const std::string& script) {
    configScriptObject_->evaluate(script);
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
    fitWindow(mainwindow_, mainScriptObject_, main_page::getContentHeight(), mainWindowChrome);
}

void TesselAppDelegate::updateConfigWindowHeight() {
    fitWindow(configwindow_, configScriptObject_, config_page::getContentHeight(), 22);
}

void TesselAppDelegate::restoreMenuState() {
    menu_.restoreMenuState(runner_.active());
}

} // namespace padloom
