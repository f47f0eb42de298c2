// The tray icon and "Keep Running in Tray When Closed", on a session bus of the test's own
// (dbus-run-session), where the test stands in for the desktop's tray host by owning the
// StatusNotifierWatcher name.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/fake_tray_host.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

// The tray menu's titles, the checked ones marked "*", joined by commas.
std::string trayMenu(TrayIcon& tray) {
    std::string text;
    for (const auto& item : tray.items()) {
        text += (text.empty() ? "" : ",") + item->title() + (item->state() ? "*" : "");
    }
    return text;
}

class Tray : public HarnessTest {
protected:
    Tray()
        : HarnessTest(
              {{"Pad.txt", presetText("Pad", "first")}, {"two.json", presetText("Second", "second")}}) {}
};

TEST_F(Tray, TheOptionFollowsTheTrayHostAndClosingHidesTheWindowWhileThePresetRuns) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
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
    const std::string second = "Pad,Second*,Deactivate Preset,Show Window,Quit";
    const Step steps[] = {
        {"Second", second, true, true},
        {"close", second, false, true},
        {"Show Window", second, true, true},
        {"close", second, false, true},
        {"Deactivate Preset", "Pad,Second,Deactivate Preset,Show Window,Quit", false, false},
        {"Pad", "Pad*,Second,Deactivate Preset,Show Window,Quit", false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click);
        if (std::string(step.click) == "close") {
            gtk_window_close(harness.shell().mainWindow());
        } else {
            for (const auto& item : tray.items()) {
                if (item->title() == step.click) {
                    item->activate();
                    break;
                }
            }
        }
        pumpUntil([&] { return gtk_widget_get_visible(mainWindow) == step.shown; }, std::chrono::seconds(2));
        EXPECT_EQ(trayMenu(tray), step.menu);
        EXPECT_EQ(gtk_widget_get_visible(mainWindow), step.shown);
        EXPECT_EQ(harness.controller().runner.active(), step.active);
        EXPECT_EQ(harness.quitCount, 0);
        // Hidden, the pages are released and answer nothing; shown again, they are refilled.
        EXPECT_EQ(harness.shell().mainPage().released(), !step.shown);
        EXPECT_EQ(harness.main("1").isUndefined(), !step.shown);
        if (step.shown && step.active) {
            EXPECT_TRUE(pumpUntil(
                [&] { return harness.main("$('.preset.selected').data('file')").text() == "two.json"; }));
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

} // namespace
} // namespace padloom::test
