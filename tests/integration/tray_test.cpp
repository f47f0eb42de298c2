// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon and "Keep Running in Tray When Closed", on a session bus of the test's own
// (dbus-run-session), where the test stands in for the desktop's tray host by owning the
// StatusNotifierWatcher name.
#include "tests/integration/shell_harness.h"
#include "tests/support/fake_tray_host.h"

namespace padloom::test {
namespace {

class Tray : public HarnessTest {
protected:
    Tray()
        : HarnessTest(
              {{"Pad.txt", presetText("Pad", "first")}, {"two.json", presetText("Second", "second")}}) {}

    // The tray menu's titles, the checked one marked "*".
    std::string menuTitles() {
        std::string all;
        for (const auto& item : harness.shell().tray().items()) {
            all += (all.empty() ? "" : ",") + item->title() + (item->state() ? "*" : "");
        }
        return all;
    }
};

TEST_F(Tray, ClosingHidesTheWindowWhileAHostShowsTheIcon) {
    harness.plug(2, 4, 1);
    TrayIcon& tray = harness.shell().tray();
    GtkMenuItemAdapter& option = harness.shell().menu().item(&MenuOutlets::keepInTray_mi);
    GtkWidget* mainWindow = GTK_WIDGET(harness.shell().mainWindow());
    const auto tooltip = [&] {
        g_autofree gchar* text = gtk_widget_get_tooltip_text(option.widget());
        return std::string(text ? text : "");
    };

    EXPECT_FALSE(option.enabled());
    EXPECT_EQ(tooltip(), noTrayHostText);
    auto host = std::make_unique<FakeTrayHost>();
    ASSERT_TRUE(pumpUntil([&] { return option.enabled(); }));
    EXPECT_EQ(tooltip(), "");
    EXPECT_TRUE(tray.hostPresent());
    option.activate();
    EXPECT_TRUE(option.state());

    const std::string second = "Pad,Second*,Deactivate Preset,Show Window,Quit";
    const std::tuple<std::string, std::string, bool, bool> steps[] = {
        // a tray item or "close" (the main window's close button); afterwards: the tray menu's
        // titles, the checked one marked "*"; the main window shown; a preset running
        {"Second", second, true, true},
        {"close", second, false, true},
        {"Show Window", second, true, true},
        {"close", second, false, true},
        {"Deactivate Preset", "Pad,Second,Deactivate Preset,Show Window,Quit", false, false},
        {"Pad", "Pad*,Second,Deactivate Preset,Show Window,Quit", false, true},
    };
    for (const auto& [click, menu, shown, active] : steps) {
        SCOPED_TRACE(click);
        if (click == "close") {
            gtk_window_close(harness.shell().mainWindow());
        }
        for (const auto& item : tray.items()) {
            if (item->title() == click) {
                item->activate();
                break;
            }
        }
        pumpUntil([&] { return gtk_widget_get_visible(mainWindow) == shown; }, std::chrono::seconds(2));
        EXPECT_EQ(menuTitles(), menu);
        EXPECT_EQ(gtk_widget_get_visible(mainWindow), shown);
        EXPECT_EQ(harness.controller().runner().active(), active);
        EXPECT_EQ(harness.quitCount, 0);
        // Hidden, the pages are released and answer nothing; shown again, they are refilled.
        EXPECT_EQ(harness.shell().mainPage().released(), !shown);
        EXPECT_EQ(harness.main("1").isUndefined(), !shown);
        if (shown && active) {
            EXPECT_TRUE(pumpUntil([&] { return harness.markedPresets() == "two.json"; }));
        }
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

// The menu lists what the main list lists: a rename in the editor, a copy and a deletion show at
// once, the check mark following the preset that runs.
TEST_F(Tray, MenuFollowsTheListsChanges) {
    harness.plug(2, 4, 1);
    TrayIcon& tray = harness.shell().tray();
    FakeTrayHost host;
    ASSERT_TRUE(pumpUntil([&] { return tray.hostPresent(); }));
    const auto titles = [&] { return menuTitles().substr(0, menuTitles().find(",Deactivate Preset")); };
    const std::pair<std::string, std::string> steps[] = {
        // a script in the main page ("edit": the editor saves a new name); the presets in the menu
        {"", "Pad,Second"},
        {"$('.preset').eq(1).click()", "Pad,Second*"},
        {"edit", "Renamed,Second*"},
        {"$('.preset').eq(0).find('.copy').click()", "Renamed,Renamed copy,Second*"},
        {"$('.preset').eq(2).find('.delete').click()", "Renamed,Renamed copy"},
    };
    for (const auto& [script, menu] : steps) {
        SCOPED_TRACE(script);
        if (script == "edit") {
            ASSERT_TRUE(harness.openEditor());
            harness.config("$('#name').val('Renamed')");
            ASSERT_TRUE(harness.closeEditor());
        } else {
            harness.main(script);
        }
        EXPECT_TRUE(pumpUntil([&] { return titles() == menu && harness.main("busy") == ScriptValue(false); },
                              std::chrono::seconds(5)))
            << titles();
    }
}

// Run from its build folder, where no icon theme has the icon, the tray host is told where it is.
TEST_F(Tray, TheHostFindsTheIconOfAProgramNotInstalled) {
    FakeTrayHost host;
    ASSERT_TRUE(pumpUntil([&] { return !host.itemPath.empty(); }));
    // Asked as the host asks, without blocking: the item answers from this process's main loop.
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    std::map<std::string, std::string> properties;
    for (const char* name : {"IconName", "IconThemePath"}) {
        g_dbus_connection_call(
            bus, host.itemOwner.c_str(), host.itemPath.c_str(), "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", "org.kde.StatusNotifierItem", name), G_VARIANT_TYPE("(v)"),
            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
            [](GObject* bus, GAsyncResult* result, gpointer value) {
                g_autoptr(GVariant) reply =
                    g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
                g_autoptr(GVariant) inner = nullptr;
                if (reply != nullptr) {
                    g_variant_get(reply, "(v)", &inner);
                }
                *static_cast<std::string*>(value) =
                    inner ? g_variant_get_string(inner, nullptr) : "(no answer)";
            },
            &properties[name]);
    }
    ASSERT_TRUE(
        pumpUntil([&] { return !properties["IconName"].empty() && !properties["IconThemePath"].empty(); }));
    EXPECT_EQ(properties["IconName"], "padloom");
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::filesystem::path(properties["IconThemePath"]) / "padloom.svg"))
        << properties["IconThemePath"];
    GtkIconInfo* windowIcon =
        gtk_icon_theme_lookup_icon(gtk_icon_theme_get_default(), "padloom", 48, GtkIconLookupFlags(0));
    EXPECT_NE(windowIcon, nullptr) << "the windows' icon";
    g_clear_object(&windowIcon);
}

// A long list: the menu lists the first presets and offers the window for the rest.
TEST_F(Tray, LongListsEndInAnItemThatShowsTheWindow) {
    FakeTrayHost host;
    ASSERT_TRUE(pumpUntil([&] { return harness.shell().tray().hostPresent(); }));
    for (size_t i = 0; i < trayMenuPresets; ++i) {
        harness.writePreset("more-" + std::to_string(i) + ".txt",
                            presetText("More " + std::to_string(i), ""));
    }
    harness.main("reloadList()");
    const auto& items = harness.shell().tray().items();
    ASSERT_TRUE(pumpUntil([&] { return items.size() == trayMenuPresets + 4; })) << items.size();
    EXPECT_EQ(items[trayMenuPresets - 1]->title(),
              "More " + std::to_string(trayMenuPresets - 1)); // before Pad
    EXPECT_EQ(items[trayMenuPresets]->title(), "More Presets…");
    gtk_widget_hide(GTK_WIDGET(harness.shell().mainWindow()));
    items[trayMenuPresets]->activate();
    EXPECT_TRUE(pumpUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())); }));
}

} // namespace
} // namespace padloom::test
