// The tray icon and "Keep Running in Tray When Closed", on a session bus of the test's own
// (dbus-run-session), where the test stands in for the desktop's tray host by owning the
// StatusNotifierWatcher name.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

// Owns the watcher's name and answers its registration call, as a desktop's tray host does.
class FakeTrayHost {
public:
    FakeTrayHost() {
        static const char xml[] = "<node><interface name='org.kde.StatusNotifierWatcher'>"
                                  "<method name='RegisterStatusNotifierItem'><arg type='s' direction='in'/>"
                                  "</method></interface></node>";
        info_ = g_dbus_node_info_new_for_xml(xml, nullptr);
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        static const GDBusInterfaceVTable vtable = {
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant*,
               GDBusMethodInvocation* call,
               gpointer) { g_dbus_method_invocation_return_value(call, nullptr); },
            nullptr,
            nullptr,
            {}};
        object_ = g_dbus_connection_register_object(bus_, "/StatusNotifierWatcher", info_->interfaces[0],
                                                    &vtable, nullptr, nullptr, nullptr);
        owner_ =
            g_bus_own_name_on_connection(bus_, "org.kde.StatusNotifierWatcher", G_BUS_NAME_OWNER_FLAGS_NONE,
                                         nullptr, nullptr, nullptr, nullptr);
    }
    ~FakeTrayHost() {
        g_bus_unown_name(owner_);
        g_dbus_connection_unregister_object(bus_, object_);
        g_object_unref(bus_);
        g_dbus_node_info_unref(info_);
    }

private:
    GDBusNodeInfo* info_;
    GDBusConnection* bus_;
    unsigned object_, owner_;
};

// The tray menu's titles, the checked ones marked "*", joined by commas.
std::string trayMenu(TrayIcon& tray) {
    std::string text;
    for (const auto& item : tray.items()) {
        text += (text.empty() ? "" : ",") + item->title() + (item->state() ? "*" : "");
    }
    return text;
}

GtkMenuItemAdapter& trayItem(TrayIcon& tray, const std::string& title) {
    for (const auto& item : tray.items()) {
        if (item->title() == title) {
            return *item;
        }
    }
    ADD_FAILURE() << "no tray item " << title;
    return *tray.items().front();
}

TEST(Tray, TheOptionFollowsTheTrayHostAndClosingHidesTheWindowWhileThePresetRuns) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "first"));
    harness.writePreset("two.json", presetText("Second", "second"));
    harness.start();
    TrayIcon& tray = harness.shell().tray();
    GtkMenuItemAdapter& option = harness.shell().menu().item(&MenuOutlets::keepInTray_mi);
    GtkWidget* mainWindow = GTK_WIDGET(harness.shell().mainWindow());
    auto tooltip = [&] {
        gchar* text = gtk_widget_get_tooltip_text(option.widget());
        std::string copy = text ? text : "";
        g_free(text);
        return copy;
    };

    EXPECT_FALSE(option.enabled());
    EXPECT_EQ(tooltip(), noTrayHostText);
    auto host = std::make_unique<FakeTrayHost>();
    ASSERT_TRUE(pumpUntil([&] { return option.enabled(); }));
    EXPECT_EQ(tooltip(), "");
    EXPECT_TRUE(tray.hostPresent());
    option.activate();
    EXPECT_TRUE(option.state());

    struct Step {
        const char* click; // a tray item, or "close" for the main window's close button
        std::string menu;  // the tray menu afterwards
        bool shown;        // the main window afterwards
        bool active;       // a preset runs afterwards
    };
    const std::string idle = "Pad,Second,Deactivate Preset,Show Window,Quit";
    const Step steps[] = {
        {"Second", "Pad,Second*,Deactivate Preset,Show Window,Quit", true, true},
        {"close", "Pad,Second*,Deactivate Preset,Show Window,Quit", false, true},
        {"Show Window", "Pad,Second*,Deactivate Preset,Show Window,Quit", true, true},
        {"close", "Pad,Second*,Deactivate Preset,Show Window,Quit", false, true},
        {"Deactivate Preset", idle, false, false},
        {"Pad", "Pad*,Second,Deactivate Preset,Show Window,Quit", false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click);
        if (std::string(step.click) == "close") {
            gtk_window_close(harness.shell().mainWindow());
        } else {
            trayItem(tray, step.click).activate();
        }
        pumpUntil([&] { return gtk_widget_get_visible(mainWindow) == step.shown; }, std::chrono::seconds(2));
        EXPECT_EQ(trayMenu(tray), step.menu);
        EXPECT_EQ(gtk_widget_get_visible(mainWindow), step.shown);
        EXPECT_EQ(harness.controller().runner.active(), step.active);
        EXPECT_EQ(harness.quitCount, 0);
    }

    // The host goes: the window comes back, and closing it quits again.
    host.reset();
    ASSERT_TRUE(pumpUntil([&] { return !option.enabled(); }));
    EXPECT_TRUE(gtk_widget_get_visible(mainWindow));
    EXPECT_EQ(tooltip(), noTrayHostText);
    harness.shell().menu().item(&MenuOutlets::shouldShowWarnings_mi).activate();
    gtk_window_close(harness.shell().mainWindow());
    EXPECT_TRUE(pumpUntil([&] { return harness.quitCount == 1; }));
}

} // namespace
} // namespace padloom::test
