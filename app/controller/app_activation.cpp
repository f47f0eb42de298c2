// SPDX-License-Identifier: GPL-3.0-or-later
// Activating and deactivating presets: the main page's switch, the menu, and the switches of focus
// following, remote requests and the tray.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/presets/active_preset.h"
#include "app/presets/preset_files.h"

namespace padloom {

// The running preset stops only once the new one has loaded and a pad is there for it. Only a
// switch by hand is one that following comes back to.
Outcome<> TesselAppDelegate::activate(const std::string& fileName, Cause cause) {
    evaluateMain(main_page::showBlockLayer());
    if (capture_.running()) {
        // The capture owns SDL's joystick events until it ends.
        return Problem{"A joystick input is being detected in the editor. Let it finish, or press Escape, "
                       "and try again."};
    }
    const Outcome<std::string> path = presetFile(fileName);
    if (!path) {
        return problemOf(path);
    }
    bool stopped = false;
    const Outcome<> started = runner_.activate(
        *path, [this] { updatelblJoysticksConnected(); },
        [this, &stopped] {
            menu_.enableDangerousOptions();
            stopped = true;
        });
    if (stopped && cause == Cause::byHand) {
        focusFollowing_.presetDeactivated();
    }
    if (!started) {
        return started;
    }
    menu_.disableDangerousOptions();
    runner_.startPolling();
    evaluateMain(main_page::fadeOutBlockLayer());
    if (cause == Cause::byHand) {
        focusFollowing_.presetActivated(fileName);
    }
    return {};
}

void TesselAppDelegate::deactivate(Cause cause) {
    evaluateMain(main_page::showBlockLayer());
    runner_.deactivate([this] { menu_.enableDangerousOptions(); });
    if (cause == Cause::byHand) {
        focusFollowing_.presetDeactivated();
    }
    evaluateMain(main_page::fadeOutBlockLayer());
}

Outcome<> TesselAppDelegate::activatePreset(const std::string& fileName) {
    return activate(fileName, Cause::byHand);
}

bool TesselAppDelegate::deactivatePreset() {
    deactivate(Cause::byHand);
    return true;
}

void TesselAppDelegate::panicDeactivate() {
    deactivate(Cause::byHand);
    evaluateMain(main_page::unmarkActivePreset());
}

Outcome<> TesselAppDelegate::switchOn(const std::string& fileName, Cause cause) {
    const Outcome<> on = activate(fileName, cause);
    if (!on) {
        evaluateMain(main_page::hideBlockLayer());
    }
    evaluateMain(main_page::markActivePreset(activePresetFile()));
    return on;
}

// By hand, as the menu's Deactivate; following switches off only what runs.
void TesselAppDelegate::switchOff(Cause cause) {
    if (cause == Cause::byHand || runner_.active()) {
        deactivate(cause);
    }
    evaluateMain(main_page::unmarkActivePreset());
}

std::string TesselAppDelegate::activePresetFile() const {
    return padloom::activePresetFile(runner_);
}

void TesselAppDelegate::watchActivePreset(const void* owner, std::function<void()> listener) {
    runner_.setChangeListener(owner, std::move(listener));
}

void TesselAppDelegate::showNotice(const std::string& title, const std::string& text) {
    evaluateMain(main_page::hideBlockLayer());
    evaluateMain(main_page::showNotice(title, text));
}

} // namespace padloom
