// SPDX-License-Identifier: GPL-3.0-or-later
// The mode of a bind row's input: normal, toggle, or turbo with its rate. The preset keeps one mode
// per input text for the whole section, its layers included, so every row of an input shows and
// changes the same mode. A section keeps its modes in the order the preset had them; a mode set
// anew comes last, and normal takes the input out.
//
// Offers (to the other parts): modeParts, setModes, shownModes, showBindMode, bindModeEvents.
// Needs: jQuery; MODE_KINDS, TURBO_RATES, parseModeText, modeText, FIELD_RULES (member_texts.js);
//   bindsOf, readBindInput, optionsFor, numberInput, accept, checkField, fieldValue (editor.js).
'use strict';

function modeParts() {
  const kind = optionsFor($('<select class="mode-kind" title="Mode: applies to every bind of this input">'),
    MODE_KINDS, '');
  const rate = numberInput('rate', TURBO_RATES.first, 'Turbo: how often a second its binds go on', 1)
    .attr({ min: TURBO_RATES.slowest, max: TURBO_RATES.fastest });
  return $('<span class="mode">').append(kind, rate, $('<span class="unit rate-unit">').text('/ s'));
}

// The section's modes: [[input text, mode text], ...].
function sectionModes(group) {
  if (!Array.isArray(group.data('modes'))) {
    group.data('modes', []);
  }
  return group.data('modes');
}

function setModes(group, modes) {
  group.data('modes', modes.map(function (entry) { return [String(entry[0]), String(entry[1])]; }));
  bindsOf(group).each(function () { showBindMode($(this)); });
}

function shownModes(group) {
  return sectionModes(group).slice();
}

function showBindMode(bind) {
  const group = bind.closest('itemgroup');
  if (group.length === 0) {
    return;
  }
  const input = readBindInput(bind);
  const entry = sectionModes(group).find(function (pair) { return pair[0] === input; });
  const mode = parseModeText(entry ? entry[1] : '');
  const parts = bind.find('.mode');
  parts.children('select.mode-kind').val(mode.kind);
  // A field showing its rate keeps its note on a refused text.
  const rate = FIELD_RULES.rate.format(mode.rate);
  if (mode.kind === 'turbo' && String(parts.children('input.rate').data('accepted')) !== rate) {
    accept(parts.children('input.rate'), rate);
  }
  parts.toggleClass('turbo', mode.kind === 'turbo');
}

// The row's mode becomes its input's, for every row of that input.
function changeMode(bind) {
  const group = bind.closest('itemgroup');
  const input = readBindInput(bind);
  const parts = bind.find('.mode');
  const text = modeText({
    kind: parts.children('select.mode-kind').val(),
    rate: fieldValue(parts.children('input.rate'), FIELD_RULES.rate)
  });
  const modes = sectionModes(group);
  const at = modes.findIndex(function (pair) { return pair[0] === input; });
  if (text === '' && at >= 0) {
    modes.splice(at, 1);
  } else if (text !== '' && at >= 0) {
    modes[at][1] = text;
  } else if (text !== '') {
    modes.push([input, text]);
  }
  bindsOf(group).filter(function () { return readBindInput($(this)) === input; })
    .each(function () { showBindMode($(this)); });
}

function bindModeEvents() {
  const root = $('joysticks');
  root.on('change', '.bind select.mode-kind', function () {
    changeMode($(this).closest('.bind'));
  });
  root.on('change', '.bind input.rate', function () {
    checkField($(this), FIELD_RULES.rate);
    changeMode($(this).closest('.bind'));
  });
}
