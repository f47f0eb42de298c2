// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/app_menu.h"

#include "app/controller/tessel_app_delegate.h"
#include "platform/gtk/shell/i18n.h"

#include <gtk/gtk.h>

namespace padloom {

namespace {

GtkWidget* addMenu(GtkWidget* bar, const char* title) {
    GtkWidget* top = gtk_menu_item_new_with_mnemonic(title);
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
    return menu;
}

void addAccelerator(GtkWidget* widget, GtkAccelGroup* accelerators, const char* accelerator) {
    guint key = 0;
    GdkModifierType modifiers = GdkModifierType(0);
    gtk_accelerator_parse(accelerator, &key, &modifiers);
    gtk_widget_add_accelerator(widget, "activate", accelerators, key, modifiers, GTK_ACCEL_VISIBLE);
}

} // namespace

// An option stored under its title keeps that title untranslated: it is the setting's key.
AppMenu::AppMenu(GtkAccelGroup* accelerators) : bar_(gtk_menu_bar_new()) {
    g_object_ref_sink(bar_);
    GtkWidget* menu = nullptr;
    const MenuEntry* previous = nullptr;
    for (const MenuEntry& entry : menuEntries()) {
        if (previous == nullptr || previous->section != entry.section) {
            menu = addMenu(bar_, _(menuSectionTitle(entry.section)));
        }
        previous = &entry;
        if (entry.kind == MenuKind::separator) {
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
            continue;
        }
        const bool option = entry.kind == MenuKind::option;
        auto adapter = std::make_unique<GtkMenuItemAdapter>(
            entry.storedUnderTitle() ? entry.title : _(entry.title), option, nullptr);
        if (option) {
            adapter->setState(entry.firstStart);
        }
        if (entry.accelerator != nullptr) {
            addAccelerator(adapter->widget(), accelerators, entry.accelerator);
        }
        if (entry.outlet != nullptr) {
            outlets_.*entry.outlet = adapter.get();
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), adapter->widget());
        items_.push_back({&entry, std::move(adapter)});
    }
}

AppMenu::~AppMenu() {
    items_.clear();
    g_object_unref(bar_);
}

// Each action runs as an operation of the controller; quitAction queues itself.
void AppMenu::bind(TesselAppDelegate& controller, std::function<void()> quitAction) {
    TesselAppDelegate* c = &controller;
    for (Item& item : items_) {
        const MenuEntry& entry = *item.entry;
        switch (entry.kind) {
        case MenuKind::option:
        case MenuKind::command:
            item.adapter->setAction(
                [c, action = entry.action] { c->operations().run([c, action] { (c->*action)(); }); });
            break;
        case MenuKind::helpTopic:
            item.adapter->setAction(
                [c, topic = entry.topic] { c->operations().run([c, topic] { c->showHelp(topic); }); });
            break;
        case MenuKind::quit:
            item.adapter->setAction(quitAction);
            break;
        case MenuKind::separator:
            break;
        }
    }
}

GtkMenuItemAdapter& AppMenu::item(MenuOutlet outlet) const {
    return static_cast<GtkMenuItemAdapter&>(*(outlets_.*outlet));
}

GtkMenuItemAdapter* AppMenu::item(const std::string& title) const {
    for (const Item& item : items_) {
        if (item.adapter->title() == title) {
            return item.adapter.get();
        }
    }
    return nullptr;
}

} // namespace padloom
