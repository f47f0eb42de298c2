// SPDX-License-Identifier: GPL-3.0-or-later
// A menu item of the menu bar as the controller sees it. The check mark shows the state the
// controller set: a click does not flip it by itself but runs the item's action, which decides.
#pragma once

#include "app/ui/menu_item.h"

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace padloom {

class GtkMenuItemAdapter : public MenuItem {
public:
    // checkable: shows a check mark for the state.
    GtkMenuItemAdapter(const std::string& title, bool checkable, std::function<void()> action);
    ~GtkMenuItemAdapter() override;
    GtkMenuItemAdapter(const GtkMenuItemAdapter&) = delete;
    GtkMenuItemAdapter& operator=(const GtkMenuItemAdapter&) = delete;

    GtkWidget* widget() const { return widget_; }
    void setAction(std::function<void()> action) { action_ = std::move(action); }
    // Runs the action as a click does, when the item is enabled.
    void activate();

    std::string title() const override { return title_; }
    bool state() const override { return state_; }
    void setState(bool on) override;
    bool enabled() const override;
    void setEnabled(bool enabled) override;

private:
    static void onActivate(GtkWidget* widget, void* self);
    void showState();

    std::string title_;
    GtkWidget* widget_;
    std::function<void()> action_;
    bool state_ = false;
    unsigned long handler_ = 0;
};

} // namespace padloom
