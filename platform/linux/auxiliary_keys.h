// SPDX-License-Identifier: GPL-3.0-or-later
// The auxiliary (media, volume, brightness, eject) keys the engine's system-defined events name,
// with their evdev codes and XF86 keysyms.
#pragma once

#include <cstdint>
#include <span>

namespace padloom {

struct AuxiliaryKey {
    int32_t keyType; // as the engine's auxiliary-key events carry it (SystemKeyData)
    uint16_t evdevCode;
    uint32_t keysym;
    const char* name;
};

std::span<const AuxiliaryKey> auxiliaryKeys();
// Null for a type that names no key.
const AuxiliaryKey* findAuxiliaryKey(int32_t keyType);

} // namespace padloom
