// SPDX-License-Identifier: GPL-3.0-or-later
// The sticks of a joystick section: which axes make a stick, its dead zones, its response curve
// and its acceleration, as the section's "sticks" holds them (docs/preset-format.md gives the
// rules). Each stick's row has its fields, a picture of its curve (output speed against
// deflection, with both dead zones), and a picture of where the stick is now against its dead
// zones, from the live view's axis values while its pad is connected.
//
// Offers (to the application): addStick.
// Offers (to the other parts): sticksBlock, shownSticks, sticksMemberLines, showStickPositions,
//   bindStickEvents, STICK_RULES, stickOutput.
// Needs: jQuery; floatText, jsonString, block (bind_texts.js); groups, appendGroup, connectedNames,
//   accept, checkField, fieldValue, iconButton, optionsFor (editor.js); liveValues (live_view.js);
//   fitWindow (config.js).
'use strict';

const STICK_KINDS = [['pair', 'Stick (x, y)'], ['single', 'One axis'], ['trigger', 'Trigger']];
const DEAD_ZONE_SHAPES = [['round', 'Round'], ['axial', 'Per axis']];
const SVG_NAMESPACE = 'http://www.w3.org/2000/svg';
// What a stick added in the editor starts with; a stick's settings as the preset reader leaves
// them when the file names its axes only are "axial 0.15", "0", "1" and "off".
const NEW_STICK = { round: true, deadZone: 0.15, outerDeadZone: 0, curve: 1 };
// What the acceleration fields suggest while it is off.
const SUGGESTED_ACCELERATION = { factor: 2, rampMs: 500, from: 0.9 };

// ------------------------------------------------------------ field rules

// A number of the text as the reader takes it (the nearest float), or null when the text is none
// or the float is outside [lowest, highest].
function floatIn(text, lowest, highest) {
  const trimmed = String(text).trim();
  const number = trimmed === '' ? NaN : Math.fround(Number(trimmed));
  return Number.isFinite(number) && number >= Math.fround(lowest) && number <= Math.fround(highest)
    ? number + 0 : null;
}

function wholeIn(text, highest) {
  const trimmed = String(text).trim();
  const number = /^\d+$/.test(trimmed) ? Number(trimmed) : NaN;
  return number <= highest ? number : null;
}

function belowOne(text) {
  const number = floatIn(text, 0, 1);
  return number !== null && number < 1 ? number : null;
}

// What each field of a stick accepts, as the preset reader does; how it shows a number.
const STICK_RULES = {
  axis: { read: function (text) { return wholeIn(text, 4294967295); }, format: String,
    problem: 'Use a whole axis number from 0 to 4294967295' },
  deadZone: { read: belowOne, format: floatText, problem: 'Use a number from 0 to below 1' },
  outerDeadZone: { read: belowOne, format: floatText, problem: 'Use a number from 0 to below 1' },
  curve: { read: function (text) { return floatIn(text, 0.1, 10); }, format: floatText,
    problem: 'Use a number from 0.1 to 10' },
  factor: { read: function (text) { return floatIn(text, 1, 10); }, format: floatText,
    problem: 'Use a factor from 1 to 10' },
  rampMs: { read: function (text) { return wholeIn(text, 10000); }, format: String,
    problem: 'Use a whole number of ms from 0 to 10000' },
  from: { read: function (text) { const n = floatIn(text, 0, 1); return n > 0 ? n : null; },
    format: floatText, problem: 'Use a deflection above 0 and up to 1' }
};

// -------------------------------------------------- settings and their texts

// A stick's settings from the texts the application gives (the writer's); a text that does not
// read leaves that setting as a new stick has it.
function parseStick(texts) {
  const stick = Object.assign({ kind: 'pair', x: 0, y: 1, accelerates: false },
    NEW_STICK, SUGGESTED_ACCELERATION);
  const words = function (key) { return String(texts[key] || '').trim().split(/\s+/); };
  const axes = words('axes');
  if (axes[0] === 'trigger' || axes.length === 1) {
    stick.kind = axes[0] === 'trigger' ? 'trigger' : 'single';
    stick.x = STICK_RULES.axis.read(axes[axes.length - 1]) || 0;
  } else {
    stick.x = STICK_RULES.axis.read(axes[0]) || 0;
    stick.y = STICK_RULES.axis.read(axes[1]) || 0;
  }
  const deadZone = words('deadZone');
  stick.round = deadZone[0] === 'round';
  stick.deadZone = belowOne(deadZone[1]) ?? 0.15;
  stick.outerDeadZone = belowOne(words('outerDeadZone')[0]) ?? 0;
  stick.curve = STICK_RULES.curve.read(words('curve')[0]) ?? 1;
  const acceleration = words('acceleration');
  if (acceleration.length === 3) {
    stick.accelerates = true;
    stick.factor = STICK_RULES.factor.read(acceleration[0]) ?? stick.factor;
    stick.rampMs = STICK_RULES.rampMs.read(acceleration[1]) ?? stick.rampMs;
    stick.from = STICK_RULES.from.read(acceleration[2]) ?? stick.from;
  }
  return stick;
}

function axesText(stick) {
  if (stick.kind === 'pair') {
    return stick.x + ' ' + stick.y;
  }
  return (stick.kind === 'trigger' ? 'trigger ' : '') + stick.x;
}

// Acceleration that does nothing (a factor of 1, no ramp, from the rim) is written "off", as the
// writer does.
function accelerationText(stick) {
  if (!stick.accelerates || (stick.factor === 1 && stick.rampMs === 0 && stick.from === 1)) {
    return 'off';
  }
  return floatText(stick.factor) + ' ' + stick.rampMs + ' ' + floatText(stick.from);
}

// Each setting's key and text, in the writer's order.
function stickTexts(stick) {
  return [
    ['axes', axesText(stick)],
    ['deadZone', (stick.round ? 'round ' : 'axial ') + floatText(stick.deadZone)],
    ['outerDeadZone', floatText(stick.outerDeadZone)],
    ['curve', floatText(stick.curve)],
    ['acceleration', accelerationText(stick)]
  ];
}

// The lines of a section's "sticks" member: sticks as shownSticks gives them (member_texts.js
// writes the member only when there are any).
function sticksMemberLines(sticks) {
  return block('"sticks" : [', ']', sticks.map(function (texts) {
    return block('{', '}', texts.map(function (pair) {
      return [jsonString(pair[0]) + ' : ' + jsonString(pair[1])];
    }));
  }));
}

function axesOf(stick) {
  return stick.kind === 'pair' ? [stick.x, stick.y] : [stick.x];
}

// Why the stick can't be saved as it is (its dead zones leave no travel, or an axis is twice in
// it or in another stick of the section), or null.
function stickConflict(stick, others) {
  if (!(Math.fround(Math.fround(stick.deadZone) + Math.fround(stick.outerDeadZone)) < 1)) {
    return 'The two dead zones together must stay below 1';
  }
  if (stick.kind === 'pair' && stick.x === stick.y) {
    return 'A stick needs two different axes';
  }
  const taken = others.flatMap(axesOf);
  const twice = axesOf(stick).find(function (axis) { return taken.includes(axis); });
  return twice === undefined ? null : 'Axis ' + twice + ' is in another stick of this joystick';
}

// ------------------------------------------------------------------ curve

// A deflection's output from 0 to 1, for a magnitude from 0 (at rest) to 1 (the rim): 0 in the
// inner dead zone, 1 in the outer one, and the curve between.
function stickOutput(stick, magnitude) {
  if (!(magnitude > stick.deadZone)) {
    return 0;
  }
  const travel = Math.min((magnitude - stick.deadZone) / (1 - stick.outerDeadZone - stick.deadZone), 1);
  return Math.pow(travel, stick.curve);
}

// The magnitudes the live view shows on the curve: a round pair's length, each axis of an axial
// pair, a single axis's |v| and a trigger's travel; axes not seen yet at rest.
function liveMagnitudes(stick, values) {
  const at = function (axis) {
    const value = values['axi ' + axis];
    return typeof value === 'number' ? value : (stick.kind === 'trigger' ? -1 : 0);
  };
  if (stick.kind === 'trigger') {
    return [(at(stick.x) + 1) / 2];
  }
  if (stick.kind === 'single') {
    return [Math.abs(at(stick.x))];
  }
  const x = at(stick.x);
  const y = at(stick.y);
  return stick.round ? [Math.hypot(x, y)] : [Math.abs(x), Math.abs(y)];
}

// ---------------------------------------------------------------- pictures

function svgNode(tag, attributes) {
  const node = document.createElementNS(SVG_NAMESPACE, tag);
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, String(value));
  }
  return node;
}

const CURVE_WIDTH = 120;
const CURVE_HEIGHT = 64;

function curvePoint(magnitude, output) {
  return (Math.min(magnitude, 1) * CURVE_WIDTH).toFixed(2) + ',' + ((1 - output) * CURVE_HEIGHT).toFixed(2);
}

// Output speed against deflection: the dead zones shaded, the curve, where acceleration begins,
// and the stick's live magnitudes as dots on the curve.
function drawCurve(svg, stick, magnitudes) {
  const inner = stick.deadZone;
  const outer = 1 - stick.outerDeadZone;
  const nodes = [
    svgNode('rect', { class: 'dead-zone', x: 0, y: 0, width: inner * CURVE_WIDTH, height: CURVE_HEIGHT }),
    svgNode('rect', { class: 'outer-zone', x: outer * CURVE_WIDTH, y: 0,
      width: (1 - outer) * CURVE_WIDTH, height: CURVE_HEIGHT })
  ];
  if (accelerationText(stick) !== 'off') {
    const x = (inner + stick.from * (outer - inner)) * CURVE_WIDTH;
    nodes.push(svgNode('line', { class: 'acceleration', x1: x, y1: 0, x2: x, y2: CURVE_HEIGHT }));
  }
  const points = [curvePoint(0, 0), curvePoint(inner, 0)];
  const steps = 32;
  for (let i = 1; i <= steps; i++) {
    const magnitude = inner + (outer - inner) * i / steps;
    points.push(curvePoint(magnitude, stickOutput(stick, magnitude)));
  }
  points.push(curvePoint(1, 1));
  nodes.push(svgNode('polyline', { class: 'curve', points: points.join(' ') }));
  for (const magnitude of magnitudes) {
    const [cx, cy] = curvePoint(magnitude, stickOutput(stick, magnitude)).split(',');
    nodes.push(svgNode('circle', { class: 'live-dot', cx: cx, cy: cy, r: 3 }));
  }
  svg.replaceChildren(...nodes);
}

// The zone a pair's dead zone covers: a circle of radius r when round, else a square.
function pairZone(stick, className, r) {
  return stick.round ? svgNode('circle', { class: className, cx: 0, cy: 0, r: r })
    : svgNode('rect', { class: className, x: -r, y: -r, width: 2 * r, height: 2 * r });
}

// Where a pair points, in its box from -1 to 1 on each axis; the outer dead zone is outside the
// rim shape.
function drawPair(svg, stick, values, live) {
  const nodes = [svgNode('rect', { class: 'outer-zone', x: -1, y: -1, width: 2, height: 2 }),
    pairZone(stick, 'travel', 1 - stick.outerDeadZone)];
  if (!stick.round) {
    const d = stick.deadZone;
    nodes.push(svgNode('rect', { class: 'dead-band', x: -d, y: -1, width: 2 * d, height: 2 }),
      svgNode('rect', { class: 'dead-band', x: -1, y: -d, width: 2, height: 2 * d }));
  }
  nodes.push(pairZone(stick, 'dead-zone', stick.deadZone));
  if (live) {
    const x = values['axi ' + stick.x] || 0;
    const y = values['axi ' + stick.y] || 0;
    const resting = stick.round ? Math.hypot(x, y) <= stick.deadZone
      : Math.max(Math.abs(x), Math.abs(y)) <= stick.deadZone;
    nodes.push(svgNode('circle', { class: 'live-dot' + (resting ? ' resting' : ''), cx: x, cy: y, r: 0.09 }));
  }
  svg.setAttribute('viewBox', '-1.1 -1.1 2.2 2.2');
  svg.replaceChildren(...nodes);
}

// One axis as a bar from -1 to 1 (a trigger from rest to pressed home, 0 to 1), its zones shaded
// and a mark where it is.
function drawBar(svg, stick, values, live) {
  const trigger = stick.kind === 'trigger';
  const low = trigger ? 0 : -1;
  const spot = function (at) { return (at - low) / (1 - low) * CURVE_WIDTH; };
  const span = function (className, from, to) {
    return svgNode('rect', { class: className, x: spot(from), y: 0, width: spot(to) - spot(from), height: 14 });
  };
  const inner = stick.deadZone;
  const outer = 1 - stick.outerDeadZone;
  const nodes = [span('travel', low, 1), span('dead-zone', trigger ? 0 : -inner, inner), span('outer-zone', outer, 1)];
  if (!trigger) {
    nodes.push(span('outer-zone', -1, -outer));
  }
  if (live) {
    const value = values['axi ' + stick.x];
    const at = trigger ? ((typeof value === 'number' ? value : -1) + 1) / 2 : (value || 0);
    const resting = Math.abs(at) <= inner;
    nodes.push(svgNode('rect', { class: 'live-dot' + (resting ? ' resting' : ''), x: spot(at) - 1.5, y: -2,
      width: 3, height: 18 }));
  }
  svg.setAttribute('viewBox', '-2 -3 ' + (CURVE_WIDTH + 4) + ' 20');
  svg.replaceChildren(...nodes);
}

// Draws both pictures of a stick's row from its fields and, while the section's pad is
// connected, the axis values the live view last had.
function drawStick(row) {
  const stick = shownStick(row);
  const joystick = groups().index(row.closest('itemgroup'));
  const live = joystick >= 0 && joystick < connectedNames().length;
  const values = (live && liveValues[joystick]) || {};
  drawCurve(row.find('svg.stick-curve')[0], stick, live ? liveMagnitudes(stick, values) : []);
  const position = row.find('svg.stick-position')[0];
  position.classList.toggle('pair', stick.kind === 'pair');
  (stick.kind === 'pair' ? drawPair : drawBar)(position, stick, values, live);
}

// The sticks of one section (of all when none is given) drawn again.
function showStickPositions(group) {
  (group || $('joysticks')).find('.stick').each(function () { drawStick($(this)); });
}

// ------------------------------------------------------------------- rows

function stickNumberField(rule, title, step) {
  return $('<input type="number" class="stick-field" min="0">').addClass(rule)
    .attr({ title: title, step: step }).data('rule', rule);
}

function labelled(text, ...controls) {
  return $('<label class="stick-setting">').append($('<span class="caption">').text(text), ...controls);
}

function stickRow() {
  const fields = $('<div class="stick-fields">').append(
    labelled('Axes', optionsFor($('<select class="stick-kind" title="What the axes are">'), STICK_KINDS, 'pair'),
      stickNumberField('axis', 'The axis (x for a stick)', 1).addClass('x'),
      stickNumberField('axis', 'The y axis', 1).addClass('y')),
    labelled('Dead zone',
      optionsFor($('<select class="dead-zone-shape" title="Round: on the stick\'s length, so that a diagonal ' +
        'push does not snap to an axis. Per axis: on each axis alone">'), DEAD_ZONE_SHAPES, 'round'),
      stickNumberField('deadZone', 'No output up to this deflection, from 0 to below 1', 0.01)),
    labelled('Outer', stickNumberField('outerDeadZone',
      'Full output this far before the rim, for sticks that no longer reach it', 0.01)),
    labelled('Curve', stickNumberField('curve',
      'The output is the deflection to this power: above 1, fine control near the centre; 1 is a line', 0.1)),
    labelled('Acceleration',
      optionsFor($('<select class="acceleration" title="Speed that grows while the stick is held far out">'),
        [['off', 'Off'], ['on', 'On']], 'off'),
      $('<span class="acceleration-fields">').append(
        $('<span class="unit">').text('×'), stickNumberField('factor', 'Up to this factor, from 1 to 10', 0.5),
        $('<span class="unit">').text('over'), stickNumberField('rampMs', 'Reached after this many ms', 50),
        $('<span class="unit">').text('ms from'),
        stickNumberField('from', 'Beginning at this deflection between the dead zones, above 0 and up to 1', 0.05))));
  const pictures = $('<div class="stick-pictures">').append(
    $('<span class="stick-picture">').attr('title', 'Output speed against deflection, with the dead zones shaded')
      .append(svgNode('svg', { class: 'stick-curve', role: 'img',
        viewBox: '-4 -4 ' + (CURVE_WIDTH + 8) + ' ' + (CURVE_HEIGHT + 8) })),
    $('<span class="stick-picture">').attr('title', 'Where the stick is against its dead zones, while its pad ' +
      'is connected').append(svgNode('svg', { class: 'stick-position', role: 'img' })));
  return $('<div class="stick">').append(fields, pictures,
    iconButton('✕', 'Remove this stick', 'danger remove-stick'));
}

// Shows a stick's settings in its row's fields, as accepted values.
function fillStickRow(row, stick) {
  row.find('select.stick-kind').val(stick.kind);
  row.find('select.dead-zone-shape').val(stick.round ? 'round' : 'axial');
  row.find('select.acceleration').val(stick.accelerates ? 'on' : 'off');
  accept(row.find('input.x'), String(stick.x));
  accept(row.find('input.y'), String(stick.y));
  for (const rule of ['deadZone', 'outerDeadZone', 'curve', 'factor', 'rampMs', 'from']) {
    accept(row.find('input.' + rule), STICK_RULES[rule].format(stick[rule]));
  }
  showStickKind(row);
}

// Fields that mean nothing for the stick's kind or while acceleration is off are hidden; they keep
// their values, which are saved as the writer would keep them.
function showStickKind(row) {
  const kind = row.find('select.stick-kind').val();
  row.find('input.y').toggle(kind === 'pair');
  row.find('select.dead-zone-shape').toggle(kind === 'pair');
  row.find('.acceleration-fields').toggle(row.find('select.acceleration').val() === 'on');
}

// The stick as its row shows it; override ({field, value}) stands in for one field's number.
function shownStick(row, override) {
  const value = function (field, rule) {
    return override && override.field === field[0] ? override.value : fieldValue(field, STICK_RULES[rule]);
  };
  const stick = {
    kind: row.find('select.stick-kind').val(),
    x: value(row.find('input.x'), 'axis'),
    y: value(row.find('input.y'), 'axis'),
    round: row.find('select.dead-zone-shape').val() === 'round',
    accelerates: row.find('select.acceleration').val() === 'on'
  };
  for (const rule of ['deadZone', 'outerDeadZone', 'curve', 'factor', 'rampMs', 'from']) {
    stick[rule] = value(row.find('input.' + rule), rule);
  }
  return stick;
}

function otherSticks(row) {
  return row.siblings('.stick').map(function () { return shownStick($(this)); }).get();
}

// A field's number is refused when the reader would refuse it, alone or with the stick's other
// settings and the section's other sticks.
function checkStickField(field) {
  const rule = STICK_RULES[field.data('rule')];
  const row = field.closest('.stick');
  const value = rule.read(field.val());
  const problem = value === null ? rule.problem
    : stickConflict(shownStick(row, { field: field[0], value: value }), otherSticks(row));
  checkField(field, problem === null ? rule : { read: function () { return null; }, problem: problem });
  drawStick(row);
}

// The lowest axis number that no stick of the section has, leaving out `also`.
function freeAxis(group, also) {
  const taken = new Set(also);
  group.find('.stick').each(function () { axesOf(shownStick($(this))).forEach(function (a) { taken.add(a); }); });
  let axis = 0;
  while (taken.has(axis)) {
    axis++;
  }
  return axis;
}

function appendStick(group, stick) {
  const row = stickRow();
  group.find('.stick-list').append(row);
  fillStickRow(row, stick);
  drawStick(row);
  return row;
}

// ------------------------------------------------------------------ block

function sticksBlock() {
  return $('<section class="sticks">').append(
    $('<h3>').text('Sticks'),
    $('<p class="hint">').text('How axes feel when they move the cursor or the wheel: dead zones, a ' +
      'response curve and acceleration. Axes that no stick names keep a dead zone of 0.15 on each axis ' +
      'and a straight line.'),
    $('<div class="stick-list">'),
    $('<button type="button" class="quiet add-stick">').text('+ Add stick')
      .attr('title', 'Give two axes (or one) dead zones, a curve and acceleration of their own'));
}

function addStick(joystick, texts) {
  if (!Number.isInteger(joystick) || joystick < 0 || joystick > 255) {
    return;
  }
  while (groups().length <= joystick) {
    appendGroup('');
  }
  appendStick(groups().eq(joystick), parseStick(texts || {}));
}

// Each stick's setting texts, as a section's "sticks" holds them. A number still being typed (the
// window may close before its field is left) is checked first, as leaving the field would.
function shownSticks(group) {
  group.find('input.stick-field').each(function () {
    if ($(this).val() !== String($(this).data('accepted'))) {
      checkStickField($(this));
    }
  });
  return group.find('.stick').map(function () { return [stickTexts(shownStick($(this)))]; }).get();
}

function bindStickEvents() {
  const root = $('joysticks');
  root.on('change', 'input.stick-field', function () {
    checkStickField($(this));
  });
  // The pictures follow a number while it is typed; the field is checked when it is left.
  root.on('input', 'input.stick-field', function () {
    drawStick($(this).closest('.stick'));
  });
  root.on('change', 'select.stick-kind', function () {
    const row = $(this).closest('.stick');
    const y = row.find('input.y');
    const stick = shownStick(row);
    if (stick.kind === 'pair' && stickConflict(stick, otherSticks(row)) !== null) {
      accept(y, String(freeAxis(row.closest('itemgroup'), [stick.x])));
    }
    showStickKind(row);
    drawStick(row);
  });
  root.on('change', 'select.dead-zone-shape, select.acceleration', function () {
    showStickKind($(this).closest('.stick'));
    drawStick($(this).closest('.stick'));
  });
  root.on('click', '.add-stick', function () {
    const group = $(this).closest('itemgroup');
    const x = freeAxis(group, []);
    const row = appendStick(group, Object.assign({ kind: 'pair', x: x, y: freeAxis(group, [x]),
      accelerates: false }, NEW_STICK, SUGGESTED_ACCELERATION));
    fitWindow();
    row[0].scrollIntoView({ block: 'nearest' });
  });
  root.on('click', '.remove-stick', function () {
    $(this).closest('.stick').remove();
    fitWindow();
  });
}
