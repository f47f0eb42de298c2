// The quit question: asked once while a preset is active and warnings are on, never otherwise.
// Quitting in any way first ends an open edit as closing the editor does.
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"
#include "tests/support/virtual_joystick.h"

namespace padloom::test {
namespace {

// Closing the main window, Quit from the menu, or SIGINT/SIGTERM.
enum class Route { window, menu, signal };

struct QuitCase {
    const char* what;
    bool active;      // a preset is active when quitting
    bool warningsOff; // "Show Warnings" was switched off from the menu
    bool editor;      // the configuration window is open, the preset renamed in it
    Route route;
    bool answer; // the button the question is answered with
    bool asks;
    bool quits;
    bool editReads = true; // false: the editor produces text that does not read back
};

void PrintTo(const QuitCase& c, std::ostream* out) {
    *out << c.what;
}

class Quit : public HarnessTest, public ::testing::WithParamInterface<QuitCase> {
protected:
    Quit() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}
};

TEST_P(Quit, AsksOnlyWhileAPresetRuns) {
    const QuitCase& c = GetParam();
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    harness.dialogs.answer = c.answer;
    if (c.warningsOff) {
        harness.shell().menu().item(&MenuOutlets::shouldShowWarnings_mi).activate();
    }
    if (c.editor) {
        ASSERT_TRUE(harness.openEditor());
        harness.config("$('#name').val('Renamed').trigger('input'); true");
        if (!c.editReads) {
            harness.config("window.generatePresetString = () => '{'; true");
        }
    }
    if (c.active) {
        ASSERT_EQ(harness.awaitMain("app.activatePreset_('Pad.txt')").value, ScriptValue(true));
    }
    if (c.route == Route::menu) {
        harness.shell().menu().item("Quit")->activate();
    } else if (c.route == Route::window) {
        gtk_window_close(harness.shell().mainWindow());
    } else {
        harness.shell().terminateNow(); // what the signal handler runs
    }
    ASSERT_TRUE(
        pumpUntil([&] { return c.quits ? harness.quitCount > 0 : !harness.dialogs.confirms.empty(); }));
    drainMainLoop();

    EXPECT_EQ(harness.quitCount, c.quits ? 1 : 0);
    EXPECT_EQ(harness.dialogs.confirms, c.asks ? std::vector<std::string>{TesselAppDelegate::quitQuestion()}
                                               : std::vector<std::string>{});
    // Quitting stops the preset before SDL goes away; staying keeps the window, preset and pages.
    EXPECT_EQ(harness.controller().runner.joystickPollingTaskRunning, !c.quits);
    if (c.quits) {
        EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
        VantryDocument saved;
        ASSERT_TRUE(saved.load((harness.presetFolder() / "Pad.txt").c_str()));
        EXPECT_EQ(saved.name, c.editor && c.editReads ? "Renamed" : "Pad");
        EXPECT_EQ(harness.dialogs.alerts.size(), c.editReads ? 0u : 1u);
    } else {
        EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
        EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Quit,
    ::testing::Values(QuitCase{"idle", false, false, false, Route::window, true, false, true},
                      QuitCase{"yes", true, false, false, Route::window, true, true, true},
                      QuitCase{"no", true, false, false, Route::window, false, true, false},
                      QuitCase{"menu_yes", true, false, false, Route::menu, true, true, true},
                      QuitCase{"menu_no", true, false, false, Route::menu, false, true, false},
                      QuitCase{"no_warnings", true, true, false, Route::window, true, false, true},
                      QuitCase{"editing", true, false, true, Route::window, true, false, true},
                      QuitCase{"editing_menu", false, false, true, Route::menu, true, false, true},
                      QuitCase{"signal_bad_edit", false, false, true, Route::signal, true, false, true,
                               false}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
