// Start-up, where the program finds its pages, and the menu commands that fill the main page.
#include "platform/gtk/resource_locator.h"
#include "tests/integration/shell_harness.h"

#include <fstream>

namespace padloom::test {
namespace {

TEST(Startup, WithoutADisplayTheProgramSaysWhatItNeeds) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        // the environment, the start of the message
        {{"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"},
         "Padloom needs a desktop session (no DISPLAY or "
         "WAYLAND_DISPLAY is set); try padloomctl for the command line.\n"},
        {{"-u", "WAYLAND_DISPLAY", "DISPLAY=:4093"}, "Padloom cannot open the display :4093; try padloomctl"},
    };
    for (auto [words, says] : cases) {
        words.insert(words.begin(), "env");
        words.push_back(PADLOOM_BINARY_DIR "/padloom");
        const ProgramOutcome outcome = runProgram(words);
        EXPECT_EQ(outcome.exit, 1) << says;
        EXPECT_EQ((outcome.out + outcome.err).rfind(says, 0), 0u) << outcome.out + outcome.err;
    }
}

// Beside the program in a build folder, or in the data folder of the prefix it was installed to.
TEST(Startup, ThePagesAreFoundBesideTheProgramOrUnderItsPrefix) {
    TempFolder root;
    const std::filesystem::path build = root.path() / "build", prefix = root.path() / "opt" / "padloom";
    for (const auto& resources : {build / "resources", prefix / "share" / "padloom"}) {
        std::filesystem::create_directories(resources / "gui");
        std::ofstream(resources / "gui" / "window_main.htm") << "<html></html>";
    }
    std::filesystem::create_directories(root.path() / "gui-only" / "resources");
    const std::tuple<std::filesystem::path, std::string, std::string> cases[] = {
        // the program, the folder beside it, the installed folder
        {build / "padloom", (build / "resources").string(), ""},
        {prefix / "bin" / "padloom", "", (prefix / "share" / "padloom").string()},
        {root.path() / "empty" / "bin" / "padloom", "", ""},
        {root.path() / "gui-only" / "padloom", "", ""}, // a resources folder without the main page
    };
    for (const auto& [program, beside, installed] : cases) {
        EXPECT_EQ(resourceDirBeside(program.string()), beside) << program;
        EXPECT_EQ(installedResourceDir(program.string()), installed) << program;
    }
}

using StartupTest = HarnessTest;

// A real click: GTK's own toggle and the controller's toggle must not add up.
TEST_F(StartupTest, AClickOnAnOptionFlipsItOnce) {
    harness.start();
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())));
    GtkMenuItemAdapter& compact = harness.shell().menu().item(&MenuOutlets::shouldCompactList_mi);
    ASSERT_FALSE(compact.state());
    for (bool on : {true, false, true}) {
        gtk_menu_item_activate(GTK_MENU_ITEM(compact.widget()));
        EXPECT_EQ(compact.state(), on);
        EXPECT_EQ(static_cast<bool>(gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(compact.widget()))),
                  on);
        EXPECT_EQ(harness.main("document.body.classList.contains('compactList')"), ScriptValue(on));
    }
}

// The menu item is chosen again while the first reload waits for the page.
TEST_F(StartupTest, ReloadDuringAReloadListsEachPresetOnce) {
    for (int i = 0; i < 8; ++i) {
        harness.writePreset("p" + std::to_string(i) + ".txt", presetText("P" + std::to_string(i), "tag"));
    }
    harness.start();
    GtkMenuItem* reload =
        GTK_MENU_ITEM(harness.shell().menu().item(&MenuOutlets::reloadPresetList_mi).widget());
    g_timeout_add(
        0, [](gpointer item) { return gtk_menu_item_activate(GTK_MENU_ITEM(item)), G_SOURCE_REMOVE; },
        reload);
    gtk_menu_item_activate(reload);
    ASSERT_FALSE(harness.controller().operations.busy());
    EXPECT_EQ(harness.listedPresetNames().size(), 8u);
}

// An unreadable settings file is set aside, defaults stored in a new one beside it; an unknown
// output is named. Each problem gets its alert, shown without blocking the start.
TEST_F(StartupTest, ProblemsAreExplainedInAlerts) {
    std::filesystem::create_directories(harness.settingsFile().parent_path());
    std::ofstream(harness.settingsFile()) << "stray line\n[Options]\n";
    setenv("PADLOOM_OUTPUT", "no-such-output", 1);
    harness.useRecordingSink = false;
    harness.start();
    unsetenv("PADLOOM_OUTPUT");
    ASSERT_TRUE(pumpUntil([&] { return harness.dialogs.alerts.size() == 2; }));
    drainMainLoop();
    ASSERT_EQ(harness.dialogs.alerts.size(), 2u);
    const std::pair<int, const char*> parts[] = {
        {0, "could not be read"}, {0, "settings.ini.bad"}, {1, "no-such-output"}};
    for (const auto& [alert, part] : parts) {
        EXPECT_NE(harness.dialogs.alerts[alert].find(part), std::string::npos)
            << harness.dialogs.alerts[alert];
    }
    EXPECT_TRUE(std::filesystem::exists(harness.settingsFile().string() + ".bad"));
    EXPECT_TRUE(std::filesystem::exists(harness.settingsFile()));
}

} // namespace
} // namespace padloom::test
