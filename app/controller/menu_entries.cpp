// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/controller/menu_entries.h"

#include "app/controller/tessel_app_delegate.h"
#include "app/ui/settings_store.h"

#include <cassert>

namespace padloom {
namespace {

using App = TesselAppDelegate;
using O = MenuOutlets;
using enum MenuSection;

constexpr bool on = true;
constexpr bool off = false;

constexpr MenuEntry command(MenuSection section, const char* title, void (App::*action)(),
                            MenuOutlet outlet = nullptr, const char* accelerator = nullptr) {
    return {.section = section,
            .kind = MenuKind::command,
            .title = title,
            .outlet = outlet,
            .action = action,
            .accelerator = accelerator};
}

// storedKey: null when the option is stored under its title.
constexpr MenuEntry option(const char* title, MenuOutlet outlet, void (App::*action)(), bool firstStart,
                           const char* storedKey = nullptr) {
    return {.section = quickOptions,
            .kind = MenuKind::option,
            .title = title,
            .outlet = outlet,
            .action = action,
            .storedKey = storedKey,
            .firstStart = firstStart};
}

constexpr MenuEntry topic(const char* title, HelpTopic which) {
    return {.section = help, .kind = MenuKind::helpTopic, .title = title, .topic = which};
}

constexpr MenuEntry separatorIn(MenuSection section) {
    return {.section = section, .kind = MenuKind::separator, .title = nullptr};
}

constexpr MenuEntry entries[] = {
    command(presets, "Reload Preset List", &App::reloadPresets, &O::reloadPresetList_mi),
    command(presets, "Load Example Presets", &App::copyPresetExamples, &O::loadExamples_mi),
    command(presets, "Open Preset Folder", &App::openPresetFolder),
    separatorIn(presets),
    command(presets, "Deactivate Preset", &App::panicDeactivate, &O::deactivatePreset_mi,
            "<Control><Shift>d"),
    separatorIn(presets),
    {.section = presets, .kind = MenuKind::quit, .title = "Quit", .accelerator = "<Control>q"},

    command(joysticks, "Refresh Joysticks", &App::refreshJoysticks, &O::refreshJoysticks_mi),
    command(joysticks, "Which Joysticks Are Connected?", &App::showConnectedJoysticks, &O::whichJoysticks_mi),

    option("Lock Cursor to Main Display", &O::shouldLock_mi, &App::LockCursor, off, lockCursorKey),
    option("Avoid Screen Corners", &O::shouldAvoidCorners_mi, &App::toggleAvoidCorners, off),
    option("Show Warnings", &O::shouldShowWarnings_mi, &App::toggleWarnings, on, showWarningsKey),
    option("Compact Preset List", &O::shouldCompactList_mi, &App::compactList, off),
    option("Minecraft Fix", &O::minecraftFix_mi, &App::toggleMinecraftFix, off),
    option("Full-Screen Fix", &O::fullscreenFix_mi, &App::toggleFullScreenFix, off),
    option("Key Repeat", &O::keyRepeat_mi, &App::toggleKeyRepeat, off),
    option("Keep Running in Tray When Closed", &O::keepInTray_mi, &App::toggleKeepInTray, off),

    topic("Padloom Help", HelpTopic::help),
    topic("Getting Started", HelpTopic::gettingStarted),
    topic("Get New Presets", HelpTopic::getNewPresets),
    topic("Frequently Asked Questions", HelpTopic::faq),
    separatorIn(help),
    topic("Xbox 360 Controller", HelpTopic::xboxController),
    topic("PS3 Controller", HelpTopic::ps3Controller),
    topic("Logitech Controller", HelpTopic::logitechController),
    separatorIn(help),
    topic("What Are the Temporary Fixes?", HelpTopic::tempFixes),
    topic("How to Bind a Key Combination", HelpTopic::keyCombination),
    separatorIn(help),
    topic("Padloom Website", HelpTopic::website),
    topic("Gaugeview", HelpTopic::gaugeview),
    topic("The Maker's Website", HelpTopic::makerWebsite),
};

} // namespace

std::span<const MenuEntry> menuEntries() {
    return entries;
}

const char* menuSectionTitle(MenuSection section) {
    switch (section) {
    case presets:
        return "_Presets";
    case joysticks:
        return "_Joysticks";
    case quickOptions:
        return "_Quick Options";
    case help:
        return "_Help";
    }
    return "";
}

const MenuEntry& menuEntry(MenuOutlet outlet) {
    for (const MenuEntry& entry : entries) {
        if (entry.outlet == outlet) {
            return entry;
        }
    }
    assert(false && "every outlet has a row in the menu table");
    return entries[0];
}

void MenuOutlets::enableDangerousOptions() const {
    refreshJoysticks_mi->setEnabled(true);
    reloadPresetList_mi->setEnabled(true);
    loadExamples_mi->setEnabled(true);
    whichJoysticks_mi->setEnabled(true);
    deactivatePreset_mi->setEnabled(false);
}

void MenuOutlets::disableDangerousOptions() const {
    refreshJoysticks_mi->setEnabled(false);
    reloadPresetList_mi->setEnabled(false);
    loadExamples_mi->setEnabled(false);
    whichJoysticks_mi->setEnabled(false);
    deactivatePreset_mi->setEnabled(true);
}

void MenuOutlets::restoreMenuState(bool presetActive) const {
    if (presetActive) {
        disableDangerousOptions();
    } else {
        enableDangerousOptions();
    }
}

bool loadMenuOption(SettingsStore& settings, MenuItem& item) {
    const std::string key = item.title();
    if (settings.has(key)) {
        item.setState(settings.getBool(key));
    } else {
        settings.setBool(key, item.state());
    }
    return settings.getBool(key);
}

// Works from the stored value, not the check mark: when they disagree both end as the
// opposite of what was stored.
bool toggleMenuOption(SettingsStore& settings, MenuItem& item) {
    const std::string key = item.title();
    const bool value = !settings.getBool(key);
    settings.setBool(key, value);
    item.setState(value);
    return value;
}

bool storedOption(const SettingsStore& settings, MenuOutlet outlet) {
    const MenuEntry& entry = menuEntry(outlet);
    const std::string key = entry.key();
    return settings.has(key) ? settings.getBool(key) : entry.firstStart;
}

} // namespace padloom
