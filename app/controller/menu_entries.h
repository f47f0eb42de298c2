// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar as data: every item in menu order and what it does. The desktop shell builds its
// menus from these rows, the controller restores the options they list at start-up, and
// padloomctl run reads the options the desktop app stored.
//
// Adding an option: a row in menuEntries() (menu_entries.cpp) and its action; when the
// controller reads or switches the item, a field in MenuOutlets too. An option stored under its
// title is restored at start-up without further code. Titles of such options are stored
// settings' keys: renaming one starts that option afresh.
#pragma once

#include "app/controller/help_links.h"
#include "app/ui/menu_item.h"

#include <span>
#include <string>

namespace padloom {

class SettingsStore;
class TesselAppDelegate;

// The menu items the controller switches or reads; the shell owns them. Every field has
// exactly one row in menuEntries().
struct MenuOutlets {
    MenuItem* shouldLock_mi = nullptr;
    MenuItem* shouldAvoidCorners_mi = nullptr;
    MenuItem* shouldShowWarnings_mi = nullptr;
    MenuItem* refreshJoysticks_mi = nullptr;
    MenuItem* reloadPresetList_mi = nullptr;
    MenuItem* loadExamples_mi = nullptr;
    MenuItem* deactivatePreset_mi = nullptr;
    MenuItem* whichJoysticks_mi = nullptr;
    MenuItem* shouldCompactList_mi = nullptr;
    MenuItem* minecraftFix_mi = nullptr;
    MenuItem* fullscreenFix_mi = nullptr;
    MenuItem* keyRepeat_mi = nullptr;
    MenuItem* keepInTray_mi = nullptr;

    // The items whose work must wait while joysticks are in use (listing the pads, reloading the
    // list, loading the examples) are enabled and Deactivate is not; disabling does the opposite,
    // for while a preset is active or a capture listens.
    void enableDangerousOptions() const;
    void disableDangerousOptions() const;
    // The state that matches what runs.
    void restoreMenuState(bool presetActive) const;
};

using MenuOutlet = MenuItem* MenuOutlets::*;

// The two options stored under fixed keys (the names of their items) rather than their titles.
inline constexpr char lockCursorKey[] = "shouldLock_mi";
inline constexpr char showWarningsKey[] = "shouldShowWarnings_mi";

enum class MenuSection { presets, joysticks, quickOptions, help };

enum class MenuKind {
    option,    // a check item whose state is a stored setting; its action flips it
    command,   // runs its action
    helpTopic, // opens its help topic
    quit,      // asks the application to quit
    separator, // a line between items; it has no title
};

struct MenuEntry {
    MenuSection section;
    MenuKind kind;
    const char* title; // English; the shell translates it unless it is the option's key
    MenuOutlet outlet = nullptr;
    void (TesselAppDelegate::*action)() = nullptr; // options and commands
    HelpTopic topic = HelpTopic::help;             // help topics
    const char* storedKey = nullptr;               // options: null when stored under the title
    bool firstStart = false;                       // options: the state before anything is stored
    const char* accelerator = nullptr;             // in GTK's notation, e.g. "<Control>q"

    bool storedUnderTitle() const { return kind == MenuKind::option && storedKey == nullptr; }
    // The settings key of an option.
    std::string key() const { return storedKey != nullptr ? storedKey : title; }
};

std::span<const MenuEntry> menuEntries();
// The menu's title in the bar, with its mnemonic ("_Presets").
const char* menuSectionTitle(MenuSection section);
// The row of an outlet.
const MenuEntry& menuEntry(MenuOutlet outlet);
// The option of an outlet's row as stored, or its first-start state when nothing is stored.
bool storedOption(const SettingsStore& settings, MenuOutlet outlet);

// An option stored under its item's title: the stored value sets the item's state, or the item's
// state is stored when nothing is; returns the stored value.
bool loadMenuOption(SettingsStore& settings, MenuItem& item);
// Flips the stored value (false when none) and shows it on the item; returns it.
bool toggleMenuOption(SettingsStore& settings, MenuItem& item);

} // namespace padloom
