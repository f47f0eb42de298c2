// SPDX-License-Identifier: GPL-3.0-or-later
// Bind texts and the preset text of the editor: reading and writing the input texts ("btn 3",
// "axi 1 -", "hat 0 U") and output texts ("key 44", "mou 0 + 6"), the numbers their fields
// accept, and the file text of a whole preset. Nothing here touches the page.
//
// Offers: INPUT_KINDS, AXIS_DIRECTIONS, HAT_DIRECTIONS, OUTPUT_KINDS, NEW_OUTPUT, MAX_NUMBER,
//   parseInputText, inputText, outputKind, parseOutputText, outputText, formatAmount, floatText,
//   FIELD_RULES (bindNumber, speed), jsonString, block, presetText.
// Needs: OUTPUT_KIND_TABLE (output_kinds.js, which the build makes from the table the preset
//   reader uses); sectionMemberBlocks (member_texts.js).
'use strict';

// Each kind of input and direction by its word in an input text, and as the editor names it.
const INPUT_KINDS = [['btn', 'Button'], ['axi', 'Axis'], ['hat', 'Hat']];
const AXIS_DIRECTIONS = [['+', '+  right / down'], ['-', '−  left / up']];
const HAT_DIRECTIONS = [['U', 'Up'], ['R', 'Right'], ['D', 'Down'], ['L', 'Left']];
const OUTPUT_KINDS = OUTPUT_KIND_TABLE.map(function (row) { return [row.word, row.label]; });
// A new output: the first kind at its default code (a key, Space).
const NEW_OUTPUT = OUTPUT_KIND_TABLE[0].word + ' ' + OUTPUT_KIND_TABLE[0].defaultCode;
// The largest button, axis or hat number the preset reader takes.
const MAX_NUMBER = 2147483647;

// ------------------------------------------------------------------ inputs

function parseInputText(text) {
  const match = /^(btn|axi|hat)\s*([+-]?\d+)\s*(\S?)/.exec(String(text));
  if (!match) {
    return { kind: 'btn', index: 0, direction: '' };
  }
  const kind = match[1];
  let direction = match[3];
  if (kind === 'axi' && direction !== '-') {
    direction = '+';
  } else if (kind === 'hat' && !'URDL'.includes(direction || '-')) {
    direction = 'U';
  }
  return { kind: kind, index: Number(match[2]), direction: kind === 'btn' ? '' : direction };
}

function inputText(input) {
  const base = input.kind + ' ' + input.index;
  return input.kind === 'btn' ? base : base + ' ' + input.direction;
}

// ----------------------------------------------------------------- outputs

// The row of the table for a kind's word; the first row for a word that names no kind.
function outputKind(word) {
  return OUTPUT_KIND_TABLE.find(function (row) { return row.word === word; }) || OUTPUT_KIND_TABLE[0];
}

const OUTPUT_TEXT = new RegExp('^(' + OUTPUT_KIND_TABLE.map(function (row) { return row.word; }).join('|') +
  ')\\s*([+-]?\\d+)(?:\\s*([+-])(?:\\s*([^\\s]+))?)?');

// A text that is no output gives the first kind with its defaults.
function parseOutputText(text) {
  const match = OUTPUT_TEXT.exec(String(text));
  const kind = outputKind(match ? match[1] : '');
  if (!match) {
    return { kind: kind.word, code: kind.defaultCode, sign: '+', amount: kind.defaultAmount };
  }
  const amount = parseFloat(match[4]);
  return {
    kind: kind.word,
    code: Number(match[2]),
    sign: match[3] || '+',
    amount: Number.isFinite(amount) ? amount : kind.defaultAmount
  };
}

// Six significant digits, as the preset files write amounts; what is no number gives the
// default of the kind.
function formatAmount(value, kind) {
  return floatText(Number.isFinite(value) ? value : outputKind(kind).defaultAmount);
}

// A number as the preset writer writes the single-precision numbers of a preset: the nearest
// float, in six significant digits (a float exactly halfway between two goes to the even one),
// without trailing zeros, in exponent form ("1e-05", "1.5e+06") below 0.0001 and from a million on.
function floatText(value) {
  const number = Math.fround(value) + 0; // -0 as 0
  if (number === 0 || !Number.isFinite(number)) {
    return String(number);
  }
  // Forty digits hold a float of a preset's range exactly enough to tell a tie from its neighbours.
  const [exact, power] = Math.abs(number).toExponential(40).split('e');
  const all = exact.replace('.', '');
  let head = Number(all.slice(0, 6));
  let exponent = Number(power);
  const tail = all.slice(6);
  const half = '5'.padEnd(tail.length, '0');
  if (tail > half || (tail === half && head % 2 === 1)) {
    head += 1;
  }
  if (head === 1000000) {
    head = 100000;
    exponent += 1;
  }
  const digits = String(head);
  const trimmed = function (text) { return text.replace(/0+$/, '').replace(/\.$/, ''); };
  const sign = number < 0 ? '-' : '';
  if (exponent < -4 || exponent >= 6) {
    const exponentText = String(Math.abs(exponent)).padStart(2, '0');
    return sign + trimmed(digits[0] + '.' + digits.slice(1)) + 'e' + (exponent < 0 ? '-' : '+') + exponentText;
  }
  const fixed = exponent < 0 ? '0.' + '0'.repeat(-exponent - 1) + digits
    : digits.slice(0, exponent + 1) + '.' + digits.slice(exponent + 1);
  return sign + trimmed(fixed);
}

function outputText(output) {
  const kind = outputKind(output.kind);
  let text = kind.word + ' ' + output.code;
  if (kind.hasSign) {
    text += ' ' + output.sign;
  }
  if (kind.hasAmount) {
    text += ' ' + formatAmount(output.amount, kind.word);
  }
  return text;
}

// ----------------------------------------------------------- number fields

// A field's text as a button, axis or hat number, or null when it is none.
function bindNumber(text) {
  const trimmed = String(text).trim();
  const number = /^\d+$/.test(trimmed) ? Number(trimmed) : NaN;
  return number <= MAX_NUMBER ? number : null;
}

// A field's text as a speed, or null when it is none.
function speed(text) {
  const trimmed = String(text).trim();
  const number = trimmed === '' ? NaN : Number(trimmed);
  return Number.isFinite(number) && number >= 0 ? number : null;
}

// What a number field of a bind accepts, how it shows an accepted number, and what it says of
// a text it refuses.
const FIELD_RULES = {
  index: { read: bindNumber, format: String, problem: 'Use a whole number from 0 to ' + MAX_NUMBER },
  amount: { read: speed, format: formatAmount, problem: 'Use a finite speed of 0 or more' }
};

// --------------------------------------------------------- the preset text

// A JSON string literal that the preset reader turns back into `text`.
function jsonString(text) {
  let out = '"';
  for (const ch of String(text)) {
    const code = ch.codePointAt(0);
    if (ch === '"' || ch === '\\') {
      out += '\\' + ch;
    } else if (ch === '\n') {
      out += '\\n';
    } else if (ch === '\r') {
      out += '\\r';
    } else if (ch === '\t') {
      out += '\\t';
    } else if (ch === '\b') {
      out += '\\b';
    } else if (ch === '\f') {
      out += '\\f';
    } else if (code < 0x20 || code === 0x7f) {
      out += '\\u' + code.toString(16).padStart(4, '0');
    } else {
      out += ch;
    }
  }
  return out + '"';
}

// Lines of one value: `opening` ends its first line, `items` are line lists
// indented one level deeper, joined by commas at line ends.
function block(opening, closing, items) {
  const lines = [opening];
  items.forEach(function (item, i) {
    const inner = item.map(function (line) { return '\t' + line; });
    if (i < items.length - 1) {
      inner[inner.length - 1] += ',';
    }
    lines.push.apply(lines, inner);
  });
  lines.push(closing);
  return lines;
}

// A bind's members: {input, outputs}, each an input or output text.
function bindLines(bind) {
  const outputs = bind.outputs.map(function (output) { return [jsonString(output)]; });
  return block(jsonString(bind.input) + ' : [', ']', outputs);
}

// A joystick section's members: {tag, binds}, and between them those that sectionMemberBlocks
// (member_texts.js) writes.
function joystickLines(joystick) {
  return block('{', '}', [['"tag" : ' + jsonString(joystick.tag)]].concat(sectionMemberBlocks(joystick),
    [block('"binds" : {', '}', joystick.binds.map(bindLines))]));
}

// The file text of preset {name, tag, joysticks, programs}, laid out as the preset writer lays
// it out; a preset without joysticks or programs has no such member.
function presetText(preset) {
  const members = [
    ['"name" : ' + jsonString(preset.name)],
    ['"tag" : ' + jsonString(preset.tag)]
  ];
  if (preset.joysticks.length > 0) {
    members.push(block('"joysticks" : [', ']', preset.joysticks.map(joystickLines)));
  }
  if (preset.programs.length > 0) {
    const programs = preset.programs.map(function (program) { return [jsonString(program)]; });
    members.push(block('"activateFor" : [', ']', programs));
  }
  return block('{', '}', members).join('\n') + '\n';
}
