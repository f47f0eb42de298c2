// SPDX-License-Identifier: GPL-3.0-or-later
// Switches of a joystick section: inputs that, all held at once, switch to another preset: the
// next or the previous in the list, or one picked from it. Each input is picked as a bind's
// input, Detect included; a switch keeps at least one. A target the list does not hold (a file
// since removed) stays offered, so that saving keeps it.
//
// Offers (to the application): setPresetChoices.
// Offers (to the other parts): switchesBlock, addSwitch, shownSwitches, bindSwitchEvents.
// Needs: jQuery; inputEditor, readInputEditor, setInputEditor, iconButton, optionsFor,
//   firstFreeButton (editor.js); fitWindow (config.js).
'use strict';

// The preset list's presets: [{file, shown}], as the application gave them.
let presetChoices = [];
const RELATIVE_TARGETS = [['next', 'The next preset'], ['previous', 'The previous preset']];

function targetPairs(current) {
  const pairs = RELATIVE_TARGETS.concat(presetChoices.map(function (choice) {
    return [choice.file, choice.shown + ' (' + choice.file + ')'];
  }));
  if (current && !pairs.some(function (pair) { return pair[0] === current; })) {
    pairs.push([current, current + ' (not in the list)']);
  }
  return pairs;
}

function setPresetChoices(list) {
  presetChoices = (Array.isArray(list) ? list : []).map(function (choice) {
    return { file: String(choice.file), shown: String(choice.shown) };
  });
  $('select.switch-to').each(function () {
    const current = $(this).val();
    optionsFor($(this), targetPairs(current), current);
  });
}

function switchesBlock() {
  return $('<section class="switches member-block">').append(
    $('<h3>').text('Switch presets'),
    $('<p class="hint">').text('Holding all the inputs of a switch at once switches to another preset.'),
    $('<div class="switch-list">'),
    $('<button type="button" class="quiet add-switch">').text('+ Switch'));
}

function appendPress(entry, text) {
  const editor = inputEditor().attr('data-detect-for', 'an input of the switch');
  entry.children('.press').append($('<div class="press-input">').append(editor,
    iconButton('✕', 'Remove this input from the switch', 'remove-press')));
  setInputEditor(editor, text);
  updatePressState(entry);
}

// The last input of a switch stays: a switch without inputs does not read.
function updatePressState(entry) {
  const rows = entry.find('> .press > .press-input');
  rows.find('.remove-press').prop('disabled', rows.length <= 1);
}

function addSwitch(group, press, to) {
  const entry = $('<div class="switch">').append(
    $('<span class="member-label">').text('Hold together'),
    $('<div class="press">'),
    $('<div class="switch-actions">').append(
      $('<button type="button" class="quiet add-press">').text('+ Input'),
      $('<span class="member-label">').text('to switch to'),
      optionsFor($('<select class="switch-to" title="The preset it switches to">'), targetPairs(to), to),
      iconButton('Remove', 'Remove this switch', 'danger remove-switch')));
  group.find('> .switches > .switch-list').append(entry);
  press.forEach(function (text) { appendPress(entry, text); });
  return entry;
}

// [{press: [input, ...], to}, ...]
function shownSwitches(group) {
  return group.find('> .switches > .switch-list > .switch').map(function () {
    const entry = $(this);
    return {
      press: entry.find('> .press > .press-input > .input').map(function () {
        return readInputEditor($(this));
      }).get(),
      to: String(entry.find('select.switch-to').val())
    };
  }).get();
}

function bindSwitchEvents() {
  const root = $('joysticks');
  root.on('click', '.add-switch', function () {
    const group = $(this).closest('itemgroup');
    addSwitch(group, ['btn ' + firstFreeButton(group)], 'next');
    fitWindow();
  });
  root.on('click', '.remove-switch', function () {
    $(this).closest('.switch').remove();
    fitWindow();
  });
  root.on('click', '.add-press', function () {
    const entry = $(this).closest('.switch');
    const group = entry.closest('itemgroup');
    appendPress(entry, 'btn ' + firstFreeButton(group));
    fitWindow();
  });
  root.on('click', '.remove-press', function () {
    const entry = $(this).closest('.switch');
    $(this).closest('.press-input').remove();
    updatePressState(entry);
    fitWindow();
  });
}
