// Start-up and the menu commands that fill the main page.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/wait.h>

namespace padloom::test {
namespace {

TEST(StartupWithoutDisplay, ThePlainProgramSaysWhatItNeedsAndFails) {
    struct Case {
        const char* environment;
        const char* says;
    };
    const Case cases[] = {
        {"-u DISPLAY -u WAYLAND_DISPLAY", "Padloom needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is "
                                          "set); try padloomctl for the command "
                                          "line.\n"},
        {"-u WAYLAND_DISPLAY DISPLAY=:4093", "Padloom cannot open the display :4093; try padloomctl"},
    };
    for (const Case& c : cases) {
        const std::string command =
            std::string("env ") + c.environment + " '" + PADLOOM_BINARY_DIR + "/padloom' 2>&1";
        FILE* program = popen(command.c_str(), "r");
        ASSERT_NE(program, nullptr);
        std::string output;
        for (int ch; (ch = fgetc(program)) != EOF;)
            output += static_cast<char>(ch);
        EXPECT_EQ(WEXITSTATUS(pclose(program)), 1) << command;
        EXPECT_EQ(output.rfind(c.says, 0), 0u) << output;
    }
}

using StartupTest = HarnessTest;

TEST_F(StartupTest, StartFillsThePresetListFromThePresetFolder) {
    harness.writePreset("b.txt", presetText("Beta", "second"));
    harness.writePreset("a.json", presetText("Alpha", "first"));
    harness.start();
    std::vector<std::string> names = harness.listedPresetNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(harness.shell().joystickLabel().text(), "No Joysticks Connected");
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())));
}

TEST_F(StartupTest, LoadExamplePresetsListsEveryShippedExample) {
    harness.start();
    ASSERT_TRUE(harness.listedPresetNames().empty());

    const auto examples =
        std::distance(std::filesystem::directory_iterator(harness.resourceDir() / "presetexamples"), {});
    ASSERT_GE(examples, 5);
    harness.shell().menu().item(&MenuOutlets::loadExamples_mi).activate();
    EXPECT_TRUE(pumpUntil([&] { return std::ssize(harness.listedPresetNames()) == examples; }));
}

TEST_F(StartupTest, OptionItemsShowTheirStoredStateAndAClickFlipsItOnce) {
    harness.start();
    GtkMenuItemAdapter& compact = harness.shell().menu().item(&MenuOutlets::shouldCompactList_mi);
    ASSERT_FALSE(compact.state());
    GtkCheckMenuItem* check = GTK_CHECK_MENU_ITEM(compact.widget());
    const bool expected[] = {true, false, true};
    for (bool on : expected) {
        // A real click: GTK's own toggle and the controller's toggle must not add up.
        gtk_menu_item_activate(GTK_MENU_ITEM(compact.widget()));
        EXPECT_EQ(compact.state(), on);
        EXPECT_EQ(static_cast<bool>(gtk_check_menu_item_get_active(check)), on);
        EXPECT_EQ(harness.main("document.body.classList.contains('compactList')"), ScriptValue(on));
    }
}

// The menu item is chosen again while the first reload waits for the page.
TEST_F(StartupTest, ReloadChosenDuringAReloadListsEachPresetOnce) {
    for (int i = 0; i < 8; ++i)
        harness.writePreset("p" + std::to_string(i) + ".txt", presetText("P" + std::to_string(i), "tag"));
    harness.start();
    GtkMenuItem* reload =
        GTK_MENU_ITEM(harness.shell().menu().item(&MenuOutlets::reloadPresetList_mi).widget());
    g_timeout_add(
        0,
        [](gpointer item) -> gboolean {
            return gtk_menu_item_activate(GTK_MENU_ITEM(item)), G_SOURCE_REMOVE;
        },
        reload);
    gtk_menu_item_activate(reload);
    ASSERT_FALSE(harness.controller().operations.busy());
    EXPECT_EQ(harness.listedPresetNames().size(), 8u);
}

TEST_F(StartupTest, AnOutputChoiceThatCannotBeHadIsExplainedInOneAlertAtStart) {
    setenv("PADLOOM_OUTPUT", "no-such-output", 1);
    harness.useRecordingSink = false;
    harness.start();
    unsetenv("PADLOOM_OUTPUT");
    ASSERT_TRUE(pumpUntil([&] { return !harness.dialogs.alerts.empty(); }));
    drainMainLoop();
    ASSERT_EQ(harness.dialogs.alerts.size(), 1u);
    EXPECT_EQ(harness.dialogs.alerts[0], harness.shell().sinkWarning());
    EXPECT_NE(harness.dialogs.alerts[0].find("no-such-output"), std::string::npos)
        << harness.dialogs.alerts[0];
}

TEST_F(StartupTest, AnUnreadableSettingsFileIsMovedAsideAndExplainedInOneAlert) {
    std::filesystem::create_directories(harness.settingsFile().parent_path());
    std::ofstream(harness.settingsFile()) << "stray line\n[Options]\n";
    harness.start();
    ASSERT_EQ(harness.dialogs.alerts.size(), 1u);
    EXPECT_NE(harness.dialogs.alerts[0].find("could not be read"), std::string::npos)
        << harness.dialogs.alerts[0];
    EXPECT_NE(harness.dialogs.alerts[0].find("settings.ini.bad"), std::string::npos)
        << harness.dialogs.alerts[0];
    // The defaults were stored in a new file beside the one set aside.
    EXPECT_TRUE(std::filesystem::exists(harness.settingsFile().string() + ".bad"));
    EXPECT_TRUE(std::filesystem::exists(harness.settingsFile()));
}

TEST_F(StartupTest, HelpItemsOpenTheShippedHelpPageWhenNoSiteIsConfigured) {
    harness.start();
    size_t topics = 0;
    for (const AppMenu::Item& item : harness.shell().menu().items()) {
        if (item.entry->kind == MenuKind::helpTopic) {
            item.adapter->activate();
            ++topics;
        }
    }
    ASSERT_EQ(harness.desktop.opened.size(), topics);
    for (const std::string& uri : harness.desktop.opened) {
        EXPECT_EQ(uri.rfind("file://", 0), 0u) << uri;
        EXPECT_NE(uri.find("/help/index.html#"), std::string::npos) << uri;
    }
}

} // namespace
} // namespace padloom::test
