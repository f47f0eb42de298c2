// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's key table reaches real keys on both backends, and no two keys are confused.
#include "engine/key_code_table.h"
#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <map>
#include <optional>
#include <set>

namespace padloom {
namespace {

// Key codes that are one key on Linux, which reports the ANSI backslash and the ISO "#" key at
// the same place as KEY_BACKSLASH.
const std::set<int32_t> backslashAliases = {42, 181};

struct Reached {
    uint16_t evdev;
    uint32_t keysym;
};

// The keys a preset key number presses on the two backends, if any.
std::optional<Reached> keysOfNumber(uint32_t number) {
    const int32_t code = keyCodeTable[number];
    if (code == noKeyCode) {
        return std::nullopt;
    }
    if (number >= firstSystemKeyNumber) {
        const AuxiliaryKey* key = findAuxiliaryKey(code);
        return key ? std::optional<Reached>({key->evdevCode, key->keysym}) : std::nullopt;
    }
    const KeyboardKey* key = findKeyboardKey(static_cast<uint16_t>(code));
    return key ? std::optional<Reached>({key->evdevCode, key->keysym}) : std::nullopt;
}

// Keyboard keys and auxiliary keys are told apart: the keyboard's volume keys press the same
// Linux keys as the auxiliary volume types.
TEST(KeyTranslation, EveryEntryOfTheKeyTableReachesAKeyOfItsOwn) {
    std::map<std::pair<bool, uint16_t>, int32_t> codeByEvdev;
    std::map<std::pair<bool, uint32_t>, int32_t> codeByKeysym;
    for (uint32_t number = 0; number < keyCodeTableSize; ++number) {
        const int32_t code = keyCodeTable[number];
        if (code == noKeyCode) {
            continue;
        }
        const std::optional<Reached> keys = keysOfNumber(number);
        ASSERT_TRUE(keys) << "key number " << number << " (code " << code << ")";
        EXPECT_NE(keys->evdev, KEY_RESERVED) << "key number " << number;
        EXPECT_NE(keys->keysym, 0u) << "key number " << number;
        const bool system = number >= firstSystemKeyNumber;
        const auto [evdev, newEvdev] = codeByEvdev.emplace(std::pair(system, keys->evdev), code);
        const auto [keysym, newKeysym] = codeByKeysym.emplace(std::pair(system, keys->keysym), code);
        const bool aliases =
            !system && backslashAliases.contains(evdev->second) && backslashAliases.contains(code);
        EXPECT_TRUE(newEvdev || aliases)
            << "codes " << evdev->second << " and " << code << " share evdev " << keys->evdev;
        EXPECT_TRUE(newKeysym || aliases)
            << "codes " << keysym->second << " and " << code << " share keysym " << keys->keysym;
    }
}

// A few preset key numbers (USB keyboard usages) and the Linux keys a user expects from them.
TEST(KeyTranslation, PresetKeyNumbersReachTheKeysTheyName) {
    struct Row {
        uint32_t number;
        uint16_t evdev;
        uint32_t keysym;
    };
    const Row rows[] = {
        {4, KEY_A, XK_a},
        {44, KEY_SPACE, XK_space},
        {58, KEY_F1, XK_F1},
        {70, KEY_SYSRQ, XK_Print},
        {225, KEY_LEFTSHIFT, XK_Shift_L},
        {229, KEY_RIGHTSHIFT, XK_Shift_R},
        {312, KEY_VOLUMEUP, XF86XK_AudioRaiseVolume},
        {305, KEY_BRIGHTNESSDOWN, XF86XK_MonBrightnessDown},
    };
    for (const Row& row : rows) {
        const std::optional<Reached> keys = keysOfNumber(row.number);
        ASSERT_TRUE(keys) << "key number " << row.number;
        EXPECT_EQ(keys->evdev, row.evdev) << "key number " << row.number;
        EXPECT_EQ(keys->keysym, row.keysym) << "key number " << row.number;
    }
}

} // namespace
} // namespace padloom
