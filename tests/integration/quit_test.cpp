// The quit question: asked once while a preset is active and warnings are on, never otherwise.
// Quitting in any way first ends an open edit as closing the editor does.
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

enum class QuitRoute { mainWindow, menu, signal };

struct QuitCase {
    const char* what;
    bool activate;    // a preset is active when quitting
    bool warningsOff; // "Show Warnings" was switched off from the menu
    bool editorOpen;  // the configuration window is visible, the preset renamed in it
    QuitRoute route;  // closing the main window, Quit from the menu, or SIGINT/SIGTERM
    bool answer;      // the button the question is answered with
    bool expectQuestion;
    bool expectQuit;
    bool editorTextReads = true; // false: the editor produces text that does not read back
};

void PrintTo(const QuitCase& c, std::ostream* out) {
    *out << c.what;
}

class QuitTest : public HarnessTest, public ::testing::WithParamInterface<QuitCase> {
protected:
    QuitTest() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}
};

TEST_P(QuitTest, QuitAsksOnlyWhileAPresetIsActiveWithWarningsOnAndTheEditorClosed) {
    const QuitCase& c = GetParam();
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    harness.dialogs.answer = c.answer;
    if (c.warningsOff)
        harness.shell().menu().item(&MenuOutlets::shouldShowWarnings_mi).activate();
    if (c.editorOpen) {
        harness.awaitMain("app.createOrEditPreset_('Pad.txt')");
        ASSERT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())));
        harness.config("$('#name').val('Renamed').trigger('input'); true");
        if (!c.editorTextReads)
            harness.config("window.generatePresetString = () => '{'; true");
    }
    if (c.activate) {
        ASSERT_EQ(harness.awaitMain("app.activatePreset_('Pad.txt')").value, ScriptValue(true));
    }

    if (c.route == QuitRoute::menu)
        harness.shell().menu().item("Quit")->activate();
    else if (c.route == QuitRoute::mainWindow)
        gtk_window_close(harness.shell().mainWindow());
    else
        harness.shell().terminateNow(); // what the signal handler runs
    if (c.expectQuit)
        ASSERT_TRUE(pumpUntil([&] { return harness.quitCount > 0; }));
    else
        ASSERT_TRUE(pumpUntil([&] { return !harness.dialogs.confirms.empty(); }));
    drainMainLoop();

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
        VantryDocument saved;
        ASSERT_TRUE(saved.load((harness.presetFolder() / "Pad.txt").c_str()));
        EXPECT_EQ(saved.name, c.editorOpen && c.editorTextReads ? "Renamed" : "Pad");
        EXPECT_EQ(harness.dialogs.alerts.size(), c.editorTextReads ? 0u : 1u);
    } else {
        EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
        EXPECT_TRUE(harness.controller().runner.joystickPollingTaskRunning);
        EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuitTest,
    ::testing::Values(
        QuitCase{"idle", false, false, false, QuitRoute::mainWindow, true, false, true},
        QuitCase{"active_yes", true, false, false, QuitRoute::mainWindow, true, true, true},
        QuitCase{"active_no", true, false, false, QuitRoute::mainWindow, false, true, false},
        QuitCase{"active_menu_yes", true, false, false, QuitRoute::menu, true, true, true},
        QuitCase{"active_menu_no", true, false, false, QuitRoute::menu, false, true, false},
        QuitCase{"active_warnings_off", true, true, false, QuitRoute::mainWindow, true, false, true},
        QuitCase{"active_editor_open", true, false, true, QuitRoute::mainWindow, true, false, true},
        QuitCase{"editor_open_menu", false, false, true, QuitRoute::menu, true, false, true},
        QuitCase{"editor_open_signal_text_does_not_read", false, false, true, QuitRoute::signal, true, false,
                 true, false}),
    [](const ::testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
