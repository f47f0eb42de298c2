// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/padloomctl/replay_script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace padloom::ctl {
namespace {

// Limits that keep a mistyped number from turning into an endless run or an absurd layout.
constexpr int64_t maxControls = 255; // SDL numbers a device's controls with one byte
constexpr int64_t maxDevices = 16;
constexpr size_t maxDisplays = 16;
constexpr int64_t maxTicks = 1'000'000;
constexpr int64_t maxWaitMs = std::numeric_limits<int32_t>::max();
constexpr int64_t maxDisplaySide = 65536;
constexpr int64_t maxDisplayOffset = 1'000'000;
constexpr float maxCoordinate = 1e7f;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            ++i;
        }
        if (i > start) {
            out.push_back(line.substr(start, i - start));
        }
    }
    return out;
}

// A whole word as a decimal integer within [low, high].
std::optional<int64_t> integer(std::string_view word, int64_t low, int64_t high) {
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> coordinate(std::string_view word) {
    const std::string text(word);
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > maxCoordinate) {
        return std::nullopt;
    }
    return value;
}

// One signed offset of a display: "+X", "-X" or "+-X".
std::optional<int64_t> offset(std::string_view& rest) {
    if (rest.empty() || (rest[0] != '+' && rest[0] != '-')) {
        return std::nullopt;
    }
    const bool negative = rest[0] == '-';
    rest.remove_prefix(1);
    size_t digits = (!negative && !rest.empty() && rest[0] == '-') ? 1 : 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        ++digits;
    }
    const auto value = integer(rest.substr(0, digits), -maxDisplayOffset, maxDisplayOffset);
    rest.remove_prefix(digits);
    if (!value) {
        return std::nullopt;
    }
    return negative ? -*value : *value;
}

// "WxH+X+Y"; X and Y may be negative ("-1280+0" or "+-1280+0").
std::optional<SDL_Rect> display(std::string_view word) {
    const size_t x = word.find('x');
    const size_t sign = word.find_first_of("+-");
    if (x == std::string_view::npos || sign == std::string_view::npos || sign < x) {
        return std::nullopt;
    }
    const auto w = integer(word.substr(0, x), 1, maxDisplaySide);
    const auto h = integer(word.substr(x + 1, sign - x - 1), 1, maxDisplaySide);
    std::string_view rest = word.substr(sign);
    const auto left = offset(rest);
    const auto top = offset(rest);
    if (!w || !h || !left || !top || !rest.empty()) {
        return std::nullopt;
    }
    return SDL_Rect{static_cast<int>(*left), static_cast<int>(*top), static_cast<int>(*w),
                    static_cast<int>(*h)};
}

class LineReader {
public:
    LineReader(int number, std::vector<std::string_view> w, ScriptError& error)
        : w_(std::move(w)), error_(error) {
        line_.number = number;
    }

    std::optional<ReplayLine> read() {
        const std::string_view command = w_[0];
        if (command == "device" || command == "plug") {
            return shape(command == "device" ? ReplayOp::device : ReplayOp::plug);
        }
        if (command == "displays") {
            return displays();
        }
        if (command == "option") {
            return option();
        }
        if (command == "cursor") {
            return cursor();
        }
        if (command == "button" || command == "axis" || command == "hat") {
            return joystickEvent(command);
        }
        if (command == "tick") {
            return tick();
        }
        if (command == "wait") {
            return wait();
        }
        if (command == "deactivate") {
            return bare(ReplayOp::deactivate, "deactivate");
        }
        if (command == "unplug" || command == "replug") {
            return hotplug(command == "unplug" ? ReplayOp::unplug : ReplayOp::replug);
        }
        return fail("unknown command '" + std::string(command) + "'");
    }

private:
    std::optional<ReplayLine> fail(std::string message) {
        error_ = {line_.number, std::move(message)};
        return std::nullopt;
    }

    std::optional<ReplayLine> usage(const char* form) { return fail(std::string("expected '") + form + "'"); }

    std::optional<ReplayLine> shape(ReplayOp op) {
        const char* form = op == ReplayOp::device ? "device AXES BUTTONS HATS" : "plug AXES BUTTONS HATS";
        if (w_.size() != 4) {
            return usage(form);
        }
        const auto axes = integer(w_[1], 0, maxControls);
        const auto buttons = integer(w_[2], 0, maxControls);
        const auto hats = integer(w_[3], 0, maxControls);
        if (!axes || !buttons || !hats) {
            return fail(std::string("expected '") + form + "' with counts from 0 to 255");
        }
        line_.op = op;
        line_.a = *axes;
        line_.b = *buttons;
        line_.c = *hats;
        return line_;
    }

    std::optional<ReplayLine> displays() {
        if (w_.size() < 2) {
            return usage("displays WxH+X+Y ...");
        }
        if (w_.size() - 1 > maxDisplays) {
            return fail("a displays line lists at most 16 displays");
        }
        line_.op = ReplayOp::displays;
        for (size_t i = 1; i < w_.size(); ++i) {
            const auto d = display(w_[i]);
            if (!d) {
                return fail("'" + std::string(w_[i]) +
                            "' is not a display: expected WxH+X+Y, e.g. 1920x1080+0+0");
            }
            line_.displays.push_back(*d);
        }
        return line_;
    }

    std::optional<ReplayLine> option() {
        const char* form = "option lock|corners|minecraft on|off";
        if (w_.size() != 3 || (w_[2] != "on" && w_[2] != "off")) {
            return usage(form);
        }
        if (w_[1] == "lock") {
            line_.option = ReplayOption::lock;
        } else if (w_[1] == "corners") {
            line_.option = ReplayOption::corners;
        } else if (w_[1] == "minecraft") {
            line_.option = ReplayOption::minecraft;
        } else {
            return usage(form);
        }
        line_.op = ReplayOp::option;
        line_.on = w_[2] == "on";
        return line_;
    }

    std::optional<ReplayLine> cursor() {
        if (w_.size() == 2 && w_[1] == "hidden") {
            line_.op = ReplayOp::cursorHidden;
            return line_;
        }
        if (w_.size() == 2 && w_[1] == "visible") {
            line_.op = ReplayOp::cursorVisible;
            return line_;
        }
        if (w_.size() != 3) {
            return usage("cursor X Y', 'cursor hidden' or 'cursor visible");
        }
        const auto x = coordinate(w_[1]);
        const auto y = coordinate(w_[2]);
        if (!x || !y) {
            return fail("expected 'cursor X Y' with X and Y from -10000000 to 10000000");
        }
        line_.op = ReplayOp::cursorAt;
        line_.x = *x;
        line_.y = *y;
        return line_;
    }

    std::optional<ReplayLine> joystickEvent(std::string_view command) {
        const char* form = command == "button" ? "button D N down|up"
                           : command == "axis" ? "axis D N VALUE"
                                               : "hat D N VALUE";
        if (w_.size() != 4) {
            return usage(form);
        }
        const auto deviceNumber = integer(w_[1], 0, maxDevices - 1);
        const auto control = integer(w_[2], 0, maxControls - 1);
        if (!deviceNumber || !control) {
            return fail(std::string("expected '") + form + "' with D from 0 to 15 and N from 0 to 254");
        }
        line_.a = *deviceNumber;
        line_.b = *control;
        if (command == "button") {
            if (w_[3] != "down" && w_[3] != "up") {
                return usage(form);
            }
            line_.op = ReplayOp::button;
            line_.c = w_[3] == "down" ? 1 : 0;
        } else if (command == "axis") {
            const auto value = integer(w_[3], -32768, 32767);
            if (!value) {
                return fail("an axis VALUE goes from -32768 to 32767");
            }
            line_.op = ReplayOp::axis;
            line_.c = *value;
        } else {
            // The positions a hat can report: centred, the four directions and the four diagonals.
            const auto value = integer(w_[3], 0, 12);
            if (!value || *value == 5 || *value == 7 || *value == 10 || *value == 11) {
                return fail("a hat VALUE is one of 0 (centred), 1 up, 2 right, 4 down, 8 left, 3, 6, 9, 12");
            }
            line_.op = ReplayOp::hat;
            line_.c = *value;
        }
        return line_;
    }

    std::optional<ReplayLine> tick() {
        const auto count = w_.size() == 1   ? std::optional<int64_t>(1)
                           : w_.size() == 2 ? integer(w_[1], 1, maxTicks)
                                            : std::nullopt;
        if (!count) {
            return fail("expected 'tick [COUNT]' with a COUNT from 1 to 1000000");
        }
        line_.op = ReplayOp::tick;
        line_.a = *count;
        return line_;
    }

    std::optional<ReplayLine> wait() {
        const auto ms = w_.size() == 2 ? integer(w_[1], 0, maxWaitMs) : std::nullopt;
        if (!ms) {
            return fail("expected 'wait MS' with MS from 0 to 2147483647");
        }
        line_.op = ReplayOp::wait;
        line_.a = *ms;
        return line_;
    }

    std::optional<ReplayLine> hotplug(ReplayOp op) {
        const auto deviceNumber = w_.size() == 2 ? integer(w_[1], 0, maxDevices - 1) : std::nullopt;
        if (!deviceNumber) {
            return fail(std::string("expected '") + (op == ReplayOp::unplug ? "unplug" : "replug") +
                        " D' with D from 0 to 15");
        }
        line_.op = op;
        line_.a = *deviceNumber;
        return line_;
    }

    // A command that takes no arguments.
    std::optional<ReplayLine> bare(ReplayOp op, const char* form) {
        if (w_.size() != 1) {
            return usage(form);
        }
        line_.op = op;
        return line_;
    }

    std::vector<std::string_view> w_;
    ScriptError& error_;
    ReplayLine line_;
};

} // namespace

std::optional<ReplayScript> parseReplayScript(std::string_view text, ScriptError& error) {
    ReplayScript script;
    bool sawEvent = false;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        line = line.substr(0, line.find('#'));
        auto w = words(line);
        if (w.empty()) {
            continue;
        }
        auto parsed = LineReader(number, std::move(w), error).read();
        if (!parsed) {
            return std::nullopt;
        }
        if (parsed->op == ReplayOp::device && sawEvent) {
            error = {number, "device lines must come before the first button, axis, hat or plug line"};
            return std::nullopt;
        }
        if (parsed->op == ReplayOp::device &&
            std::count_if(script.lines.begin(), script.lines.end(),
                          [](const ReplayLine& l) { return l.op == ReplayOp::device; }) >= maxDevices) {
            error = {number, "a script simulates at most 16 devices"};
            return std::nullopt;
        }
        sawEvent = sawEvent || parsed->isJoystickEvent() || parsed->isHotplug();
        script.lines.push_back(std::move(*parsed));
    }
    return script;
}

std::vector<DeviceShape> replayDevices(const ReplayScript& script, size_t presetSections) {
    std::vector<DeviceShape> devices;
    for (const ReplayLine& line : script.lines) {
        if (line.op == ReplayOp::device) {
            devices.push_back(line.shape());
        }
    }
    if (devices.empty()) {
        const size_t count = std::min<size_t>(std::max<size_t>(presetSections, 1), maxDevices);
        devices.resize(count);
    }
    return devices;
}

std::optional<ScriptError> checkReplayEvents(const ReplayScript& script, std::vector<DeviceShape> devices) {
    std::vector<bool> plugged(devices.size(), true);
    for (const ReplayLine& line : script.lines) {
        if (line.op == ReplayOp::plug) {
            if (devices.size() >= static_cast<size_t>(maxDevices)) {
                return ScriptError{line.number, "a script simulates at most 16 devices"};
            }
            devices.push_back(line.shape());
            plugged.push_back(true);
            continue;
        }
        if (!line.isJoystickEvent() && !line.isHotplug()) {
            continue;
        }
        const std::string device = "device " + std::to_string(line.a);
        if (line.a >= static_cast<int64_t>(devices.size())) {
            const std::string simulated =
                std::to_string(devices.size()) + (devices.size() == 1 ? " device" : " devices");
            return ScriptError{line.number, "there is no " + device + ": the replay simulates " + simulated};
        }
        const auto number = static_cast<size_t>(line.a);
        if (line.op == ReplayOp::unplug || line.op == ReplayOp::replug) {
            const bool unplug = line.op == ReplayOp::unplug;
            if (plugged[number] != unplug) {
                return ScriptError{line.number,
                                   device + (unplug ? " is unplugged already" : " is plugged in")};
            }
            plugged[number] = !unplug;
            continue;
        }
        if (!plugged[number]) {
            return ScriptError{line.number, device + " is unplugged"};
        }
        const DeviceShape& d = devices[number];
        const char* kind = line.op == ReplayOp::button ? "button"
                           : line.op == ReplayOp::axis ? "axis"
                                                       : "hat";
        const int count = line.op == ReplayOp::button ? d.buttons
                          : line.op == ReplayOp::axis ? d.axes
                                                      : d.hats;
        if (line.b >= count) {
            return ScriptError{line.number, device + " has no " + kind + " " + std::to_string(line.b) +
                                                " (it has " + std::to_string(count) + ")"};
        }
    }
    return std::nullopt;
}

} // namespace padloom::ctl
