// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/desktop/tray_icon.h"

#include "app/desktop/remote_control.h"
#include "app/presets/preset_listing.h"
#include "platform/gtk/shell/i18n.h"

#include <filesystem>
#include <gtk/gtk.h>
#include <libayatana-appindicator/app-indicator.h>
#include <system_error>

namespace padloom {

const char noTrayHostText[] =
    "This desktop shows no tray icons (no StatusNotifierItem host is running), so closing the "
    "main window quits Padloom.";

namespace {

constexpr char watcherName[] = "org.kde.StatusNotifierWatcher";
constexpr char iconName[] = "padloom";

} // namespace

std::string iconFolderBeside(const std::string& resourceDir) {
    const std::filesystem::path folder = std::filesystem::path(resourceDir) / "icons";
    std::error_code error;
    return std::filesystem::is_regular_file(folder / (std::string(iconName) + ".svg"), error)
               ? folder.string()
               : std::string();
}

struct TrayIcon::Signals {
    static void appeared(GDBusConnection*, const gchar*, const gchar*, gpointer data) {
        static_cast<TrayIcon*>(data)->hostAppeared();
    }
    static void vanished(GDBusConnection*, const gchar*, gpointer data) {
        static_cast<TrayIcon*>(data)->hostVanished();
    }
};

TrayIcon::TrayIcon(PresetSwitching& presets, GtkMenuItemAdapter& keepInTray, TrayActions actions,
                   std::string iconFolder)
    : presets_(presets), keepInTray_(keepInTray), actions_(std::move(actions)),
      iconFolder_(std::move(iconFolder)), menu_(gtk_menu_new()) {
    g_object_ref_sink(menu_);
    hostVanished();
    presets_.watchActivePreset(this, [this] { showActivePreset(); });
    presets_.watchPresetList([this] { refresh(); });
    watch_ = g_bus_watch_name(G_BUS_TYPE_SESSION, watcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                              Signals::appeared, Signals::vanished, this, nullptr);
}

TrayIcon::~TrayIcon() {
    presets_.watchActivePreset(this, {});
    presets_.watchPresetList({});
    if (watch_ != 0) {
        g_bus_unwatch_name(watch_);
    }
    if (indicator_ != nullptr) {
        g_object_unref(indicator_);
    }
    items_.clear();
    gtk_widget_destroy(menu_);
    g_object_unref(menu_);
}

// The icon is made only once a host is there: without one, AppIndicator would fall back to an
// X11 tray icon that nothing shows.
void TrayIcon::hostAppeared() {
    if (indicator_ == nullptr) {
        indicator_ = app_indicator_new("io.github.padloom.Padloom", iconName,
                                       APP_INDICATOR_CATEGORY_APPLICATION_STATUS);
        app_indicator_set_title(indicator_, "Padloom");
        if (!iconFolder_.empty()) {
            app_indicator_set_icon_theme_path(indicator_, iconFolder_.c_str()); // the host looks there too
        }
        refresh();
        app_indicator_set_status(indicator_, APP_INDICATOR_STATUS_ACTIVE);
    }
    keepInTray_.setEnabled(true);
    gtk_widget_set_tooltip_text(keepInTray_.widget(), nullptr);
}

// The main window comes back when the host goes: nothing would be left to bring it back with.
void TrayIcon::hostVanished() {
    if (indicator_ != nullptr) {
        g_object_unref(indicator_);
        indicator_ = nullptr;
        if (actions_.showWindow) {
            actions_.showWindow();
        }
    }
    keepInTray_.setEnabled(false);
    gtk_widget_set_tooltip_text(keepInTray_.widget(), _(noTrayHostText));
}

void TrayIcon::add(const std::string& title, bool checkable, bool on, std::function<void()> action) {
    auto item = std::make_unique<GtkMenuItemAdapter>(title, checkable, std::move(action));
    item->setState(on);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu_), item->widget());
    gtk_widget_show(item->widget());
    items_.push_back(std::move(item));
}

// The presets in the main list's order (a file that does not read can't be switched on). Each
// click runs as the remote requests do. The menu is built anew beside the shown one and replaces
// it whole: the tray host is sent one menu, not a change for every item.
void TrayIcon::refresh() {
    if (indicator_ == nullptr) {
        return;
    }
    GtkWidget* shown = menu_;
    const std::vector<std::unique_ptr<GtkMenuItemAdapter>> shownItems = std::move(items_);
    menu_ = gtk_menu_new();
    g_object_ref_sink(menu_);
    items_.clear();
    presetFiles_.clear();
    PresetSwitching* p = &presets_;
    for (const ListedPreset& preset : presets_.listedPresets()) {
        if (preset.readable && presetFiles_.size() == trayMenuPresets) {
            add(_("More Presets…"), false, false, actions_.showWindow);
            break;
        }
        if (preset.readable) {
            const std::string file = preset.file;
            add(preset.name.empty() ? file : preset.name, true, false,
                [p, file] { (void)RemoteControl(*p).activate(file); });
            presetFiles_.push_back(file);
        }
    }
    GtkWidget* separator = gtk_separator_menu_item_new();
    gtk_menu_shell_append(GTK_MENU_SHELL(menu_), separator);
    gtk_widget_show(separator);
    add(_("Deactivate Preset"), false, false, [p] { (void)RemoteControl(*p).deactivate(); });
    deactivateItem_ = items_.back().get();
    add(_("Show Window"), false, false, actions_.showWindow);
    add(_("Quit"), false, false, actions_.quit);
    showActivePreset();
    app_indicator_set_menu(indicator_, GTK_MENU(menu_));
    gtk_widget_destroy(shown);
    g_object_unref(shown);
}

void TrayIcon::showActivePreset() {
    if (indicator_ == nullptr || items_.empty()) {
        return;
    }
    const std::string active = presets_.activePresetFile();
    for (size_t i = 0; i < presetFiles_.size(); ++i) {
        if (const bool on = presetFiles_[i] == active; items_[i]->state() != on) {
            items_[i]->setState(on);
        }
    }
    deactivateItem_->setEnabled(!active.empty());
}

} // namespace padloom
