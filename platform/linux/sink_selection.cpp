// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/sink_selection.h"

#include "platform/linux/print_sink.h"
#include "platform/linux/uinput_sink.h"
#include "platform/linux/x11_sink.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace padloom {
namespace {

constexpr struct {
    OutputChoice choice;
    const char* name;
} choiceNames[] = {
    {OutputChoice::automatic, "auto"},
    {OutputChoice::x11, "x11"},
    {OutputChoice::uinput, "uinput"},
    {OutputChoice::print, "print"},
};

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

bool nonEmpty(const std::optional<std::string>& value) {
    return value && !value->empty();
}

bool isWaylandSession(const SinkEnvironment& environment) {
    return environment.sessionType == "wayland" || nonEmpty(environment.waylandDisplay);
}

struct Attempt {
    std::unique_ptr<EventSink> sink;
    std::string whyNot;
};

// An explicit x11 choice is tried on a Wayland session too (XWayland programs do receive it);
// auto leaves Wayland to uinput, which reaches every program.
Attempt tryX11(const SinkEnvironment& environment, bool explicitChoice) {
    if (!nonEmpty(environment.display)) {
        return {nullptr, "There is no X display (DISPLAY is not set)."};
    }
    if (!explicitChoice && isWaylandSession(environment)) {
        return {nullptr, "This is a Wayland session, where X11 input would reach only X11 programs."};
    }
    Attempt attempt;
    attempt.sink = X11Sink::open(environment.display->c_str(), &attempt.whyNot);
    return attempt;
}

Attempt tryUinput(const SinkEnvironment& environment) {
    Attempt attempt;
    attempt.sink = UinputSink::create(environment.uinputPath, std::nullopt, &attempt.whyNot);
    return attempt;
}

Attempt attempt(OutputChoice choice, const SinkEnvironment& environment, bool explicitChoice) {
    return choice == OutputChoice::x11 ? tryX11(environment, explicitChoice) : tryUinput(environment);
}

std::vector<OutputChoice> realSinksInOrder(OutputChoice choice) {
    if (choice == OutputChoice::uinput) {
        return {OutputChoice::uinput, OutputChoice::x11};
    }
    return {OutputChoice::x11, OutputChoice::uinput};
}

void appendSentence(std::string& text, const std::string& sentence) {
    if (!text.empty()) {
        text += ' ';
    }
    text += sentence;
}

} // namespace

std::optional<OutputChoice> parseOutputChoice(std::string_view text) {
    for (const auto& entry : choiceNames) {
        if (text == entry.name) {
            return entry.choice;
        }
    }
    return std::nullopt;
}

const char* outputChoiceName(OutputChoice choice) {
    for (const auto& entry : choiceNames) {
        if (entry.choice == choice) {
            return entry.name;
        }
    }
    return "auto";
}

OutputChoice outputChoiceFromEnvironment(std::string* warning) {
    const std::optional<std::string> value = environmentValue("PADLOOM_OUTPUT");
    if (!nonEmpty(value)) {
        return OutputChoice::automatic;
    }
    if (const std::optional<OutputChoice> choice = parseOutputChoice(*value)) {
        return *choice;
    }
    if (warning) {
        *warning = "PADLOOM_OUTPUT=\"" + *value +
                   "\" is not one of auto, x11, uinput, print; choosing automatically.";
    }
    return OutputChoice::automatic;
}

SinkEnvironment SinkEnvironment::fromProcess() {
    SinkEnvironment environment;
    environment.display = environmentValue("DISPLAY");
    environment.sessionType = environmentValue("XDG_SESSION_TYPE");
    environment.waylandDisplay = environmentValue("WAYLAND_DISPLAY");
    return environment;
}

SinkSelection selectEventSink(OutputChoice choice) {
    return selectEventSink(choice, SinkEnvironment::fromProcess());
}

SinkSelection selectEventSink(OutputChoice choice, const SinkEnvironment& environment) {
    SinkSelection selection;
    if (choice == OutputChoice::print) {
        selection.sink = std::make_unique<PrintSink>(stdout);
        selection.name = "print";
        return selection;
    }
    const bool explicitChoice = choice != OutputChoice::automatic;
    std::string reasons;
    for (OutputChoice candidate : realSinksInOrder(choice)) {
        Attempt result = attempt(candidate, environment, explicitChoice && candidate == choice);
        if (result.sink) {
            selection.sink = std::move(result.sink);
            selection.name = outputChoiceName(candidate);
            if (!reasons.empty()) {
                appendSentence(reasons, std::string("Using ") + selection.name + " instead.");
            } else if (candidate == OutputChoice::x11 && explicitChoice && isWaylandSession(environment)) {
                reasons = "On this Wayland session, X11 input reaches only X11 programs.";
            }
            selection.warning = reasons;
            return selection;
        }
        const std::string label = explicitChoice && candidate == choice
                                      ? std::string(outputChoiceName(choice)) + " (as chosen):"
                                      : std::string(outputChoiceName(candidate)) + ":";
        appendSentence(reasons, label + " " + result.whyNot);
    }
    selection.sink = std::make_unique<PrintSink>(stdout);
    selection.name = "print";
    selection.warning =
        "No synthetic input can reach the desktop, so events are printed to standard output. " + reasons;
    return selection;
}

} // namespace padloom
