// The auxiliary (media, volume, brightness, eject) keys the engine's system-defined events name,
// with their evdev codes and XF86 keysyms.
#pragma once

#include <cstdint>
#include <span>

namespace padloom {

struct AuxiliaryKey {
    int32_t keyType; // data1 >> 16 of the engine's system-defined event
    uint16_t evdevCode;
    uint32_t keysym;
    const char* name;
};

std::span<const AuxiliaryKey> auxiliaryKeys();
// Null for a type that names no key.
const AuxiliaryKey* findAuxiliaryKey(int32_t keyType);

// What a system-defined event's data1 says: the key type, and press (0x0A00 in bits 8 to 15) or
// release.
struct AuxiliaryKeyEvent {
    int32_t keyType;
    bool down;
};
AuxiliaryKeyEvent decodeSystemDefined(int32_t data1);

} // namespace padloom
