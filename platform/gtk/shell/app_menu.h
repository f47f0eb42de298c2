// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar, built from the rows of app/controller/menu_entries.h: presets, joysticks,
// the quick options and help. Every item is a GtkMenuItemAdapter; the ones the controller
// switches are also its MenuOutlets.
#pragma once

#include "app/controller/menu_entries.h"
#include "platform/gtk/shell/gtk_menu_item.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkAccelGroup GtkAccelGroup;

namespace padloom {

class AppMenu {
public:
    // Option items start with their first-start check marks.
    explicit AppMenu(GtkAccelGroup* accelerators);
    ~AppMenu();
    AppMenu(const AppMenu&) = delete;
    AppMenu& operator=(const AppMenu&) = delete;

    // Connects every item to the controller's action; quit runs for "Quit".
    void bind(TesselAppDelegate& controller, std::function<void()> quit);

    GtkWidget* bar() const { return bar_; }
    const MenuOutlets& outlets() const { return outlets_; }
    GtkMenuItemAdapter& item(MenuOutlet outlet) const;
    // By the title it shows; null when no item has it.
    GtkMenuItemAdapter* item(const std::string& title) const;

    struct Item {
        const MenuEntry* entry;
        std::unique_ptr<GtkMenuItemAdapter> adapter;
    };
    // In menu order, without the separators.
    const std::vector<Item>& items() const { return items_; }

private:
    std::vector<Item> items_;
    MenuOutlets outlets_;
    GtkWidget* bar_;
};

} // namespace padloom
