// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/integration/shell_harness.h"

#include "platform/gtk/web/software_drawing.h"
#include "platform/gtk/web/web_context.h"
#include "platform/gtk/web/web_sandbox.h"
#include "tests/support/fatal_warnings.h"

#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <gio/gio.h>
#include <gtk/gtk.h>
#include <sstream>

namespace padloom::test {

std::shared_ptr<void> everyTick(std::function<bool()> step) {
    using Step = std::function<bool()>;
    const guint source = g_timeout_add_full(
        G_PRIORITY_DEFAULT, 10,
        [](gpointer f) -> gboolean {
            return (*static_cast<Step*>(f))() ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
        },
        new Step(std::move(step)), [](gpointer f) { delete static_cast<Step*>(f); });
    return std::shared_ptr<void>(nullptr, [source](void*) {
        if (GSource* pending = g_main_context_find_source_by_id(nullptr, source)) {
            g_source_destroy(pending);
        }
    });
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    // Wakes the loop every 10 ms, so conditions that change outside it (the polling thread, SDL) are seen.
    const auto wake = everyTick([] { return false; });
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

bool PanelReader::read() {
    GList* windows = gtk_window_list_toplevels();
    GtkMessageDialog* dialog = nullptr;
    for (GList* it = windows; it; it = it->next) {
        if (GTK_IS_MESSAGE_DIALOG(it->data) && gtk_widget_get_visible(GTK_WIDGET(it->data))) {
            dialog = GTK_MESSAGE_DIALOG(it->data);
        }
    }
    g_list_free(windows);
    if (!dialog || !gtk_widget_get_mapped(GTK_WIDGET(dialog))) {
        return false;
    }
    seen = true;
    width = gtk_widget_get_allocated_width(GTK_WIDGET(dialog));
    g_autofree gchar* shownText = nullptr;
    g_autofree gchar* shownSecondary = nullptr;
    gboolean textMarkup = TRUE, secondaryTextMarkup = TRUE;
    g_object_get(dialog, "text", &shownText, "secondary-text", &shownSecondary, "use-markup", &textMarkup,
                 "secondary-use-markup", &secondaryTextMarkup, nullptr);
    text = shownText ? shownText : "";
    secondary = shownSecondary ? shownSecondary : "";
    markup = textMarkup;
    secondaryMarkup = secondaryTextMarkup;
    const char* shownTitle = gtk_window_get_title(GTK_WINDOW(dialog));
    title = shownTitle ? shownTitle : "";
    GtkWidget* click = nullptr;
    for (GtkResponseType response : {GTK_RESPONSE_NO, GTK_RESPONSE_YES, GTK_RESPONSE_OK}) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response);
        const char* label =
            button && GTK_IS_BUTTON(button) ? gtk_button_get_label(GTK_BUTTON(button)) : nullptr;
        if (!label) {
            continue;
        }
        buttons.push_back(label);
        if (clickLabel == label) {
            click = button;
        }
    }
    if (click) {
        gtk_button_clicked(GTK_BUTTON(click));
    }
    return true;
}

bool ShellHarness::displayAvailable() {
    // The app's own drawing settings, taken before GTK opens the display.
    static const bool available = [] {
        test::makeWarningsFatal();
        drawWithoutGpu();
        keepWebKitLight();
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    return available;
}

ShellHarness::ShellHarness() {
    setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
}

ShellHarness::~ShellHarness() {
    shell_.reset();
    pads_.reset();
    SDL_Quit();
}

std::filesystem::path ShellHarness::settingsFile() const {
    return config_.path() / "padloom" / "settings.ini";
}

std::filesystem::path ShellHarness::presetFolder() const {
    return data_.path() / "Padloom" / "presets";
}

void ShellHarness::writePreset(const std::string& fileName, const std::string& text) {
    std::filesystem::create_directories(presetFolder());
    std::ofstream(presetFolder() / fileName, std::ios::binary) << text;
}

std::string ShellHarness::presetFileText(const std::string& fileName) const {
    std::ifstream in(presetFolder() / fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void ShellHarness::start() {
    ShellOptions options;
    // A copy elsewhere when the build folder is out of the test user's reach (tests/wayland).
    const char* resources = std::getenv("PADLOOM_TEST_RESOURCES");
    options.resourceDir =
        resources != nullptr && *resources != '\0' ? resources : PADLOOM_BINARY_DIR "/resources";
    static const bool sandboxConfigured = (configureWebSandbox(options.resourceDir), true);
    (void)sandboxConfigured;
    options.dialogs = useRealDialogs ? nullptr : &dialogs;
    options.desktop = &desktop;
    options.sink = useRecordingSink ? &sink : nullptr;
    options.quit = [this] { ++quitCount; };
    options.bus = bus;
    options.busObjectPath = busObjectPath;
    options.focusMonitor = focusMonitor;
    options.mainWindowWait = mainWindowWait;
    shell_ = std::make_unique<Shell>(std::move(options));
    shell_->start();
    pumpUntil([this] { return shell_->mainPageFills() > 0; });
}

PageResult ShellHarness::awaitIn(WebPage& page, const std::string& expression) {
    page.evaluate("window.__padloomTest = { settled: false }; Promise.resolve().then(() => (" + expression +
                  ")).then((value) => { window.__padloomTest = { settled: true, value: value }; },"
                  "        () => { window.__padloomTest = { settled: true, rejected: true }; }); true");
    PageResult result;
    result.settled =
        pumpUntil([&] { return page.evaluate("window.__padloomTest.settled") == ScriptValue(true); });
    result.rejected = page.evaluate("window.__padloomTest.rejected === true") == ScriptValue(true);
    result.value = page.evaluate("window.__padloomTest.value");
    return result;
}

VirtualJoystick& ShellHarness::plug(int axes, int buttons, int hats, uint16_t vendor, uint16_t product) {
    if (!pads_) {
        pads_.emplace();
    }
    return pads_->plug(axes, buttons, hats, vendor, product);
}

std::vector<std::string> ShellHarness::listedPresetNames() {
    std::istringstream lines(main("$('text > h2').map((i, e) => $(e).text()).get().join('\\n')").text());
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line);
    }
    return names;
}

bool ShellHarness::openEditor() {
    GtkWidget* editor = GTK_WIDGET(shell_->configWindow());
    return main("$('.preset .edit').first().click().length") == ScriptValue(1.0) &&
           pumpUntil([&] { return gtk_widget_get_visible(editor); });
}

bool ShellHarness::closeEditor(const std::string& script) {
    GtkWidget* editor = GTK_WIDGET(shell_->configWindow());
    if (script.empty()) {
        gtk_window_close(shell_->configWindow());
    } else {
        config(script);
    }
    return pumpUntil([&] { return !gtk_widget_get_visible(editor); });
}

void HarnessTest::SetUp() {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    if (presets_.empty()) {
        return;
    }
    for (const auto& [file, text] : presets_) {
        harness.writePreset(file, text);
    }
    harness.start();
}

void drainMainLoop() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

ProgramOutcome runProgram(const std::vector<std::string>& words) {
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    argv.push_back(nullptr);
    GSubprocess* process = g_subprocess_newv(
        argv.data(), GSubprocessFlags(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_PIPE),
        nullptr);
    if (!process) {
        return {};
    }
    struct Pending {
        bool done = false;
        char *out = nullptr, *err = nullptr;
    } pending;
    const auto finish = [](GObject* source, GAsyncResult* result, gpointer data) {
        auto* p = static_cast<Pending*>(data);
        g_subprocess_communicate_utf8_finish(G_SUBPROCESS(source), result, &p->out, &p->err, nullptr);
        p->done = true;
    };
    g_subprocess_communicate_utf8_async(process, nullptr, nullptr, finish, &pending);
    if (!pumpUntil([&] { return pending.done; }, std::chrono::seconds(40))) {
        g_subprocess_force_exit(process);
        pumpUntil([&] { return pending.done; });
    }
    ProgramOutcome outcome{g_subprocess_get_if_exited(process) ? g_subprocess_get_exit_status(process) : -1,
                           pending.out ? pending.out : "", pending.err ? pending.err : ""};
    g_free(pending.out);
    g_free(pending.err);
    g_object_unref(process);
    return outcome;
}

} // namespace padloom::test
