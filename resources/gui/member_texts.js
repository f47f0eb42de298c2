// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a joystick section's members beyond its binds, and their lines in the preset
// text: modes ("toggle", "turbo 12.5"), sequence steps ("key 44", "wait 250"), and the members
// "modes", "layers", "sequences" and "switches" laid out as the preset writer lays them out,
// and where "sticks" (sticks.js) goes among them.
// Nothing here touches the page.
//
// Offers: MODE_KINDS, TURBO_RATES, LONGEST_WAIT_MS, parseModeText, modeText, STEP_KINDS,
//   parseStepText, stepText, FIELD_RULES (rate, waitMs), SECTION_MEMBERS, sectionMemberBlocks.
// Needs: OUTPUT_KIND_TABLE (output_kinds.js); block, bindLines, jsonString, formatAmount,
//   outputKind, outputText, parseOutputText, FIELD_RULES (bind_texts.js); sticksMemberLines
//   (sticks.js).
'use strict';

// ------------------------------------------------------------------- modes

// Each mode by its word, and as the editor names it; normal has no text in the file.
const MODE_KINDS = [['', 'Normal'], ['toggle', 'Toggle'], ['turbo', 'Turbo']];
// How often a second a turbo may pulse, and the rate a new turbo starts at.
const TURBO_RATES = { slowest: 1, fastest: 50, first: 10 };

// {kind, rate}: kind '' (normal), 'toggle' or 'turbo'.
function parseModeText(text) {
  const match = /^turbo\s+(\S+)\s*$/.exec(String(text));
  if (match) {
    return { kind: 'turbo', rate: Number(match[1]) };
  }
  return { kind: String(text) === 'toggle' ? 'toggle' : '', rate: TURBO_RATES.first };
}

function modeText(mode) {
  if (mode.kind === 'turbo') {
    return 'turbo ' + formatAmount(mode.rate, 'turbo');
  }
  return mode.kind === 'toggle' ? 'toggle' : '';
}

// ------------------------------------------------------------------- steps

const LONGEST_WAIT_MS = 60000;
// What a step may be: an output pressed and let go (no kind that sets a rate), or a wait.
const STEP_KINDS = OUTPUT_KIND_TABLE.filter(function (row) { return !row.isRate; })
  .map(function (row) { return [row.word, row.label]; })
  .concat([['wait', 'Wait']]);

// {kind: 'wait', ms} or an output as parseOutputText gives it.
function parseStepText(text) {
  const match = /^wait\s+(\d+)\s*$/.exec(String(text));
  if (match) {
    return { kind: 'wait', ms: Number(match[1]) };
  }
  return parseOutputText(text);
}

function stepText(step) {
  return step.kind === 'wait' ? 'wait ' + step.ms : outputText(step);
}

// ------------------------------------------------------------ number fields

function numberWithin(text, low, high, whole) {
  const trimmed = String(text).trim();
  const number = (whole ? /^\d+$/ : /^[+-]?(\d+\.?\d*|\.\d+)(e[+-]?\d+)?$/i).test(trimmed) ? Number(trimmed) : NaN;
  return number >= low && number <= high ? number : null;
}

Object.assign(FIELD_RULES, {
  rate: {
    read: function (text) { return numberWithin(text, TURBO_RATES.slowest, TURBO_RATES.fastest, false); },
    format: function (value) { return formatAmount(value, 'turbo'); },
    problem: 'Use a rate from ' + TURBO_RATES.slowest + ' to ' + TURBO_RATES.fastest + ' a second'
  },
  waitMs: {
    read: function (text) { return numberWithin(text, 0, LONGEST_WAIT_MS, true); },
    format: String,
    problem: 'Use a whole number of ms from 0 to ' + LONGEST_WAIT_MS
  }
});

// ------------------------------------------------------- the section's lines

// A list of texts as a member: "key" : [ "a", "b" ].
function textListLines(key, texts) {
  return block(jsonString(key) + ' : [', ']', texts.map(function (text) { return [jsonString(text)]; }));
}

// modes: [[input, mode text], ...]
function modesLines(modes) {
  return block('"modes" : {', '}', modes.map(function (entry) {
    return [jsonString(entry[0]) + ' : ' + jsonString(entry[1])];
  }));
}

// layers: [{while, binds: [{input, outputs}, ...]}, ...]
function layersLines(layers) {
  return block('"layers" : [', ']', layers.map(function (layer) {
    return block('{', '}', [['"while" : ' + jsonString(layer.while)],
      block('"binds" : {', '}', layer.binds.map(bindLines))]);
  }));
}

// sequences: [[input, [step text, ...]], ...]
function sequencesLines(sequences) {
  return block('"sequences" : {', '}', sequences.map(function (entry) {
    return textListLines(entry[0], entry[1]);
  }));
}

// switches: [{press: [input, ...], to}, ...]
function switchesLines(switches) {
  return block('"switches" : [', ']', switches.map(function (entry) {
    return block('{', '}', [textListLines('press', entry.press), ['"to" : ' + jsonString(entry.to)]]);
  }));
}

// The members a section holds between its "tag" and its "binds", in the order the preset writer
// puts them; each is written only when it is not empty.
const SECTION_MEMBERS = [
  ['modes', modesLines],
  ['layers', layersLines],
  ['sequences', sequencesLines],
  ['switches', switchesLines],
  // sticks.js loads later than this table is made.
  ['sticks', function (sticks) { return sticksMemberLines(sticks); }]
];

function sectionMemberBlocks(joystick) {
  return SECTION_MEMBERS.filter(function (member) {
    return Array.isArray(joystick[member[0]]) && joystick[member[0]].length > 0;
  }).map(function (member) { return member[1](joystick[member[0]]); });
}
