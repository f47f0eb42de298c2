// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic keyboard, auxiliary-key, mouse-button and scroll events. Each call posts at most one
// event through the engine's event sink; nothing is queued.
#pragma once

#include <cstdint>

namespace padloom {

class Engine;

constexpr uint64_t shiftFlag = 0x20000;
constexpr uint64_t controlFlag = 0x40000;
constexpr uint64_t optionFlag = 0x80000;
constexpr uint64_t commandFlag = 0x100000;

// A preset key number 0 to 314; numbers without a key (and outside the table) post nothing.
void postKey(Engine& engine, uint32_t keyNumber, bool down);
// A virtual key code; modifier keys update the engine's modifierFlags, other keys carry them.
void postKeyboardEvent(Engine& engine, int32_t keyCode, bool down);
// An auxiliary key type (0 volume up ... 22 illumination down).
void postSystemKey(Engine& engine, int32_t keyType, bool down);

// What the data word of an auxiliary-key event says. The word holds the key type in bits 16 to 31,
// the key state in bits 8 to 15 (0x0A a press; the engine writes 0 for a release, and every state
// but 0x0A reads as one) and the repeat flag in bit 0, which the engine never sets.
struct SystemKeyData {
    int32_t keyType = 0;
    bool down = false;
    bool repeat = false;
};
int32_t encodeSystemKeyData(const SystemKeyData& data);
SystemKeyData decodeSystemKeyData(int32_t data1);
// Mouse button 0 to 7 at the cursor, with click counting on the engine's clock; others post nothing.
void postMouseButton(Engine& engine, uint32_t button, bool down);
// Amounts in wheel units, positive to the right and down; continuous posts pixels, otherwise lines.
void postScroll(Engine& engine, float x, float y, bool continuous);

// A float truncated toward zero, held within int32_t (NaN gives 0). Rates come from preset numbers,
// which may be far outside the range of an event field.
int32_t truncateToInt32(float value);

} // namespace padloom
