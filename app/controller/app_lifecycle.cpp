// Start-up, display changes, the quit question, window closing, shut-down and help.
#include "app/controller/tessel_app_delegate.h"
#include "app/pads/joystick_listing.h"
#include "preset/vantry_document.h"

#include <SDL.h>

namespace padloom {

void TesselAppDelegate::awakeFromNib() {
    lblJoysticksConnected->setText(joystickCountText(0));
}

void TesselAppDelegate::applicationDidFinishLaunching() {
    editingPreset.reset();
    editingPresetPath.reset();
    runner.joystickPollingEnabled = false;
    runner.joystickPollingTaskRunning = false;
    SDL_Init(SDL_INIT_VIDEO);
    SDL_JoystickEventState(SDL_ENABLE);
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.storedUnderTitle()) {
            loadMenuOption(this->*entry.outlet);
        }
    }
    shouldAvoidCorners = shouldAvoidCorners_mi->state();
    runner.engine.minecraftFix = minecraftFix_mi->state();
    // The full-screen fix comes back as it was left, so its check mark and stored value agree.
    if (fullscreenFix_mi->state()) {
        enableLRFullscreenFix();
    }
    // A first start stores the lock's initial state, so item, setting and geometry agree.
    if (!settings_->has(lockCursorKey)) {
        settings_->setBool(lockCursorKey, shouldLock_mi->state());
    }
    shouldLock_mi->setState(settings_->getBool(lockCursorKey));
    recomputeGeometry();
    if (settings_->has(showWarningsKey)) {
        shouldShowWarnings_mi->setState(settings_->getBool(showWarningsKey));
    } else {
        settings_->setBool(showWarningsKey, true);
        shouldShowWarnings_mi->setState(true);
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
    if (!runner.joystickPollingEnabled) {
        return true;
    }
    if (configwindow->visible()) {
        return true;
    }
    if (!settings_->getBool(showWarningsKey)) {
        return true;
    }
    return dialogs_->confirm(quitQuestion());
}

bool TesselAppDelegate::applicationShouldTerminate() {
    return quitConfirmed || askBeforeQuit();
}

// Every way of quitting comes here. An open edit ends first, exactly as closing the editor
// ends it (saved, or kept with an alert); then the active preset stops before SDL goes, so the
// polling task never uses SDL after it.
void TesselAppDelegate::applicationWillTerminate() {
    if (editingPresetPath) {
        windowWillClose(configwindow);
    }
    stopJoystickWatch();
    runner.deactivate();
    if (fullscreenFixInstalled_) {
        disableLRFullscreenFix();
    }
    SDL_Quit();
}

bool TesselAppDelegate::keepsRunningWhenClosed() const {
    return keepInTray_mi->state() && keepInTray_mi->enabled();
}

bool TesselAppDelegate::windowShouldClose(Window* window) {
    if (window == configwindow || keepsRunningWhenClosed()) {
        return true;
    }
    quitConfirmed = askBeforeQuit();
    return quitConfirmed;
}

// The main window closes to the tray when the option says so: the shell hides it and the
// active preset keeps running.
void TesselAppDelegate::windowWillClose(Window* window) {
    if (window != configwindow) {
        if (!keepsRunningWhenClosed()) {
            mainLoop_->requestTerminate();
        }
        return;
    }
    // Closing the editor ends a capture; an active preset keeps running.
    if (captureRunning_ && runner.joystickPollingTaskRunning) {
        stopJoystickPolling();
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
