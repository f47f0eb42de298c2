// SPDX-License-Identifier: GPL-3.0-or-later
// Named controls and the live view of the editor.
//
// For a pad that the joystick layer knows, each button, axis half and hat
// direction has a name ("Button 0 · A"). While no preset is active and no
// detection listens, the application reports the controls that move: a bind
// whose input is on is highlighted, an axis bind shows how far its half is
// pushed and where it turns on, a hat bind shows where the hat points, and
// pressing a control finds its binds (or offers to add one).
//
// Offers (to the application): setControlNames, setSwitchPoint, showLiveInputs, clearLiveInputs.
// Offers (to the other parts): liveParts, liveControlLabel, foundControlOffer, showControlName,
//   controlName, inputDisplay, bindLiveViewEvents.
// Needs: jQuery; INPUT_KINDS, HAT_DIRECTIONS, parseInputText, outputKind (bind_texts.js);
//   groups, bindsOf, shownBinds, readBindInput, addNewBind, flash (editor.js); showMemberNames
//   (section_members.js); showStickPositions (sticks.js).
'use strict';

// Per connected joystick: input text -> the control's name.
let controlNames = [];
// Per joystick: 'kind index' -> the control's latest value.
let liveValues = [];
let switchPoint = null;

const KIND_NUMBERS = { 1: 'btn', 2: 'axi', 3: 'hat' };
const HAT_BITS = { U: 1, R: 2, D: 4, L: 8 };
// Where a hat points; nothing while it rests (its place is kept, so the row does not move).
const HAT_ARROWS = { 0: '', 1: '↑', 2: '→', 3: '↗', 4: '↓', 6: '↘', 8: '←', 9: '↖', 12: '↙' };

function setControlNames(list) {
  controlNames = Array.isArray(list) ? list : [];
  groups().each(function () {
    bindsOf($(this)).each(function () { showControlName($(this)); });
    showMemberNames($(this));
  });
}

function setSwitchPoint(value) {
  switchPoint = Number(value);
  document.body.style.setProperty('--switch-point', String(switchPoint * 100) + '%');
}

function controlName(joystick, text) {
  const names = controlNames[joystick];
  return names && Object.prototype.hasOwnProperty.call(names, text) ? String(names[text]) : '';
}

// "Button 0 · A", "Axis 1 − · Left stick up", "Hat 0 Up · D-pad up"; numbers only when unnamed.
function inputDisplay(joystick, text) {
  const input = parseInputText(text);
  const kind = INPUT_KINDS.find(function (pair) { return pair[0] === input.kind; })[1];
  let shown = kind + ' ' + input.index;
  if (input.kind === 'axi') {
    shown += input.direction === '-' ? ' −' : ' +';
  } else if (input.kind === 'hat') {
    shown += ' ' + HAT_DIRECTIONS.find(function (pair) { return pair[0] === input.direction; })[1];
  }
  const name = controlName(joystick, text);
  return name ? shown + ' · ' + name : shown;
}

// A bind row's part: its control's name, and how far it is pushed.
function liveParts() {
  return $('<span class="live">').append($('<span class="control-name">'),
    $('<span class="live-meter" title="How far the axis is pushed; the mark is where the bind turns on">')
      .append($('<span class="fill">'), $('<span class="mark">')),
    $('<span class="live-hat" title="Where the hat points">'));
}

// A joystick section's parts: in its header the control pressed last, in its footer the offer
// to add a bind for a control that has none.
function liveControlLabel() {
  return $('<span class="live-control" aria-live="polite">');
}

function foundControlOffer() {
  return $('<button type="button" class="add-found">').hide();
}

function showControlName(bind) {
  if (bind.length === 0) {
    return;
  }
  const joystick = groups().index(bind.closest('itemgroup'));
  const name = controlName(joystick, readBindInput(bind));
  bind.find('.control-name').text(name ? '· ' + name : '');
  showLiveBind(bind, joystick);
}

// Outputs that set no rate (keys, mouse buttons, wheel steps) switch at the mark; motion and the
// wheel follow the axis from its rest.
function switches(bind) {
  return bind.find('select.output-kind').toArray().some(function (select) {
    return !outputKind(select.value).isRate;
  });
}

function showLiveBind(bind, joystick) {
  const input = parseInputText(readBindInput(bind));
  const value = (liveValues[joystick] || {})[input.kind + ' ' + input.index] || 0;
  let on = false;
  if (input.kind === 'btn') {
    on = value > 0;
  } else if (input.kind === 'axi') {
    const pushed = Math.max(0, input.direction === '-' ? -value : value);
    on = pushed > (switches(bind) ? switchPoint || 0 : 0);
    bind.find('.live-meter .fill').css('width', String(Math.min(pushed, 1) * 100) + '%');
    bind.find('.live-meter').toggleClass('follows', !switches(bind));
  } else {
    on = (value & HAT_BITS[input.direction]) !== 0;
    bind.find('.live-hat').text(HAT_ARROWS[value] || HAT_ARROWS[0]);
  }
  bind.attr('data-live-kind', input.kind).toggleClass('live-on', on);
}

// Whether a control's move switched it on: a press, an axis half pushed past the mark, a hat
// direction newly held. The input text of the part switched on, or null.
function switchedOn(kind, index, before, value) {
  if (kind === 'btn') {
    return before <= 0 && value > 0 ? 'btn ' + index : null;
  }
  if (kind === 'axi') {
    const point = switchPoint === null ? 1 : switchPoint;
    if (Math.abs(before) <= point && Math.abs(value) > point) {
      return 'axi ' + index + (value < 0 ? ' -' : ' +');
    }
    return null;
  }
  for (const letter of 'URDL') {
    if ((value & HAT_BITS[letter]) && !(before & HAT_BITS[letter])) {
      return 'hat ' + index + ' ' + letter;
    }
  }
  return null;
}

// Scrolls to the control's binds and flashes them, or offers to add one.
function findControl(group, joystick, text) {
  group.find('> header .live-control').text(inputDisplay(joystick, text));
  const found = shownBinds(group).filter(function () { return readBindInput($(this)) === text; });
  const offer = group.find('> footer .add-found');
  if (found.length === 0) {
    offer.text('Add a bind for ' + inputDisplay(joystick, text)).data('input', text).show();
    return;
  }
  offer.hide();
  found[0].scrollIntoView({ block: 'nearest' });
  flash(found);
}

function showLiveInputs(moved) {
  let found = null;
  for (const [joystick, kindNumber, index, value] of moved) {
    const kind = KIND_NUMBERS[kindNumber];
    const values = liveValues[joystick] || (liveValues[joystick] = {});
    const key = kind + ' ' + index;
    const text = switchedOn(kind, index, values[key] || 0, value);
    values[key] = value;
    const group = groups().eq(joystick);
    bindsOf(group).each(function () {
      if (parseInputText(readBindInput($(this))).index === index) {
        showLiveBind($(this), joystick);
      }
    });
    if (text !== null && group.length) {
      found = [group, joystick, text];
    }
  }
  if (found) {
    findControl(found[0], found[1], found[2]);
  }
  showStickPositions();
}

function clearLiveInputs() {
  liveValues = [];
  $('.bind.live-on').removeClass('live-on');
  $('.live-meter .fill').css('width', '0');
  $('.live-hat').text(HAT_ARROWS[0]);
  $('itemgroup > header .live-control').text('');
  showStickPositions();
}

function bindLiveViewEvents() {
  $('joysticks').on('click', '.add-found', function () {
    $(this).hide();
    addNewBind($(this).closest('itemgroup'), $(this).data('input'));
  });
}
