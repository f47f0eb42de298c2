// SPDX-License-Identifier: GPL-3.0-or-later
// The quick options of the menu.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"

namespace padloom {

void TesselAppDelegate::recomputeGeometry() {
    runner_.engine.computeScreenGeometry(menu_.shouldLock_mi->state(), shouldAvoidCorners_);
}

// Works from the item's check mark, unlike the title-keyed options.
void TesselAppDelegate::LockCursor() {
    const bool on = !menu_.shouldLock_mi->state();
    menu_.shouldLock_mi->setState(on);
    settings_->setBool(lockCursorKey, on);
    recomputeGeometry();
}

void TesselAppDelegate::toggleWarnings() {
    const bool on = !menu_.shouldShowWarnings_mi->state();
    menu_.shouldShowWarnings_mi->setState(on);
    settings_->setBool(showWarningsKey, on);
}

void TesselAppDelegate::toggleAvoidCorners() {
    shouldAvoidCorners_ = toggleMenuOption(*settings_, *menu_.shouldAvoidCorners_mi);
    recomputeGeometry();
}

void TesselAppDelegate::compactList() {
    toggleMenuOption(*settings_, *menu_.shouldCompactList_mi);
    evaluateMain(main_page::setCompactList(menu_.shouldCompactList_mi->state()));
    updateMainWindowHeight();
}

void TesselAppDelegate::toggleMinecraftFix() {
    runner_.engine.minecraftFix = toggleMenuOption(*settings_, *menu_.minecraftFix_mi);
    if (runner_.engine.minecraftFix) {
        showAlert(
            "Please disable this if you experience problems like the mouse cursor getting stuck when not "
            "playing Minecraft.");
    }
}

void TesselAppDelegate::toggleFullScreenFix() {
    if (toggleMenuOption(*settings_, *menu_.fullscreenFix_mi)) {
        enableLRFullscreenFix();
    } else {
        disableLRFullscreenFix();
    }
}

void TesselAppDelegate::toggleKeyRepeat() {
    toggleMenuOption(*settings_, *menu_.keyRepeat_mi);
}

void TesselAppDelegate::toggleKeepInTray() {
    toggleMenuOption(*settings_, *menu_.keepInTray_mi);
}

void TesselAppDelegate::enableLRFullscreenFix() {
    if (presentationMonitor_ == nullptr) {
        return;
    }
    presentationMonitor_->install(
        [this] { operations_.run([this] { applicationDidChangeScreenParameters(); }); });
    fullscreenFixInstalled_ = true;
}

void TesselAppDelegate::disableLRFullscreenFix() {
    if (presentationMonitor_ == nullptr) {
        return;
    }
    presentationMonitor_->remove();
    fullscreenFixInstalled_ = false;
}

} // namespace padloom
