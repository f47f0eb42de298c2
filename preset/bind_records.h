// SPDX-License-Identifier: GPL-3.0-or-later
// The two records a bind is made of: the joystick input that triggers it and one output it
// performs. Both are four 32-bit fields; the engine copies outputs unchanged into its own records.
#pragma once

#include <cstdint>

namespace padloom {

enum class InputKind : int32_t { none = 0, button = 1, axis = 2, hat = 3 };

enum class OutputKind : int32_t { none = 0, key = 1, mouseButton = 2, mouseMotion = 3, wheel = 4, wheelStep = 5 };

struct BindInput {
    InputKind kind = InputKind::none;
    uint32_t index = 0;    // button, axis or hat number
    int32_t direction = 0; // axis: +1 or -1; hat: 1 up, 2 right, 4 down, 8 left; button: 0
    float threshold = 0;   // axis: 0.42; other kinds: 0
};

struct BindOutput {
    OutputKind kind = OutputKind::none;
    uint32_t code = 0;  // key number, mouse button number, or 0 horizontal / other vertical
    int32_t sign = 0;   // -1 or +1 for motion, wheel and wheel steps; 0 for keys and mouse buttons
    float amount = 0;   // speed factor for motion and wheel; 6 for wheel steps; 0 otherwise
};

inline bool operator==(const BindInput& a, const BindInput& b) {
    return a.kind == b.kind && a.index == b.index && a.direction == b.direction && a.threshold == b.threshold;
}
inline bool operator==(const BindOutput& a, const BindOutput& b) {
    return a.kind == b.kind && a.code == b.code && a.sign == b.sign && a.amount == b.amount;
}

} // namespace padloom
