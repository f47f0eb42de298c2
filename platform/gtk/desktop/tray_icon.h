// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon (a StatusNotifierItem, through Ayatana's AppIndicator) and its menu: the presets,
// the active one marked, to switch one on; Deactivate, Show Window and Quit. The icon shows only
// while a tray host is there (a StatusNotifierWatcher on the session bus); the quick option
// "Keep Running in Tray When Closed" is enabled only then, and otherwise tells why in its tooltip.
#pragma once

#include "app/desktop/preset_switching.h"
#include "platform/gtk/shell/gtk_menu_item.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;
typedef struct _AppIndicator AppIndicator;

namespace padloom {

struct TrayActions {
    std::function<void()> showWindow;
    std::function<void()> quit;
};

// A folder that holds the icon as padloom.svg, for a program not installed (whose icon is in no
// icon theme); empty: the icon theme has it.
std::string iconFolderBeside(const std::string& resourceDir);

class TrayIcon {
public:
    // keepInTray: the quick option's item, enabled while a tray host is there. iconFolder: where
    // the host finds the icon when no icon theme has it (iconFolderBeside).
    TrayIcon(PresetSwitching& presets, GtkMenuItemAdapter& keepInTray, TrayActions actions,
             std::string iconFolder = {});
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Whether a tray host is there (the icon is shown).
    bool hostPresent() const { return indicator_ != nullptr; }
    // Builds the menu anew from the presets the main page lists and the active preset; nothing
    // while no host shows the icon (the menu is built when one comes).
    void refresh();
    // The menu the icon shows; its items in order, for the tests.
    GtkWidget* menu() const { return menu_; }
    const std::vector<std::unique_ptr<GtkMenuItemAdapter>>& items() const { return items_; }

private:
    struct Signals;
    void hostAppeared();
    void hostVanished();
    void add(const std::string& title, bool checkable, bool on, std::function<void()> action);
    // Moves the check mark to the active preset: a switch costs the same however many are listed.
    void showActivePreset();

    PresetSwitching& presets_;
    GtkMenuItemAdapter& keepInTray_;
    TrayActions actions_;
    std::string iconFolder_;
    GtkWidget* menu_;
    std::vector<std::unique_ptr<GtkMenuItemAdapter>> items_;
    std::vector<std::string> presetFiles_; // of the first items, one each
    GtkMenuItemAdapter* deactivateItem_ = nullptr;
    AppIndicator* indicator_ = nullptr;
    unsigned watch_ = 0;
};

// The most presets the menu lists, the first of the main list; when there are more, an item after
// them shows the window. A tray host takes a long menu item by item, and no one picks from hundreds.
constexpr size_t trayMenuPresets = 50;

// The tooltip of the option while no tray host is there.
extern const char noTrayHostText[];

} // namespace padloom
