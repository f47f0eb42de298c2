// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, display changes, the quit question, window closing, shut-down and help.
#include "app/controller/tessel_app_delegate.h"
#include "app/pads/joystick_listing.h"

#include <SDL.h>

namespace padloom {

void TesselAppDelegate::awakeFromNib() {
    lblJoysticksConnected_->setText(joystickCountText(0));
}

void TesselAppDelegate::applicationDidFinishLaunching() {
    runner_.joystickPollingEnabled = false;
    runner_.joystickPollingTaskRunning = false;
    SDL_Init(SDL_INIT_VIDEO);
    SDL_JoystickEventState(SDL_ENABLE);
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.storedUnderTitle()) {
            loadMenuOption(*settings_, *(menu_.*entry.outlet));
        }
    }
    shouldAvoidCorners_ = menu_.shouldAvoidCorners_mi->state();
    runner_.engine.minecraftFix = menu_.minecraftFix_mi->state();
    // The full-screen fix comes back as it was left, so its check mark and stored value agree.
    if (menu_.fullscreenFix_mi->state()) {
        enableLRFullscreenFix();
    }
    // A first start stores the lock's initial state, so item, setting and geometry agree.
    if (!settings_->has(lockCursorKey)) {
        settings_->setBool(lockCursorKey, menu_.shouldLock_mi->state());
    }
    menu_.shouldLock_mi->setState(settings_->getBool(lockCursorKey));
    recomputeGeometry();
    if (settings_->has(showWarningsKey)) {
        menu_.shouldShowWarnings_mi->setState(settings_->getBool(showWarningsKey));
    } else {
        settings_->setBool(showWarningsKey, true);
        menu_.shouldShowWarnings_mi->setState(true);
    }
    watchJoysticks();
}

// SDL's video subsystem is restarted so it reads the displays anew (nothing pumps its events:
// the polling task reads only the joysticks).
void TesselAppDelegate::applicationDidChangeScreenParameters() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    recomputeGeometry();
}

std::string TesselAppDelegate::quitQuestion() {
    return "Please note that if you exit this app, it will stop reacting to your joysticks.\n"
           "If it is not what you want, I suggest you to Minimize this window instead.\n"
           "\n"
           "(Note also that you can disable all these warnings in \"Quick Options menu\")\n"
           "\n"
           "Do you want to exit?";
}

bool TesselAppDelegate::askBeforeQuit() {
    if (!runner_.joystickPollingEnabled) {
        return true;
    }
    if (configwindow_->visible()) {
        return true;
    }
    if (!settings_->getBool(showWarningsKey)) {
        return true;
    }
    return dialogs_->confirm(quitQuestion());
}

bool TesselAppDelegate::applicationShouldTerminate() {
    return quitConfirmed_ || askBeforeQuit();
}

// Every way of quitting comes here. An open edit ends first, exactly as closing the editor
// ends it (saved, or kept with an alert); then the active preset stops before SDL goes, so the
// polling task never uses SDL after it.
void TesselAppDelegate::applicationWillTerminate() {
    if (editor_.editingPresetPath()) {
        windowWillClose(configwindow_);
    }
    if (joystickWatch_) {
        joystickWatch_->stop();
    }
    runner_.deactivate();
    if (fullscreenFixInstalled_) {
        disableLRFullscreenFix();
    }
    SDL_Quit();
}

bool TesselAppDelegate::keepsRunningWhenClosed() const {
    return menu_.keepInTray_mi->state() && menu_.keepInTray_mi->enabled();
}

bool TesselAppDelegate::windowShouldClose(Window* window) {
    if (window == configwindow_ || keepsRunningWhenClosed()) {
        return true;
    }
    quitConfirmed_ = askBeforeQuit();
    return quitConfirmed_;
}

// The main window closes to the tray when the option says so: the shell hides it and the
// active preset keeps running.
void TesselAppDelegate::windowWillClose(Window* window) {
    if (window != configwindow_) {
        if (!keepsRunningWhenClosed()) {
            mainLoop_->requestTerminate();
        }
        return;
    }
    // Closing the editor ends a capture; an active preset keeps running.
    if (capture_.running() && runner_.joystickPollingTaskRunning) {
        runner_.stopPolling();
    }
    finishEditingPreset();
}

void TesselAppDelegate::showHelp(HelpTopic topic) {
    const std::string uri = helpUri(topic, helpSites_);
    desktop_->openUri(uri, [this, uri] {
        showAlert("Nothing on this system could open the help page. Open this address by hand:\n" + uri);
    });
}

} // namespace padloom
