// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl run PRESET [--output auto|x11|uinput|print]: activates a preset without the desktop
// app, with the options the app stored, until SIGINT, SIGTERM or SIGHUP. Standard output carries
// only the events of the print output; everything else goes to standard error.
#include "app/pads/joystick_listing.h"
#include "app/presets/folders.h"
#include "app/running/headless_session.h"
#include "app/running/stop_signals.h"
#include "platform/linux/sink_selection.h"
#include "tools/padloomctl/commands.h"
#include "tools/padloomctl/stdout_to_stderr.h"

#include "platform/gtk/shell/keyfile_settings_store.h"

#include <SDL.h>
#include <cstdio>
#include <filesystem>
#include <map>

namespace padloom::ctl {
namespace {

struct RunArgs {
    std::string preset;
    OutputChoice output = OutputChoice::automatic;
    bool outputGiven = false;
};

// Empty on success, else the usage problem.
std::string parseRunArgs(const Args& args, RunArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (arg == "--output") {
            if (i + 1 >= args.size()) {
                return "--output needs a value: auto, x11, uinput or print";
            }
            value = args[++i];
        } else if (arg.rfind("--output=", 0) == 0) {
            value = arg.substr(9);
        } else if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
            return "unknown option '" + arg + "'";
        } else if (out.preset.empty()) {
            out.preset = arg;
            continue;
        } else {
            return "run takes one preset";
        }
        const std::optional<OutputChoice> choice = parseOutputChoice(value);
        if (!choice) {
            return "unknown output '" + value + "': use auto, x11, uinput or print";
        }
        if (out.outputGiven) {
            return "--output given twice";
        }
        out.outputGiven = true;
        out.output = *choice;
    }
    if (out.preset.empty()) {
        return "run needs a preset file";
    }
    return {};
}

// A path as given, or else a file of that name in the preset folder.
std::string resolvePreset(const std::string& preset) {
    std::error_code error;
    if (std::filesystem::exists(preset, error) || preset.find('/') != std::string::npos) {
        return preset;
    }
    const Outcome<std::string> folder = presetFolder();
    if (folder && std::filesystem::exists(*folder + preset, error)) {
        return *folder + preset;
    }
    return preset;
}

// The options the desktop app stored (lock cursor, avoid corners, Minecraft fix).
HeadlessOptions loadOptions() {
    KeyfileSettingsStore settings;
    return storedHeadlessOptions(settings);
}

void reportPadChange(const PadChange& change) {
    std::fprintf(stderr, "padloomctl: %s\n", padChangeText(change).c_str());
}

void reportSwitch(const std::string& path, const std::string& problem) {
    if (problem.empty()) {
        std::fprintf(stderr, "padloomctl: switched to %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "padloomctl: no switch to %s %s stays on.\n", problem.c_str(), path.c_str());
    }
}

} // namespace

int runCommand(const Args& args) {
    StopSignals stopSignals; // until the preset has loaded, a stop signal ends the run at once
    RunArgs run;
    const std::string problem = parseRunArgs(args, run);
    if (!problem.empty()) {
        return usageError(problem);
    }
    if (!run.outputGiven) {
        std::string warning;
        run.output = outputChoiceFromEnvironment(&warning);
        if (!warning.empty()) {
            std::fprintf(stderr, "padloomctl: %s\n", warning.c_str());
        }
    }
    const std::string path = resolvePreset(run.preset);
    const HeadlessOptions options = loadOptions();
    SinkSelection selection = selectEventSink(run.output);
    if (!selection.warning.empty()) {
        std::fprintf(stderr, "padloomctl: %s\n", selection.warning.c_str());
    }

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "padloomctl: no display bounds (%s); the cursor is not confined\n",
                     SDL_GetError());
    }

    StdoutToStderr loadMessages;
    int joysticks = 0;
    bool loaded = false;
    HeadlessHooks hooks;
    hooks.loaded = [&](int count) {
        loaded = true;
        joysticks = count;
        loadMessages.restore();
        stopSignals.arm();
    };
    bool announced = false;
    hooks.waitForStop = [&] {
        if (!announced) {
            std::fprintf(stderr, "padloomctl: %s active (%s, output %s); Ctrl+C stops\n", path.c_str(),
                         joystickCountText(joysticks).c_str(), selection.name.c_str());
            announced = true;
        }
        stopSignals.wait();
    };
    hooks.wake = [&stopSignals] { stopSignals.wake(); };
    hooks.padChanged = reportPadChange;
    hooks.switched = reportSwitch;
    bool ran = false;
    {
        PresetRunner runner; // gone before SDL quits; the sink outlives it
        runner.engine.eventSink.set(selection.sink.get());
        ran = static_cast<bool>(runPresetUntilStopped(runner, path, options, hooks));
    }
    loadMessages.restore();

    SDL_Quit();
    if (ran) {
        std::fputs("padloomctl: deactivated\n", stderr);
        return exitOk;
    }
    if (!loaded) {
        std::fprintf(stderr, "padloomctl: can't load preset %s\n", path.c_str());
    } else {
        std::fputs("No Joysticks Connected\n", stderr);
    }
    return exitFailed;
}

} // namespace padloom::ctl
