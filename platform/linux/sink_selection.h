// SPDX-License-Identifier: GPL-3.0-or-later
// Which event sink carries the engine's synthetic input on this machine: X11 (XTest), uinput, or
// text on standard output. PADLOOM_OUTPUT=auto|x11|uinput|print chooses; auto takes the first
// that works of x11 (an X11 session whose server answers XTest), uinput (/dev/uinput writable)
// and print.
#pragma once

#include "engine/event_sink.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace padloom {

enum class OutputChoice { automatic, x11, uinput, print };

// "auto", "x11", "uinput" or "print"; nothing for any other text.
std::optional<OutputChoice> parseOutputChoice(std::string_view text);
const char* outputChoiceName(OutputChoice choice);

// PADLOOM_OUTPUT, automatic when unset or empty. A value that names no choice also gives
// automatic, and *warning (when given) says so.
OutputChoice outputChoiceFromEnvironment(std::string* warning = nullptr);

struct SinkSelection {
    std::unique_ptr<EventSink> sink; // never null
    std::string name;                // "x11", "uinput" or "print"
    // Empty when the choice was had as asked (or auto found a real sink). Otherwise one or more
    // sentences for the user: why the preferred sink could not be had and how to fix it.
    std::string warning;
};

// What selection looks at; the defaults come from the process environment.
struct SinkEnvironment {
    std::optional<std::string> display;        // DISPLAY
    std::optional<std::string> sessionType;    // XDG_SESSION_TYPE
    std::optional<std::string> waylandDisplay; // WAYLAND_DISPLAY
    std::string uinputPath = "/dev/uinput";

    static SinkEnvironment fromProcess();
};

// An explicit choice that cannot be had falls back as auto would (the other real sink, then
// print), and the warning names the reason. print is always had.
SinkSelection selectEventSink(OutputChoice choice);
SinkSelection selectEventSink(OutputChoice choice, const SinkEnvironment& environment);

} // namespace padloom
