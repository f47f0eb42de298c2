// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/auxiliary_keys.h"

#include <X11/XF86keysym.h>
#include <linux/input-event-codes.h>

namespace padloom {
namespace {

// The key types the engine posts (the keyboards' special keys), by the number each event carries.
constexpr AuxiliaryKey keys[] = {
    {0, KEY_VOLUMEUP, XF86XK_AudioRaiseVolume, "Volume Up"},
    {1, KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume, "Volume Down"},
    {7, KEY_MUTE, XF86XK_AudioMute, "Mute"},
    {14, KEY_EJECTCD, XF86XK_Eject, "Eject"},
    {16, KEY_PLAYPAUSE, XF86XK_AudioPlay, "Play"},
    {19, KEY_FASTFORWARD, XF86XK_AudioForward, "Fast Forward"},
    {20, KEY_REWIND, XF86XK_AudioRewind, "Rewind"},
    {21, KEY_BRIGHTNESSUP, XF86XK_MonBrightnessUp, "Brightness Up"},
    {22, KEY_BRIGHTNESSDOWN, XF86XK_MonBrightnessDown, "Brightness Down"},
};

} // namespace

std::span<const AuxiliaryKey> auxiliaryKeys() {
    return keys;
}

const AuxiliaryKey* findAuxiliaryKey(int32_t keyType) {
    for (const AuxiliaryKey& key : keys) {
        if (key.keyType == keyType) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace padloom
