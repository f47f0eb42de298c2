// The quit question: asked once while a preset is active and warnings are on, never otherwise.
// Quitting by any way ends an open edit first.
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

// Runs everything the main loop has ready, including work deferred to idle.
void drain() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

struct QuitCase {
    const char* what;
    bool activate;    // a preset is active when quitting
    bool warningsOff; // "Show Warnings" was switched off from the menu
    bool editorOpen;  // the configuration window is visible
    bool useMenu;     // Quit from the menu instead of closing the main window
    bool answer;      // the button the question is answered with
    bool expectQuestion;
    bool expectQuit;
};

void PrintTo(const QuitCase& c, std::ostream* out) {
    *out << c.what;
}

class QuitTest : public ::testing::TestWithParam<QuitCase> {};

TEST_P(QuitTest, QuitAsksOnlyWhileAPresetIsActiveWithWarningsOnAndTheEditorClosed) {
    if (!ShellHarness::displayAvailable())
        GTEST_SKIP() << "no display";
    const QuitCase& c = GetParam();
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.start();
    harness.dialogs.answer = c.answer;
    if (c.warningsOff)
        harness.shell().menu().shouldShowWarnings_mi.activate();
    if (c.editorOpen) {
        harness.awaitMain("app.createOrEditPreset_('Pad.txt')");
        ASSERT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())));
    }
    if (c.activate) {
        ASSERT_EQ(harness.awaitMain("app.activatePreset_('Pad.txt')").value, ScriptValue(true));
    }

    if (c.useMenu)
        harness.shell().menu().quit.activate();
    else
        gtk_window_close(harness.shell().mainWindow());
    if (c.expectQuit)
        ASSERT_TRUE(pumpUntil([&] { return harness.quitCount > 0; }));
    else
        ASSERT_TRUE(pumpUntil([&] { return !harness.dialogs.confirms.empty(); }));
    drain();

    EXPECT_EQ(harness.quitCount, c.expectQuit ? 1 : 0);
    if (c.expectQuestion) {
        ASSERT_EQ(harness.dialogs.confirms.size(), 1u);
        EXPECT_EQ(harness.dialogs.confirms[0], TesselAppDelegate::quitQuestion());
    } else {
        EXPECT_TRUE(harness.dialogs.confirms.empty());
    }
    if (c.expectQuit) {
        // Quitting stopped the preset before SDL went away.
        EXPECT_FALSE(harness.controller().runner.joystickPollingTaskRunning);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    } else {
        EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
        EXPECT_TRUE(harness.controller().runner.joystickPollingTaskRunning);
        EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuitTest,
    ::testing::Values(QuitCase{"idle", false, false, false, false, true, false, true},
                      QuitCase{"active_yes", true, false, false, false, true, true, true},
                      QuitCase{"active_no", true, false, false, false, false, true, false},
                      QuitCase{"active_menu_yes", true, false, false, true, true, true, true},
                      QuitCase{"active_menu_no", true, false, false, true, false, true, false},
                      QuitCase{"active_warnings_off", true, true, false, false, true, false, true},
                      QuitCase{"active_editor_open", true, false, true, false, true, false, true}),
    [](const ::testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.what); });

enum class QuitRoute { menu, mainWindow, signal };

struct EditQuitCase {
    const char* what;
    QuitRoute route;
    bool textReads; // the editor's text reads back as a preset
};

void PrintTo(const EditQuitCase& c, std::ostream* out) {
    *out << c.what;
}

class QuitWithTheEditorOpen : public ::testing::TestWithParam<EditQuitCase> {};

TEST_P(QuitWithTheEditorOpen, EndsTheEditAsClosingTheEditorWouldBeforeQuitting) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    const EditQuitCase& c = GetParam();
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.start();
    harness.awaitMain("app.createOrEditPreset_('Pad.txt')");
    ASSERT_EQ(harness.config("$('#name').val()"), ScriptValue("Pad"));
    harness.config("$('#name').val('Renamed').trigger('input'); true");
    if (!c.textReads) {
        harness.config("window.generatePresetString = () => '{'; true");
    }

    switch (c.route) {
    case QuitRoute::menu:
        harness.shell().menu().quit.activate();
        break;
    case QuitRoute::mainWindow:
        gtk_window_close(harness.shell().mainWindow());
        break;
    case QuitRoute::signal: // what SIGINT and SIGTERM run
        harness.shell().terminateNow();
        break;
    }
    ASSERT_TRUE(pumpUntil([&] { return harness.quitCount > 0; }));

    VantryDocument document;
    ASSERT_TRUE(document.load((harness.presetFolder() / "Pad.txt").c_str()));
    EXPECT_EQ(document.name, c.textReads ? "Renamed" : "Pad");
    EXPECT_EQ(harness.dialogs.alerts.size(), c.textReads ? 0u : 1u);
    EXPECT_FALSE(harness.controller().editingPresetPath);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, QuitWithTheEditorOpen,
    ::testing::Values(EditQuitCase{"menu", QuitRoute::menu, true},
                      EditQuitCase{"main_window_text_does_not_read", QuitRoute::mainWindow, false},
                      EditQuitCase{"signal", QuitRoute::signal, true}),
    [](const ::testing::TestParamInfo<EditQuitCase>& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
