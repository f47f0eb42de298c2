// Start-up and the menu commands that fill the main page.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

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

TEST_F(StartupTest, OptionItemsShowTheirStoredStateAndAClickFlipsItOnce) {
    harness.start();
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())));
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

struct StartProblem {
    const char* what;
    const char* output;   // PADLOOM_OUTPUT, or null
    const char* settings; // the settings file's text, or null
    std::vector<std::string> mentions;
};

class StartProblems : public HarnessTest, public ::testing::WithParamInterface<StartProblem> {};

// An unreadable settings file is also set aside, defaults stored in a new one beside it.
TEST_P(StartProblems, AreExplainedInOneAlert) {
    const StartProblem& c = GetParam();
    if (c.settings) {
        std::filesystem::create_directories(harness.settingsFile().parent_path());
        std::ofstream(harness.settingsFile()) << c.settings;
    }
    if (c.output) {
        setenv("PADLOOM_OUTPUT", c.output, 1);
        harness.useRecordingSink = false;
    }
    harness.start();
    unsetenv("PADLOOM_OUTPUT");
    ASSERT_TRUE(pumpUntil([&] { return !harness.dialogs.alerts.empty(); }));
    drainMainLoop();
    ASSERT_EQ(harness.dialogs.alerts.size(), 1u);
    for (const std::string& part : c.mentions)
        EXPECT_NE(harness.dialogs.alerts[0].find(part), std::string::npos) << harness.dialogs.alerts[0];
    EXPECT_EQ(std::filesystem::exists(harness.settingsFile().string() + ".bad"), c.settings != nullptr);
    EXPECT_TRUE(std::filesystem::exists(harness.settingsFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartProblems,
    ::testing::Values(StartProblem{"output", "no-such-output", nullptr, {"no-such-output"}},
                      StartProblem{"settings",
                                   nullptr,
                                   "stray line\n[Options]\n",
                                   {"could not be read", "settings.ini.bad"}}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
