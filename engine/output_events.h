// Synthetic keyboard, auxiliary-key, mouse-button and scroll events. Each call posts at most one
// event through eventSink(); nothing is queued.
#pragma once

#include <cstdint>

namespace padloom {

constexpr uint64_t shiftFlag = 0x20000;
constexpr uint64_t controlFlag = 0x40000;
constexpr uint64_t optionFlag = 0x80000;
constexpr uint64_t commandFlag = 0x100000;

// The modifiers the engine believes held, set and cleared only by its own modifier key events.
// Lives for the whole process and survives deactivation. Touched only on the polling thread.
extern uint64_t modifierFlags;

// A preset key number 0 to 314; numbers without a key (and outside the table) post nothing.
void postKey(uint32_t keyNumber, bool down);
// A virtual key code; modifier keys update modifierFlags, other keys carry it.
void postKeyboardEvent(int32_t keyCode, bool down);
// An auxiliary key type (0 volume up ... 22 illumination down).
void postSystemKey(int32_t keyType, bool down);

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
// Mouse button 0 to 7 at the cursor, with click counting on engineClock(); others post nothing.
void postMouseButton(uint32_t button, bool down);
// Amounts in wheel units, positive to the right and down; continuous posts pixels, otherwise lines.
void postScroll(float x, float y, bool continuous);

// A float truncated toward zero, held within int32_t (NaN gives 0). Rates come from preset numbers,
// which may be far outside the range of an event field.
int32_t truncateToInt32(float value);

} // namespace padloom
