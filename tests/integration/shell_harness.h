// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the desktop shell in the test's own process: the real windows, WebKit pages and
// controller, with test doubles for the modal dialogs and the desktop's handlers, a recording
// event sink, the real settings file and preset folder in temporary XDG folders, and SDL's
// virtual joysticks.
//
//     ShellHarness harness;          // skips the test when there is no display
//     harness.writePreset("Pad.txt", text);
//     harness.start();               // returns once the main page has been filled
//     harness.awaitMain("app.activatePreset_('Pad.txt')");
#pragma once

#include "app/pages/script_text.h"
#include "platform/gtk/shell/shell.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/preset_text.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"
#include "tests/support/virtual_joystick.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padloom::test {


// Calls step every 10 ms from the main loop, nested loops included (modal panels, a capture's
// waits), until it returns true or the returned handle is destroyed.
std::shared_ptr<void> everyTick(std::function<bool()> step);

// What the next message panel shows, read from its widgets once it is shown; then a click on its
// button labelled clickLabel.
struct PanelReader {
    explicit PanelReader(std::string click) : clickLabel(std::move(click)) {}
    bool read(); // false while no panel is shown
    std::string clickLabel;
    bool seen = false;
    std::string title, text, secondary;
    bool markup = true, secondaryMarkup = true;
    int width = 0;
    std::vector<std::string> buttons;
    std::shared_ptr<void> reading = everyTick([this] { return read(); });
};

// Serves the main loop until done() holds or the limit passes; returns done().
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20));

// The settled value of a page's Promise.
struct PageResult {
    bool settled = false, rejected = false;
    ScriptValue value;
};

class ShellHarness {
public:
    ShellHarness();
    ~ShellHarness();

    // False when GTK could not open a display; the test should skip.
    static bool displayAvailable();

    void writePreset(const std::string& fileName, const std::string& text);
    std::string presetFileText(const std::string& fileName) const;
    std::filesystem::path presetFolder() const;
    // The real settings file the shell reads, in a temporary folder.
    std::filesystem::path settingsFile() const;

    // Creates and starts the shell; returns once page-ready handling has run.
    void start();
    Shell& shell() { return *shell_; }
    TesselAppDelegate& controller() { return shell_->controller(); }

    ScriptValue main(const std::string& script) { return shell_->mainPage().evaluate(script); }
    ScriptValue config(const std::string& script) { return shell_->configPage().evaluate(script); }
    // Evaluates an expression whose value may be a Promise, and waits until it settles.
    PageResult awaitMain(const std::string& expression) { return awaitIn(shell_->mainPage(), expression); }
    PageResult awaitConfig(const std::string& expression) {
        return awaitIn(shell_->configPage(), expression);
    }

    // The names the main page lists, in order; the files it marks active, joined by commas; the
    // text of its open notice ("" when none is open).
    std::vector<std::string> listedPresetNames();
    std::string markedPresets() {
        return main("$('.preset.selected').map((i, e) => $(e).data('file')).get().join()").text();
    }
    std::string notice() { return main("$('#notice.open #noticeText').text()").text(); }
    // A virtual pad, plugged in until the shell has gone.
    VirtualJoystick& plug(int axes, int buttons, int hats, uint16_t vendor = 0, uint16_t product = 0);
    // As the user does: the first entry's Edit button, or the editor's close button (or the given
    // script in its page). True once the editor window is shown or hidden.
    bool openEditor();
    bool closeEditor(const std::string& script = "");

    FakeDialogs dialogs;
    FakeDesktop desktop;
    RecordingSink sink;
    bool useRecordingSink = true; // false: the shell picks the real sink as the app does
    bool useRealDialogs = false;  // true: the GTK panels instead of `dialogs`
    // The application's connection and object path, where desktop helpers report the focus.
    GDBusConnection* bus = nullptr;
    std::string busObjectPath;
    FocusMonitor* focusMonitor = nullptr; // null: the one the session offers
    // How long the main window waits for its page to be filled: long enough that it is, however
    // busy the machine.
    std::chrono::milliseconds mainWindowWait = std::chrono::minutes(1);
    int quitCount = 0;

private:
    PageResult awaitIn(WebPage& page, const std::string& expression);

    TempFolder data_, config_;
    std::optional<SdlJoystickSession> pads_;
    std::unique_ptr<Shell> shell_;
};

// A test of the shell, skipped when there is no display. Given presets (file name and text), it
// writes them and starts the shell before the test body runs.
class HarnessTest : public ::testing::Test {
protected:
    HarnessTest() = default;
    explicit HarnessTest(std::map<std::string, std::string> presets) : presets_(std::move(presets)) {}
    void SetUp() override;

    ShellHarness harness;

private:
    std::map<std::string, std::string> presets_;
};

// What a program printed, and its exit status (-1: it did not exit).
struct ProgramOutcome {
    int exit = -1;
    std::string out, err;
};
// Runs a program (looked up in PATH) while the main loop keeps serving the app.
ProgramOutcome runProgram(const std::vector<std::string>& words);

// A HarnessTest with one preset, "Pad.txt" named "Pad".
class PadTest : public HarnessTest {
protected:
    PadTest() : HarnessTest({{"Pad.txt", presetText("Pad")}}) {}
};

// Runs everything the main loop has ready, including work deferred to idle.
void drainMainLoop();

} // namespace padloom::test
