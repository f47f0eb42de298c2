// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/keyboard_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <array>

namespace padloom {
namespace {

// One row per virtual key code the engine's key table yields, in the order of the preset key
// numbers (USB keyboard usages) that yield them. The X keysym is the one the key gives at its
// first level on a US layout.
//
// Two codes share one Linux key: 42 (backslash) and 181 (the ISO keyboard's "#" key). Both
// usages sit at the same place left of Return and the kernel reports both as KEY_BACKSLASH, so
// that is what either one presses.
//
// Preset key numbers 1 to 3 and 191 name no key on a Linux keyboard; their codes press the
// programmable launch keys, so each still reaches a distinct key the desktop can bind.
constexpr KeyboardKey keys[] = {
    {64, KEY_F17, XK_F17, "F17"},
    {150, KEY_PROG1, XF86XK_Launch1, "Launch1"},
    {135, KEY_PROG2, XF86XK_Launch2, "Launch2"},
    {137, KEY_PROG3, XF86XK_Launch3, "Launch3"},
    {0, KEY_A, XK_a, "A"},
    {11, KEY_B, XK_b, "B"},
    {8, KEY_C, XK_c, "C"},
    {2, KEY_D, XK_d, "D"},
    {14, KEY_E, XK_e, "E"},
    {3, KEY_F, XK_f, "F"},
    {5, KEY_G, XK_g, "G"},
    {4, KEY_H, XK_h, "H"},
    {34, KEY_I, XK_i, "I"},
    {38, KEY_J, XK_j, "J"},
    {40, KEY_K, XK_k, "K"},
    {37, KEY_L, XK_l, "L"},
    {46, KEY_M, XK_m, "M"},
    {45, KEY_N, XK_n, "N"},
    {31, KEY_O, XK_o, "O"},
    {35, KEY_P, XK_p, "P"},
    {12, KEY_Q, XK_q, "Q"},
    {15, KEY_R, XK_r, "R"},
    {1, KEY_S, XK_s, "S"},
    {17, KEY_T, XK_t, "T"},
    {32, KEY_U, XK_u, "U"},
    {9, KEY_V, XK_v, "V"},
    {13, KEY_W, XK_w, "W"},
    {7, KEY_X, XK_x, "X"},
    {16, KEY_Y, XK_y, "Y"},
    {6, KEY_Z, XK_z, "Z"},
    {18, KEY_1, XK_1, "1"},
    {19, KEY_2, XK_2, "2"},
    {20, KEY_3, XK_3, "3"},
    {21, KEY_4, XK_4, "4"},
    {23, KEY_5, XK_5, "5"},
    {22, KEY_6, XK_6, "6"},
    {26, KEY_7, XK_7, "7"},
    {28, KEY_8, XK_8, "8"},
    {25, KEY_9, XK_9, "9"},
    {29, KEY_0, XK_0, "0"},
    {36, KEY_ENTER, XK_Return, "Return"},
    {53, KEY_ESC, XK_Escape, "Escape"},
    {51, KEY_BACKSPACE, XK_BackSpace, "Backspace"},
    {48, KEY_TAB, XK_Tab, "Tab"},
    {49, KEY_SPACE, XK_space, "Space"},
    {27, KEY_MINUS, XK_minus, "Minus"},
    {24, KEY_EQUAL, XK_equal, "Equals"},
    {33, KEY_LEFTBRACE, XK_bracketleft, "Left bracket"},
    {30, KEY_RIGHTBRACE, XK_bracketright, "Right bracket"},
    {42, KEY_BACKSLASH, XK_backslash, "Backslash"},
    {181, KEY_BACKSLASH, XK_backslash, "Non-US hash"},
    {41, KEY_SEMICOLON, XK_semicolon, "Semicolon"},
    {39, KEY_APOSTROPHE, XK_apostrophe, "Apostrophe"},
    {50, KEY_GRAVE, XK_grave, "Grave"},
    {43, KEY_COMMA, XK_comma, "Comma"},
    {47, KEY_DOT, XK_period, "Period"},
    {44, KEY_SLASH, XK_slash, "Slash"},
    {57, KEY_CAPSLOCK, XK_Caps_Lock, "Caps Lock"},
    {122, KEY_F1, XK_F1, "F1"},
    {120, KEY_F2, XK_F2, "F2"},
    {99, KEY_F3, XK_F3, "F3"},
    {118, KEY_F4, XK_F4, "F4"},
    {96, KEY_F5, XK_F5, "F5"},
    {97, KEY_F6, XK_F6, "F6"},
    {98, KEY_F7, XK_F7, "F7"},
    {100, KEY_F8, XK_F8, "F8"},
    {101, KEY_F9, XK_F9, "F9"},
    {109, KEY_F10, XK_F10, "F10"},
    {103, KEY_F11, XK_F11, "F11"},
    {111, KEY_F12, XK_F12, "F12"},
    {105, KEY_SYSRQ, XK_Print, "Print Screen"},
    {107, KEY_SCROLLLOCK, XK_Scroll_Lock, "Scroll Lock"},
    {113, KEY_PAUSE, XK_Pause, "Pause"},
    {114, KEY_INSERT, XK_Insert, "Insert"},
    {115, KEY_HOME, XK_Home, "Home"},
    {116, KEY_PAGEUP, XK_Prior, "Page Up"},
    {117, KEY_DELETE, XK_Delete, "Delete"},
    {119, KEY_END, XK_End, "End"},
    {121, KEY_PAGEDOWN, XK_Next, "Page Down"},
    {124, KEY_RIGHT, XK_Right, "Right"},
    {123, KEY_LEFT, XK_Left, "Left"},
    {125, KEY_DOWN, XK_Down, "Down"},
    {126, KEY_UP, XK_Up, "Up"},
    {71, KEY_NUMLOCK, XK_Num_Lock, "Num Lock"},
    {75, KEY_KPSLASH, XK_KP_Divide, "Keypad /"},
    {67, KEY_KPASTERISK, XK_KP_Multiply, "Keypad *"},
    {78, KEY_KPMINUS, XK_KP_Subtract, "Keypad -"},
    {69, KEY_KPPLUS, XK_KP_Add, "Keypad +"},
    {52, KEY_KPENTER, XK_KP_Enter, "Keypad Enter"},
    {83, KEY_KP1, XK_KP_1, "Keypad 1"},
    {84, KEY_KP2, XK_KP_2, "Keypad 2"},
    {85, KEY_KP3, XK_KP_3, "Keypad 3"},
    {86, KEY_KP4, XK_KP_4, "Keypad 4"},
    {87, KEY_KP5, XK_KP_5, "Keypad 5"},
    {88, KEY_KP6, XK_KP_6, "Keypad 6"},
    {89, KEY_KP7, XK_KP_7, "Keypad 7"},
    {91, KEY_KP8, XK_KP_8, "Keypad 8"},
    {92, KEY_KP9, XK_KP_9, "Keypad 9"},
    {82, KEY_KP0, XK_KP_0, "Keypad 0"},
    {65, KEY_KPDOT, XK_KP_Decimal, "Keypad ."},
    {10, KEY_102ND, XK_less, "Non-US backslash"},
    {110, KEY_COMPOSE, XK_Menu, "Application"},
    {127, KEY_POWER, XF86XK_PowerOff, "Power"},
    {81, KEY_KPEQUAL, XK_KP_Equal, "Keypad ="},
    {272, KEY_F13, XK_F13, "F13"},
    {198, KEY_F14, XK_F14, "F14"},
    {235, KEY_F15, XK_F15, "F15"},
    {106, KEY_F16, XK_F16, "F16"},
    {195, KEY_F18, XK_F18, "F18"},
    {229, KEY_F19, XK_F19, "F19"},
    {197, KEY_F20, XK_F20, "F20"},
    {200, KEY_F22, XK_F22, "F22"},
    {201, KEY_F23, XK_F23, "F23"},
    {202, KEY_F24, XK_F24, "F24"},
    {203, KEY_OPEN, XK_Execute, "Execute"},
    {204, KEY_HELP, XK_Help, "Help"},
    {189, KEY_MENU, XF86XK_MenuKB, "Menu"},
    {205, KEY_SELECT, XK_Select, "Select"},
    {187, KEY_STOP, XK_Cancel, "Stop"},
    {206, KEY_AGAIN, XK_Redo, "Again"},
    {186, KEY_UNDO, XK_Undo, "Undo"},
    {208, KEY_CUT, XF86XK_Cut, "Cut"},
    {207, KEY_COPY, XF86XK_Copy, "Copy"},
    {209, KEY_PASTE, XF86XK_Paste, "Paste"},
    {210, KEY_FIND, XK_Find, "Find"},
    {74, KEY_MUTE, XF86XK_AudioMute, "Mute"},
    {72, KEY_VOLUMEUP, XF86XK_AudioRaiseVolume, "Volume Up"},
    {73, KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume, "Volume Down"},
    {95, KEY_KPCOMMA, XK_KP_Separator, "Keypad ,"},
    {94, KEY_RO, XK_underscore, "Ro"},
    {93, KEY_YEN, XK_yen, "Yen"},
    {104, KEY_HANGEUL, XK_Hangul, "Language 1"},
    {102, KEY_HANJA, XK_Hangul_Hanja, "Language 2"},
    {128, KEY_PROG4, XF86XK_Launch4, "Launch4"},
    {59, KEY_LEFTCTRL, XK_Control_L, "Left Control"},
    {56, KEY_LEFTSHIFT, XK_Shift_L, "Left Shift"},
    {58, KEY_LEFTALT, XK_Alt_L, "Left Alt"},
    {55, KEY_LEFTMETA, XK_Super_L, "Left Super"},
    {62, KEY_RIGHTCTRL, XK_Control_R, "Right Control"},
    {60, KEY_RIGHTSHIFT, XK_Shift_R, "Right Shift"},
    {61, KEY_RIGHTALT, XK_Alt_R, "Right Alt"},
    {54, KEY_RIGHTMETA, XK_Super_R, "Right Super"},
    {130, KEY_DASHBOARD, XF86XK_LaunchB, "Dashboard"},
    {160, KEY_SCALE, XF86XK_LaunchA, "Expose"},
};

constexpr uint16_t noRow = 0xFFFF;

constexpr size_t indexSize() {
    size_t size = 0;
    for (const KeyboardKey& key : keys) {
        size = key.keyCode + 1u > size ? key.keyCode + 1u : size;
    }
    return size;
}

// Row number by key code, so a lookup is one index.
constexpr auto rowByKeyCode = [] {
    std::array<uint16_t, indexSize()> rows{};
    rows.fill(noRow);
    for (size_t i = 0; i < std::size(keys); ++i) {
        rows[keys[i].keyCode] = static_cast<uint16_t>(i);
    }
    return rows;
}();

} // namespace

std::span<const KeyboardKey> keyboardKeys() {
    return keys;
}

const KeyboardKey* findKeyboardKey(uint16_t keyCode) {
    if (keyCode >= rowByKeyCode.size() || rowByKeyCode[keyCode] == noRow) {
        return nullptr;
    }
    return &keys[rowByKeyCode[keyCode]];
}

} // namespace padloom
