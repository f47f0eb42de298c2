// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the keys a preset can press, by key number. Key numbers follow the
// USB HID keyboard usage numbering; 303 and up are special keys (media keys
// and screen brightness). Numbers missing here press nothing.
//
// Offers: KEY_GROUPS, KEY_NAMES, keyName. Needs: nothing.
'use strict';

const KEY_GROUPS = (function () {
  const letters = [];
  for (let n = 4; n <= 29; n++) {
    letters.push([n, String.fromCharCode(65 + n - 4)]);
  }
  const digits = [];
  for (let n = 30; n <= 39; n++) {
    digits.push([n, String((n - 29) % 10)]);
  }
  const functionKeys = [];
  for (let n = 58; n <= 69; n++) {
    functionKeys.push([n, 'F' + (n - 57)]);
  }
  functionKeys.push([104, 'F13'], [105, 'F14'], [106, 'F15'], [107, 'F16'], [0, 'F17'],
    [109, 'F18'], [110, 'F19'], [111, 'F20'], [113, 'F22'], [114, 'F23'], [115, 'F24']);
  const keypad = [[84, 'Keypad /'], [85, 'Keypad *'], [86, 'Keypad -'], [87, 'Keypad +'],
    [88, 'Keypad Enter']];
  for (let n = 89; n <= 97; n++) {
    keypad.push([n, 'Keypad ' + (n - 88)]);
  }
  keypad.push([98, 'Keypad 0'], [99, 'Keypad .'], [103, 'Keypad ='], [133, 'Keypad ,'],
    [191, 'Keypad D']);

  return [
    ['Common', [[44, 'Space'], [40, 'Return'], [41, 'Escape'], [43, 'Tab'], [42, 'Backspace']]],
    ['Arrows', [[82, 'Up Arrow'], [81, 'Down Arrow'], [80, 'Left Arrow'], [79, 'Right Arrow']]],
    ['Modifiers', [[225, 'Left Shift'], [224, 'Left Control'], [226, 'Left Alt'],
      [227, 'Left Super'], [229, 'Right Shift'], [228, 'Right Control'], [230, 'Right Alt'],
      [231, 'Right Super']]],
    ['Letters', letters],
    ['Digits', digits],
    ['Function keys', functionKeys],
    ['Navigation', [[73, 'Insert'], [76, 'Delete'], [74, 'Home'], [77, 'End'],
      [75, 'Page Up'], [78, 'Page Down']]],
    ['Symbols', [[45, 'Minus -'], [46, 'Equals ='], [47, 'Left Bracket ['],
      [48, 'Right Bracket ]'], [49, 'Backslash \\'], [51, 'Semicolon ;'], [52, 'Apostrophe \''],
      [53, 'Grave `'], [54, 'Comma ,'], [55, 'Period .'], [56, 'Slash /'],
      [50, 'Non-US #'], [100, 'Non-US Backslash']]],
    ['Media and system', [[308, 'Play / Pause'], [307, 'Rewind'], [309, 'Fast Forward'],
      [312, 'Volume Up'], [311, 'Volume Down'], [310, 'Mute'], [313, 'Eject'],
      [306, 'Brightness Up'], [305, 'Brightness Down'], [128, 'Keyboard Volume Up'],
      [129, 'Keyboard Volume Down'], [127, 'Keyboard Mute'], [102, 'Power']]],
    ['Keypad', keypad],
    ['Locks and system keys', [[57, 'Caps Lock'], [83, 'Num Lock'], [71, 'Scroll Lock'],
      [70, 'Print Screen'], [72, 'Pause'], [101, 'Menu'], [118, 'Menu (extra)'],
      [117, 'Help']]],
    ['Editing keys', [[122, 'Undo'], [123, 'Cut'], [124, 'Copy'], [125, 'Paste'],
      [126, 'Find'], [121, 'Again'], [120, 'Stop'], [119, 'Select'], [116, 'Execute']]],
    ['International', [[135, 'International 1 (Ro)'], [137, 'International 3 (Yen)'],
      [144, 'Lang 1 (Kana)'], [145, 'Lang 2 (Eisu)']]],
    ['Other', [[1, 'Special key 1'], [2, 'Special key 2'], [3, 'Special key 3'],
      [303, 'Dashboard'], [304, 'Mission Control']]]
  ];
})();

const KEY_NAMES = (function () {
  const names = new Map();
  for (const [, keys] of KEY_GROUPS) {
    for (const [number, name] of keys) {
      names.set(number, name);
    }
  }
  return names;
})();

function keyName(number) {
  return KEY_NAMES.has(number) ? KEY_NAMES.get(number) : 'Key number ' + number;
}
