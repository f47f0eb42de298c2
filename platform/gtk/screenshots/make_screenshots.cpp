// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_screenshots OUTDIR: starts the desktop shell on a fresh preset folder holding the
// example presets and a virtual Xbox pad, opens one of them in the editor, and writes the two
// windows as PNG files (main-window.png, preset-editor.png, preset-editor-live.png with the pad's
// control of the first bind held, preset-editor-members.png with a layer, modes and a sequence,
// and preset-editor-sticks.png with a stick added and held) for the README. Run it under a
// display (make screenshots uses Xvfb); it touches none of the user's presets or settings.
#include "engine/null_sink.h"
#include "platform/gtk/shell/keyfile_settings_store.h"
#include "platform/gtk/shell/resource_locator.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/web/web_sandbox.h"

#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtk/gtk.h>
#include <string>

namespace {

using namespace padloom;

// Nothing reaches the desktop while the pictures are taken.
class SilentDialogs : public Dialogs {
public:
    void showAlert(const std::string& message) override {
        std::fprintf(stderr, "alert: %s\n", message.c_str());
    }
    bool confirm(const std::string&) override { return true; }
};

class NoDesktop : public DesktopServices {
public:
    void openUri(const std::string&, NothingOpened) override {}
    void revealFolder(const std::string&, NothingOpened) override {}
};

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(2000);
    }
    return true;
}

// Lets the pages finish their transitions and paint.
void settle(std::chrono::milliseconds time) {
    pumpUntil([] { return false; }, time);
}

// Draws the window's widgets into an image, as GTK paints them on screen.
bool savePng(GtkWindow* window, const std::filesystem::path& path) {
    GtkWidget* widget = GTK_WIDGET(window);
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(widget, cr);
    cairo_destroy(cr);
    bool saved = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!saved) {
        std::fprintf(stderr, "padloom_screenshots: can't write %s\n", path.c_str());
    }
    return saved;
}

// A virtual pad that SDL knows as an Xbox 360 controller, so the editor names its controls.
class ShowcasePad {
public:
    ShowcasePad() {
        SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
        // Outlasts the application's own use of both, so the pad and its mapping stay.
        held_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = 6;
        desc.nbuttons = 11;
        desc.nhats = 1;
        desc.vendor_id = 0x045e;
        desc.product_id = 0x028e;
        const int index = held_ ? SDL_JoystickAttachVirtualEx(&desc) : -1;
        pad_ = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        // The layout of Linux's driver for this pad, in place of the one SDL makes from the counts.
        char guid[33] = "";
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        const std::string mapping =
            std::string(guid) +
            ",Xbox 360 Controller,a:b0,b:b1,x:b2,y:b3,back:b6,guide:b8,start:b7,leftstick:b9,rightstick:b10,"
            "leftshoulder:b4,rightshoulder:b5,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,leftx:a0,lefty:"
            "a1,"
            "lefttrigger:a2,rightx:a3,righty:a4,righttrigger:a5,";
        SDL_GameControllerAddMapping(mapping.c_str());
    }
    ~ShowcasePad() {
        if (pad_) {
            SDL_JoystickClose(pad_);
        }
        if (held_) {
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        }
    }
    // Holds the control an input text names ("btn 0", "axi 1 -", "hat 0 U").
    void hold(const std::string& input) {
        int index = 0;
        char direction = 0;
        if (pad_ == nullptr || std::sscanf(input.c_str() + 3, " %d %c", &index, &direction) < 1) {
            return;
        }
        if (input.rfind("btn", 0) == 0) {
            SDL_JoystickSetVirtualButton(pad_, index, SDL_PRESSED);
        } else if (input.rfind("axi", 0) == 0) {
            SDL_JoystickSetVirtualAxis(pad_, index, direction == '-' ? -26000 : 26000);
        } else if (input.rfind("hat", 0) == 0) {
            const std::string letters = "URDL";
            const size_t bit = letters.find(direction);
            SDL_JoystickSetVirtualHat(pad_, index,
                                      static_cast<Uint8>(bit == std::string::npos ? 0 : 1u << bit));
        }
    }

private:
    bool held_ = false;
    SDL_Joystick* pad_ = nullptr;
};

struct Folder {
    std::filesystem::path path;
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "padloom-shots-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: padloom_screenshots OUTDIR\n");
        return 2;
    }
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "padloom_screenshots: needs a display (try: xvfb-run -a ...)\n");
        return 1;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::string resources = findResourceDir();
    if (resources.empty()) {
        std::fprintf(stderr, "padloom_screenshots: no resources found\n");
        return 1;
    }

    Folder home;
    ShowcasePad pad;
    setenv("XDG_DATA_HOME", (home.path / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path / "config").c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    configureWebSandbox(resources);

    SilentDialogs dialogs;
    NoDesktop desktop;
    NullSink sink;
    KeyfileSettingsStore settings((home.path / "config" / "padloom" / "settings.ini").string());
    ShellOptions options;
    options.resourceDir = resources;
    options.dialogs = &dialogs;
    options.desktop = &desktop;
    options.settings = &settings;
    options.sink = &sink;
    int status = 1;
    {
        Shell shell(std::move(options));
        shell.start();
        const auto limit = std::chrono::seconds(30);
        bool ready = pumpUntil([&] { return shell.mainPageFills() > 0; }, limit);
        shell.menu().item(&MenuOutlets::loadExamples_mi).activate();
        ready =
            ready &&
            pumpUntil([&] { return shell.mainPage().evaluate("$('.preset').length").number() >= 5; }, limit);
        // The first example in the list, opened with its Edit button as a user would.
        shell.mainPage().evaluate("$('.preset .edit').first().click(); true");
        ready = ready &&
                pumpUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(shell.configWindow())); }, limit);
        settle(std::chrono::milliseconds(1500));
        ready = ready && savePng(shell.mainWindow(), out / "main-window.png") &&
                savePng(shell.configWindow(), out / "preset-editor.png");
        pad.hold(shell.configPage().evaluate("readBindInput($('.bind').first())").text());
        ready =
            ready &&
            pumpUntil([&] { return shell.configPage().evaluate("$('.bind.live-on').length").number() > 0; },
                      limit);
        settle(std::chrono::milliseconds(1500));
        ready = ready && savePng(shell.configWindow(), out / "preset-editor-live.png");
        // The example with modes, a layer and a sequence, its layer chosen.
        GtkWidget* editor = GTK_WIDGET(shell.configWindow());
        gtk_window_close(shell.configWindow());
        ready = ready && pumpUntil([&] { return !gtk_widget_get_visible(editor); }, limit);
        shell.mainPage().evaluate("$('.preset').filter((i, e) => $(e).find('text > h2').text() === 'Shooter')"
                                  ".find('.edit').click(); true");
        ready = ready && pumpUntil([&] { return gtk_widget_get_visible(editor); }, limit);
        shell.configPage().evaluate(
            "$('select.layer-choice').first().val($('select.layer-choice option').eq(1)"
            ".val()).trigger('change'); $('itemgroup')[0].scrollIntoView(); true");
        settle(std::chrono::milliseconds(1500));
        ready = ready && savePng(shell.configWindow(), out / "preset-editor-members.png");
        // A stick for the left thumbstick, with a curve and acceleration, while the stick is held right.
        shell.configPage().evaluate(
            "$('.add-stick').first().click(); $('.stick input.curve').val('2')"
            ".trigger('change'); $('.stick select.acceleration').val('on').trigger('change');"
            "true");
        pad.hold("axi 0 +");
        ready = ready && pumpUntil(
                             [&] {
                                 return shell.configPage()
                                            .evaluate("$('.stick .live-dot:not(.resting)').length")
                                            .number() > 0;
                             },
                             limit);
        // After the live view has scrolled to the held stick's binds.
        settle(std::chrono::milliseconds(500));
        shell.configPage().evaluate("$('.stick')[0].scrollIntoView({block: 'center'}); true");
        settle(std::chrono::milliseconds(1000));
        if (ready && savePng(shell.configWindow(), out / "preset-editor-sticks.png")) {
            status = 0;
        }
        shell.terminateNow();
    }
    return status;
}
