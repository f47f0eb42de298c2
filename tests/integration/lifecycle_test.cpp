// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, where the program finds its pages, the menu commands that fill the main page, and
// quitting: the question is asked once while a preset is active and warnings are on, never
// otherwise, and quitting in any way first ends an open edit as closing the editor does.
#include "platform/gtk/shell/resource_locator.h"
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"

#include <fstream>

namespace padloom::test {
namespace {

TEST(Startup, WithoutADisplaySaysWhatItNeeds) {
    const std::string padloom = PADLOOM_BINARY_DIR "/padloom";
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        // the command, the start of the message
        {{"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", padloom},
         "Padloom needs a desktop session (no DISPLAY or "
         "WAYLAND_DISPLAY is set); try padloomctl for the command line.\n"},
        {{"env", "-u", "WAYLAND_DISPLAY", "DISPLAY=:4093", padloom},
         "Padloom cannot open the display :4093; try padloomctl"},
    };
    for (const auto& [words, says] : cases) {
        const ProgramOutcome outcome = runProgram(words);
        EXPECT_EQ(outcome.exit, 1) << says;
        EXPECT_EQ((outcome.out + outcome.err).rfind(says, 0), 0u) << outcome.out + outcome.err;
    }
}

// Beside the program in a build folder, or in the data folder of the prefix it was installed to.
TEST(Startup, FindsThePagesBesideItOrUnderItsPrefix) {
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

// Watches the main window's start for its length: how often its page had been filled when GTK
// showed the window ("map"), then its size once the X server had mapped it ("map-event") and each
// other size it took later ("configure-event").
class MainWindowStart {
public:
    explicit MainWindowStart(ShellHarness& harness) : harness_(harness) {
        for (const char* signal : {"map", "map-event", "configure-event"}) {
            const guint id = g_signal_lookup(signal, GTK_TYPE_WIDGET);
            hooks_.emplace_back(id, g_signal_add_emission_hook(id, 0, note, this, nullptr));
        }
    }
    ~MainWindowStart() {
        for (const auto& [signal, hook] : hooks_) {
            g_signal_remove_emission_hook(signal, hook);
        }
    }

    int fillsWhenShown = -1;
    std::vector<std::pair<int, int>> sizes;

private:
    static gboolean note(GSignalInvocationHint* hint, guint, const GValue* values, gpointer data) {
        auto* self = static_cast<MainWindowStart*>(data);
        GObject* widget = static_cast<GObject*>(g_value_get_object(&values[0]));
        const bool mainWindow = GTK_IS_WINDOW(widget) && !GTK_IS_DIALOG(widget) &&
                                g_strcmp0(gtk_window_get_title(GTK_WINDOW(widget)), "Padloom") == 0;
        if (mainWindow) {
            self->note(g_signal_name(hint->signal_id), GTK_WIDGET(widget), values);
        }
        return TRUE;
    }
    void note(const std::string& signal, GtkWidget* window, const GValue* values) {
        if (signal == "map" && fillsWhenShown < 0) {
            fillsWhenShown = harness_.shell().mainPageFills();
        } else if (signal == "map-event" && sizes.empty()) {
            sizes.emplace_back(gdk_window_get_width(gtk_widget_get_window(window)),
                               gdk_window_get_height(gtk_widget_get_window(window)));
        } else if (signal == "configure-event" && !sizes.empty()) {
            const GdkEventConfigure& to = static_cast<GdkEvent*>(g_value_get_boxed(&values[1]))->configure;
            if (sizes.back() != std::pair(to.width, to.height)) {
                sizes.emplace_back(to.width, to.height);
            }
        }
    }

    ShellHarness& harness_;
    std::vector<std::pair<guint, gulong>> hooks_;
};

// The main window is shown once its page lists the presets, at the height fitted to them, which
// it keeps; the page fits its place without scrolling.
TEST_F(StartupTest, TheMainWindowShowsOnceFilledAtItsFittedHeight) {
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        harness.writePreset(std::string(name) + ".txt", presetText(name));
    }
    MainWindowStart start(harness);
    harness.start();
    // Until the page has the height of its content (a window fitted after it was shown gets there
    // only after it changed its size).
    EXPECT_TRUE(pumpUntil([&] {
        return !start.sizes.empty() &&
               harness.main(
                   "Math.ceil($('#page')[0].getBoundingClientRect().height) === window.innerHeight") ==
                   ScriptValue(true);
    }));
    drainMainLoop();
    EXPECT_GT(start.fillsWhenShown, 0);
    EXPECT_EQ(start.sizes.size(), 1u);
    EXPECT_EQ(harness.listedPresetNames().size(), 3u);
    EXPECT_EQ(harness.main("document.scrollingElement.scrollHeight - window.innerHeight"), ScriptValue(0.0));
}

// A page that is not filled in time does not keep the window from showing.
TEST_F(StartupTest, TheMainWindowShowsWhenItsPageIsLate) {
    harness.mainWindowWait = std::chrono::milliseconds(1);
    MainWindowStart start(harness);
    harness.start();
    EXPECT_EQ(start.fillsWhenShown, 0);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
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
    ASSERT_FALSE(harness.controller().operations().busy());
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

// Closing the main window, Quit from the menu, or SIGINT/SIGTERM.
enum class Route { window, menu, signal };

// Before quitting: a preset is active; "Show Warnings" was switched off from the menu; the editor
// is open, the preset renamed in it; and the button the question is answered with. Afterwards:
// whether it asked, and quit. editReads false: the editor produces text that does not read back.
// menuOpen: a menu of the bar is open from the keyboard.
struct QuitCase {
    const char* what;
    bool active, warningsOff, editor;
    Route route;
    bool answer, asks, quits, editReads = true, menuOpen = false;
};

// A key pressed in the main window, as the X server delivers it.
void pressKey(GtkWindow* window, guint keyval, GdkModifierType modifiers) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window))));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.state = modifiers;
    event->key.keyval = keyval;
    g_autofree GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval,
                                          &keys, &count) &&
        count > 0) {
        event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    }
    gdk_event_set_device(event,
                         gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

void PrintTo(const QuitCase& c, std::ostream* out) {
    *out << c.what;
}

class Quit : public PadTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(Quit, AsksOnlyWhileAPresetRuns) {
    const QuitCase& c = GetParam();
    harness.plug(2, 4, 1);
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
    if (c.menuOpen) {
        pressKey(harness.shell().mainWindow(), GDK_KEY_q, GDK_MOD1_MASK); // opens Quick Options
        ASSERT_NE(gtk_menu_shell_get_selected_item(GTK_MENU_SHELL(harness.shell().menu().bar())), nullptr);
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
    // Quitting stops the preset before SDL goes away; staying keeps the window, preset and pages
    // (the preset's polling task may still be starting on a busy machine).
    EXPECT_TRUE(
        pumpUntil([&] { return harness.controller().runner().joystickPollingTaskRunning == !c.quits; }));
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
    ::testing::Values(
        QuitCase{"idle", false, false, false, Route::window, true, false, true},
        QuitCase{"yes", true, false, false, Route::window, true, true, true},
        QuitCase{"no", true, false, false, Route::window, false, true, false},
        QuitCase{"menu_yes", true, false, false, Route::menu, true, true, true},
        QuitCase{"menu_no", true, false, false, Route::menu, false, true, false},
        QuitCase{"no_warnings", true, true, false, Route::window, true, false, true},
        QuitCase{"editing", true, false, true, Route::window, true, false, true},
        QuitCase{"editing_menu", false, false, true, Route::menu, true, false, true},
        QuitCase{"signal_bad_edit", false, false, true, Route::signal, true, false, true, false},
        QuitCase{"signal_menu_open", false, false, false, Route::signal, true, false, true, true, true}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
