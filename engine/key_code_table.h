// SPDX-License-Identifier: GPL-3.0-or-later
// Preset key numbers (USB HID keyboard usages, extended at 303 to 313 with the special keys) to the
// virtual key codes the sinks translate (0 to 304), or to auxiliary key types (305 to 314).
#pragma once

#include <cstdint>

namespace padloom {

constexpr uint32_t keyCodeTableSize = 315;
// Key numbers from this one on are auxiliary keys (volume, media, illumination, eject).
constexpr uint32_t firstSystemKeyNumber = 305;
// The entry of a number that has no key.
constexpr int32_t noKeyCode = -1;

extern const int32_t keyCodeTable[keyCodeTableSize];

// Whether a preset key number posts anything: it lies inside the table and has a key there.
inline bool keyNumberHasKey(uint32_t keyNumber) {
    return keyNumber < keyCodeTableSize && keyCodeTable[keyNumber] != noKeyCode;
}

} // namespace padloom
