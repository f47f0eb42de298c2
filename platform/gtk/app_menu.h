// The main window's menu bar: presets, joysticks, the quick options and help. The items the
// controller switches are MenuItems; the others only run their action.
#pragma once

#include "app/help_links.h"
#include "platform/gtk/gtk_menu_item.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkAccelGroup GtkAccelGroup;

namespace padloom {

class TesselAppDelegate;

class AppMenu {
public:
    // Items start with the option items' initial check marks and "Deactivate Preset" disabled.
    explicit AppMenu(GtkAccelGroup* accelerators);
    ~AppMenu();
    AppMenu(const AppMenu&) = delete;
    AppMenu& operator=(const AppMenu&) = delete;

    // Connects every item to the controller's action; quit runs for "Quit".
    void bind(TesselAppDelegate& controller, std::function<void()> quit);

    GtkWidget* bar() const { return bar_; }
    // Every item with an action, by its title.
    GtkMenuItemAdapter* item(const std::string& title) const;

    GtkMenuItemAdapter shouldLock_mi, shouldAvoidCorners_mi, shouldShowWarnings_mi, shouldCompactList_mi,
        minecraftFix_mi, fullscreenFix_mi, keyRepeat_mi;
    GtkMenuItemAdapter refreshJoysticks_mi, whichJoysticks_mi;
    GtkMenuItemAdapter reloadPresetList_mi, loadExamples_mi, openPresetFolder, deactivatePreset_mi, quit;

    struct HelpItem {
        HelpTopic topic;
        std::unique_ptr<GtkMenuItemAdapter> item;
    };
    std::vector<HelpItem> help;

private:
    GtkWidget* bar_;
};

} // namespace padloom
