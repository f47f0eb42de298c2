// The engine's key table reaches real keys on both backends, and no two keys are confused.
#include "engine/key_code_table.h"
#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <map>
#include <set>

namespace padloom {
namespace {

// Key codes that are one key on Linux, which reports the ANSI backslash and the ISO "#" key at
// the same place as KEY_BACKSLASH.
const std::set<uint16_t> backslashAliases = {42, 181};

TEST(KeyTranslation, EveryKeyboardEntryOfTheKeyTableReachesAKey) {
    for (uint32_t number = 0; number < firstSystemKeyNumber; ++number) {
        const int32_t code = keyCodeTable[number];
        if (code == noKeyCode) {
            continue;
        }
        const KeyboardKey* key = findKeyboardKey(static_cast<uint16_t>(code));
        ASSERT_NE(key, nullptr) << "key number " << number << " (code " << code << ")";
        EXPECT_NE(key->evdevCode, KEY_RESERVED) << "key number " << number;
        EXPECT_NE(key->keysym, 0u) << "key number " << number;
    }
}

TEST(KeyTranslation, EveryAuxiliaryEntryOfTheKeyTableReachesAKey) {
    for (uint32_t number = firstSystemKeyNumber; number < keyCodeTableSize; ++number) {
        const int32_t type = keyCodeTable[number];
        if (type == noKeyCode) {
            continue;
        }
        const AuxiliaryKey* key = findAuxiliaryKey(type);
        ASSERT_NE(key, nullptr) << "key number " << number << " (type " << type << ")";
        EXPECT_NE(key->evdevCode, KEY_RESERVED) << "key number " << number;
        EXPECT_NE(key->keysym, 0u) << "key number " << number;
    }
}

TEST(KeyTranslation, DistinctKeyboardCodesPressDistinctKeys) {
    std::map<uint16_t, uint16_t> codeByEvdev;
    std::map<uint32_t, uint16_t> codeByKeysym;
    for (uint32_t number = 0; number < firstSystemKeyNumber; ++number) {
        const int32_t code = keyCodeTable[number];
        const KeyboardKey* key = code == noKeyCode ? nullptr : findKeyboardKey(static_cast<uint16_t>(code));
        if (!key) {
            continue;
        }
        const auto [evdev, newEvdev] = codeByEvdev.emplace(key->evdevCode, key->keyCode);
        const auto [keysym, newKeysym] = codeByKeysym.emplace(key->keysym, key->keyCode);
        const bool aliases =
            backslashAliases.contains(evdev->second) && backslashAliases.contains(key->keyCode);
        EXPECT_TRUE(newEvdev || aliases)
            << "codes " << evdev->second << " and " << key->keyCode << " share evdev " << key->evdevCode;
        EXPECT_TRUE(newKeysym || aliases)
            << "codes " << keysym->second << " and " << key->keyCode << " share keysym " << key->keysym;
    }
}

TEST(KeyTranslation, DistinctAuxiliaryTypesPressDistinctKeys) {
    std::set<uint16_t> evdevCodes;
    std::set<uint32_t> keysyms;
    for (uint32_t number = firstSystemKeyNumber; number < keyCodeTableSize; ++number) {
        const AuxiliaryKey* key = findAuxiliaryKey(keyCodeTable[number]);
        if (!key) {
            continue;
        }
        EXPECT_TRUE(evdevCodes.insert(key->evdevCode).second) << "key number " << number;
        EXPECT_TRUE(keysyms.insert(key->keysym).second) << "key number " << number;
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
        const int32_t code = keyCodeTable[row.number];
        uint16_t evdev = 0;
        uint32_t keysym = 0;
        if (row.number >= firstSystemKeyNumber) {
            const AuxiliaryKey* key = findAuxiliaryKey(code);
            ASSERT_NE(key, nullptr) << "key number " << row.number;
            evdev = key->evdevCode;
            keysym = key->keysym;
        } else {
            const KeyboardKey* key = findKeyboardKey(static_cast<uint16_t>(code));
            ASSERT_NE(key, nullptr) << "key number " << row.number;
            evdev = key->evdevCode;
            keysym = key->keysym;
        }
        EXPECT_EQ(evdev, row.evdev) << "key number " << row.number;
        EXPECT_EQ(keysym, row.keysym) << "key number " << row.number;
    }
}

TEST(KeyTranslation, CodesOutsideTheTablesFindNothing) {
    for (uint16_t code : {uint16_t{63}, uint16_t{273}, uint16_t{0xFFFF}}) {
        EXPECT_EQ(findKeyboardKey(code), nullptr) << code;
    }
    for (int32_t type : {-1, 2, 23, 0xFFFF}) {
        EXPECT_EQ(findAuxiliaryKey(type), nullptr) << type;
    }
}

} // namespace
} // namespace padloom
