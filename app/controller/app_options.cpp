// The quick options of the menu.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "preset/vantry_document.h"

namespace padloom {

void TesselAppDelegate::recomputeGeometry() {
    runner.engine.computeScreenGeometry(shouldLock_mi->state(), shouldAvoidCorners);
}

// Works from the item's check mark, unlike the title-keyed options.
void TesselAppDelegate::LockCursor() {
    const bool on = !shouldLock_mi->state();
    shouldLock_mi->setState(on);
    settings_->setBool(lockCursorKey, on);
    recomputeGeometry();
}

void TesselAppDelegate::toggleWarnings() {
    const bool on = !shouldShowWarnings_mi->state();
    shouldShowWarnings_mi->setState(on);
    settings_->setBool(showWarningsKey, on);
}

void TesselAppDelegate::toggleAvoidCorners() {
    shouldAvoidCorners = toggleMenuOption(shouldAvoidCorners_mi);
    recomputeGeometry();
}

void TesselAppDelegate::compactList() {
    toggleMenuOption(shouldCompactList_mi);
    evaluateMain(main_page::setCompactList(shouldCompactList_mi->state()));
    updateMainWindowHeight();
}

void TesselAppDelegate::toggleMinecraftFix() {
    runner.engine.minecraftFix = toggleMenuOption(minecraftFix_mi);
    if (runner.engine.minecraftFix) {
        showAlert(
            "Please disable this if you experience problems like the mouse cursor getting stuck when not "
            "playing Minecraft.");
    }
}

void TesselAppDelegate::toggleFullScreenFix() {
    if (toggleMenuOption(fullscreenFix_mi)) {
        enableLRFullscreenFix();
    } else {
        disableLRFullscreenFix();
    }
}

void TesselAppDelegate::toggleKeyRepeat() {
    toggleMenuOption(keyRepeat_mi);
}

void TesselAppDelegate::toggleKeepInTray() {
    toggleMenuOption(keepInTray_mi);
}

void TesselAppDelegate::enableLRFullscreenFix() {
    if (presentationMonitor_ == nullptr) {
        return;
    }
    presentationMonitor_->install(
        [this] { operations.run([this] { applicationDidChangeScreenParameters(); }); });
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
