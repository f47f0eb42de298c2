// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl replay PRESET SCRIPT: activates the preset on simulated joysticks, displays, cursor,
// clock and motion timer, plays the script line by line and prints every event the engine posts.
// The output depends only on the preset and the script. With --explain, each group of events comes
// after the script line that caused it, and each event with a reading a person can follow.
#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "engine/manual_timer_source.h"
#include "platform/linux/print_sink.h"
#include "preset/vantry_document.h"
#include "tools/padloomctl/commands.h"
#include "tools/padloomctl/replay_explain.h"
#include "tools/padloomctl/replay_script.h"
#include "tools/padloomctl/replay_world.h"
#include "tools/padloomctl/stdout_to_stderr.h"

#include <SDL.h>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace padloom::ctl {
namespace {

constexpr uint32_t tickMs = 10;

std::optional<std::string> readScript(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return std::cin.bad() ? std::nullopt : std::optional(text.str());
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    text << file.rdbuf();
    return file.bad() ? std::nullopt : std::optional(text.str());
}

bool loadPreset(VantryDocument& document, const std::string& path) {
    const StdoutToStderr loadMessages;
    return document.load(path.c_str());
}

int badLine(const ScriptError& error) {
    std::fprintf(stderr, "line %d: %s\n", error.line, error.message.c_str());
    return exitUsage;
}

int failed(const std::string& message) {
    std::fprintf(stderr, "padloomctl: %s\n", message.c_str());
    return exitFailed;
}

// The simulated surroundings, installed as an engine's seams; they must outlive its last event.
class ReplaySeams {
public:
    ReplaySeams(Engine& engine, bool explain) {
        if (explain) {
            explainer.emplace(stdout, displays);
        }
        engine.eventSink.set(explainer ? static_cast<EventSink*>(&*explainer) : &plain);
        engine.clock.set(&clock);
        engine.timerSource.set(&timers);
        engine.displaySource.set(&displays);
    }
    ReplaySeams(const ReplaySeams&) = delete;
    ReplaySeams& operator=(const ReplaySeams&) = delete;

    // The sink that keeps the simulated cursor.
    PrintSink& sink() { return explainer ? explainer->printer() : plain; }

    ReplayDisplays displays; // first: the sinks place their cursor on it
    PrintSink plain{stdout, &displays};
    std::optional<ExplainSink> explainer;
    ReplayClock clock;
    ManualTimerSource timers;
};

// Plays the lines of a script against an active engine.
class ReplayRun {
public:
    ReplayRun(Engine& engine, ReplaySeams& seams, ReplayDevices& devices, JoystickManager& manager)
        : engine_(engine), seams_(seams), devices_(devices), manager_(manager) {
        recomputeGeometry();
    }

    // Fails when SDL could not simulate a plugged device.
    Outcome<> play(const ReplayLine& line) {
        switch (line.op) {
        case ReplayOp::device:
            break; // the devices were attached before activation
        case ReplayOp::displays:
            seams_.displays.set(line.displays);
            recomputeGeometry();
            break;
        case ReplayOp::option:
            setOption(line.option, line.on);
            break;
        case ReplayOp::cursorAt:
            seams_.sink().setCursor({line.x, line.y});
            break;
        case ReplayOp::cursorHidden:
        case ReplayOp::cursorVisible:
            seams_.sink().setCursorVisible(line.op == ReplayOp::cursorVisible);
            break;
        case ReplayOp::button:
        case ReplayOp::axis:
        case ReplayOp::hat:
            devices_.apply(line);
            deliverQueuedEvents();
            break;
        case ReplayOp::tick:
            // Time passes whether or not the preset started a motion timer.
            for (int64_t i = 0; i < line.a; ++i) {
                seams_.clock.advance(tickMs);
                seams_.timers.tick();
            }
            break;
        case ReplayOp::wait:
            seams_.clock.advance(static_cast<uint32_t>(line.a));
            break;
        case ReplayOp::deactivate:
            manager_.deinit();
            active_ = false;
            break;
        case ReplayOp::unplug:
            devices_.unplug(static_cast<size_t>(line.a));
            deliverQueuedEvents();
            break;
        case ReplayOp::replug:
        case ReplayOp::plug: {
            // Time does not pass: the pad takes its section at once.
            Outcome<> attached = line.op == ReplayOp::replug ? devices_.replug(static_cast<size_t>(line.a))
                                                             : devices_.plug(line.shape());
            if (!attached) {
                return attached;
            }
            deliverQueuedEvents();
            break;
        }
        }
        return {};
    }

private:
    // The polling loop's work, done at once: every event SDL queued for the change is evaluated in
    // queue order. Once deactivated, nothing polls any more and the events are dropped.
    void deliverQueuedEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (active_) {
                manager_.handleEvent(event);
            }
        }
    }

    void setOption(ReplayOption option, bool on) {
        switch (option) {
        case ReplayOption::lock:
            lock_ = on;
            break;
        case ReplayOption::corners:
            avoidCorners_ = on;
            break;
        case ReplayOption::minecraft:
            engine_.minecraftFix.store(on);
            break;
        }
        recomputeGeometry();
    }

    // Chosen as the desktop app chooses: the main display alone while the cursor is locked.
    void recomputeGeometry() { engine_.computeScreenGeometry(lock_, avoidCorners_); }

    Engine& engine_;
    ReplaySeams& seams_;
    ReplayDevices& devices_;
    JoystickManager& manager_;
    bool active_ = true;
    bool lock_ = false;
    bool avoidCorners_ = false;
};

// The lines of the script as written, for --explain.
std::vector<std::string> scriptLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

int replay(const VantryDocument& preset, const ReplayScript& script, const std::vector<DeviceShape>& shapes,
           const std::optional<std::string>& explainText) {
    Engine engine;
    ReplaySeams seams(engine, explainText.has_value());
    const std::vector<std::string> written =
        explainText ? scriptLines(*explainText) : std::vector<std::string>{};
    ReplayDevices devices;
    if (const Outcome<> attached = devices.attach(shapes); !attached) {
        return failed(attached.problem());
    }
    JoystickManager manager(engine); // destroyed (deinit) before the devices and SDL's subsystem
    // The replay goes on with the same preset.
    manager.switchListener = [&seams](const std::string& to) {
        if (seams.explainer) {
            seams.explainer->writeSwitch(to);
        } else {
            std::printf("switch %s\n", to.c_str());
        }
    };
    if (!manager.init(&preset)) {
        return failed("the engine found no joystick to activate the preset on");
    }
    ReplayRun run(engine, seams, devices, manager);
    for (const ReplayLine& line : script.lines) {
        if (seams.explainer && line.number > 0 && static_cast<size_t>(line.number) <= written.size()) {
            seams.explainer->setCause(line.number, written[line.number - 1]);
        }
        if (const Outcome<> played = run.play(line); !played) {
            return failed(played.problem());
        }
    }
    if (seams.explainer) {
        seams.explainer->setCause(0, "end of the script: the preset is put away");
    }
    manager.deinit();
    std::fflush(stdout);
    return std::ferror(stdout) ? failed("the events could not be written") : exitOk;
}

} // namespace

int replayCommand(const Args& given) {
    Args args = given;
    const bool explain = std::erase(args, "--explain") > 0;
    if (args.size() != 2) {
        return usageError("replay takes a preset file and a script file (- for standard input)");
    }
    const std::string& presetPath = args[0];
    const std::string& scriptPath = args[1];
    const auto text = readScript(scriptPath);
    if (!text) {
        return usageError("can't read the script " + scriptPath);
    }
    ScriptError error;
    const auto script = parseReplayScript(*text, error);
    if (!script) {
        return badLine(error);
    }
    VantryDocument preset;
    if (!loadPreset(preset, presetPath)) {
        return failed("the preset " + presetPath + " did not load");
    }
    const auto shapes = replayDevices(*script, preset.joysticks ? preset.joysticks->size() : 0);
    if (const auto bad = checkReplayEvents(*script, shapes)) {
        return badLine(*bad);
    }
    return replay(preset, *script, shapes, explain ? text : std::nullopt);
}

} // namespace padloom::ctl
