// SPDX-License-Identifier: GPL-3.0-or-later
// The preset editor: the page's joystick sections, their bind rows and the fields of each row
// (an input, its outputs), and the programs block. It fills them as the application asks and
// reads them back as the preset's text.
//
// Offers (to the application): joystickNames, clearJoysticks, addJoystick, addBind,
//   updateRelatedJoystick, generatePresetString, setActivateFor, showFollowing.
// Offers (to the other parts): groups, bindsOf, shownBinds, connectedNames, readBindInput,
//   setBindInput, readInputEditor, setInputEditor, inputEditor, iconButton, optionsFor,
//   numberInput, accept, checkField, fieldValue, renderOutputParameters, readOutputOfKind,
//   CODE_CONTROLS, newBind, appendBind, addOutputToBind, addNewBind, updateBindsState, flash,
//   bindEditorEvents, bindProgramEvents, refreshJoystickTitles, appendGroup.
// Needs: jQuery; KEY_GROUPS, KEY_NAMES, keyName (keynames.js); bind_texts.js; stopModal
//   (capture.js); liveParts, liveControlLabel, foundControlOffer, showControlName
//   (live_view.js); modeParts (bind_modes.js); BASE_LAYER, bindsIn, placeInShownLayer
//   (layers.js); addMemberParts, shownSectionMembers, showInputMembers, showMemberNames
//   (section_members.js); sticksBlock, shownSticks, showStickPositions (sticks.js); fitWindow
//   (config.js); appconfig.enableFocusHelper.
'use strict';

// Names of the connected joysticks, in the order the joystick layer reports
// them; replaced by the application whenever it counts the joysticks.
var joystickNames = [];

// The bind that the last addBind() call filled: consecutive calls with the
// same joystick and input text belong to one bind with several outputs.
let lastFilled = null;

const MOUSE_BUTTONS = [[0, 'Left'], [1, 'Right'], [2, 'Middle'], [3, 'Button 4'], [4, 'Button 5'],
  [5, 'Button 6'], [6, 'Button 7'], [7, 'Button 8']];

// ------------------------------------------------------------------ fields

// The field's value, or the last one it accepted while its text is refused.
function fieldValue(field, rule) {
  const value = rule.read(field.val());
  return value !== null ? value : Number(field.data('accepted'));
}

function accept(field, text) {
  field.val(text).data('accepted', text);
  field.siblings('.field-problem').remove();
}

// A number the preset cannot hold is refused: the field goes back to the value it had, and a
// note beside it says why.
function checkField(field, rule) {
  const value = rule.read(field.val());
  if (value !== null) {
    accept(field, rule.format(value));
    return;
  }
  const kept = String(field.data('accepted'));
  accept(field, kept);
  field.after($('<span class="field-problem" role="alert">')
    .text(rule.problem + '; kept ' + kept + '.'));
}

// --------------------------------------------------------------- controls

function optionsFor(select, pairs, selected) {
  select.empty();
  for (const [value, label] of pairs) {
    select.append($('<option>').val(String(value)).text(label));
  }
  select.val(String(selected));
  return select;
}

const keySelectTemplate = (function () {
  const select = $('<select class="key" title="Key">');
  for (const [group, keys] of KEY_GROUPS) {
    const optgroup = $('<optgroup>').attr('label', group);
    for (const [number, name] of keys) {
      optgroup.append($('<option>').val(String(number)).text(name));
    }
    select.append(optgroup);
  }
  return select;
})();

function keySelect(code) {
  const select = keySelectTemplate.clone();
  if (!KEY_NAMES.has(code)) {
    select.prepend($('<option>').val(String(code)).text(keyName(code)));
  }
  return select.val(String(code));
}

function mouseButtonSelect(code) {
  const pairs = MOUSE_BUTTONS.slice();
  if (!pairs.some(function (pair) { return pair[0] === code; })) {
    pairs.push([code, 'Button ' + (code + 1)]);
  }
  return optionsFor($('<select class="button" title="Mouse button">'), pairs, code);
}

function numberInput(className, value, title, step) {
  return $('<input type="number" min="0">').addClass(className).attr({ title: title, step: step })
    .val(String(value)).data('accepted', String(value));
}

function iconButton(label, title, className) {
  return $('<button type="button" class="quiet icon">').addClass(className).text(label).attr('title', title);
}

// ------------------------------------------------------------------ inputs

// A button has no direction; its empty selector keeps its place so that the
// Detect buttons of all binds line up.
function renderInputDirection(editor, direction) {
  const kind = editor.find('select.input-kind').val();
  const select = editor.find('select.direction');
  if (kind === 'axi') {
    optionsFor(select, AXIS_DIRECTIONS, direction === '-' ? '-' : '+');
  } else if (kind === 'hat') {
    optionsFor(select, HAT_DIRECTIONS, 'URDL'.includes(direction || '-') ? direction : 'U');
  } else {
    select.empty();
  }
  select.css('visibility', kind === 'btn' ? 'hidden' : 'visible');
  inputShown(editor);
}

// An input editor shows another input: what names it and what belongs to it follow.
function inputShown(editor) {
  showControlName(editor.closest('.bind'));
  showInputMembers(editor);
}

function setInputEditor(editor, text) {
  const input = parseInputText(text);
  editor.find('select.input-kind').val(input.kind);
  accept(editor.find('input.index'), String(input.index));
  renderInputDirection(editor, input.direction);
}

function readInputEditor(editor) {
  const kind = editor.find('select.input-kind').val();
  return inputText({
    kind: kind,
    index: fieldValue(editor.find('input.index'), FIELD_RULES.index),
    direction: editor.find('select.direction').val() || ''
  });
}

function setBindInput(bind, text) {
  setInputEditor(bind.children('.input'), text);
}

function readBindInput(bind) {
  return readInputEditor(bind.children('.input'));
}

function inputEditor() {
  const kind = optionsFor($('<select class="input-kind" title="Kind of input">'), INPUT_KINDS, 'btn');
  const index = numberInput('index', 0, 'Number of the button, axis or hat', 1);
  const direction = $('<select class="direction" title="Direction">');
  const detect = $('<button type="button" class="detect">').text('Detect')
    .attr('title', 'Press a button or move a control on the joystick to fill this in');
  return $('<div class="input">').append(kind, index, direction, detect, liveParts());
}

// ----------------------------------------------------------------- outputs

function axisLabel(code) {
  return code === 0 ? 'Horizontal' : 'Vertical';
}

function signPairs(code) {
  return code === 0 ? [['+', 'Right'], ['-', 'Left']] : [['+', 'Down'], ['-', 'Up']];
}

function axisSelect(code) {
  return optionsFor($('<select class="axis" title="Axis">'), [[0, axisLabel(0)], [1, axisLabel(1)]],
    code === 0 ? 0 : 1);
}

// What an output's code names (the table's `codes`): the control that shows it, and its selector.
const CODE_CONTROLS = {
  keyNumber: { make: keySelect, selector: 'select.key' },
  mouseButton: { make: mouseButtonSelect, selector: 'select.button' },
  axis: { make: axisSelect, selector: 'select.axis' }
};

function renderOutputParameters(row, output) {
  const params = row.children('.params').empty();
  const kind = outputKind(output.kind);
  params.append(CODE_CONTROLS[kind.codes].make(output.code));
  if (kind.hasSign) {
    const code = output.code === 0 ? 0 : 1;
    params.append(optionsFor($('<select class="sign" title="Direction">'), signPairs(code), output.sign));
  }
  if (kind.hasAmount) {
    params.append(numberInput('amount', formatAmount(output.amount, kind.word),
      'Speed: pixels per 10 ms at full deflection', 0.5), $('<span class="unit">').text('speed'));
  }
}

function readOutput(row) {
  return readOutputOfKind(row, row.find('select.output-kind').val());
}

// The output that a row's parameters show for the kind of word.
function readOutputOfKind(row, word) {
  const kind = outputKind(word);
  const params = row.children('.params');
  const output = { kind: kind.word, code: Number(params.find(CODE_CONTROLS[kind.codes].selector).val()) };
  if (kind.hasSign) {
    output.sign = params.find('select.sign').val() === '-' ? '-' : '+';
  }
  if (kind.hasAmount) {
    output.amount = fieldValue(params.find('input.amount'), FIELD_RULES.amount);
  }
  return output;
}

// The output's parameters as still shown while its kind changes, so that
// sign and amount survive a switch between motion, wheel and wheel step.
// The axis and the amount are null when not shown.
function readOutputLoose(row) {
  const params = row.children('.params');
  const amount = params.find('input.amount');
  return {
    code: params.find('select.axis').length ? Number(params.find('select.axis').val()) : null,
    sign: params.find('select.sign').val() || '+',
    amount: amount.length ? fieldValue(amount, FIELD_RULES.amount) : null
  };
}

function outputRow(text) {
  const output = parseOutputText(text);
  const kind = optionsFor($('<select class="output-kind" title="What the input does">'), OUTPUT_KINDS,
    output.kind);
  const row = $('<div class="output">').append(kind, $('<span class="params">'),
    iconButton('✕', 'Remove this output', 'remove-output'));
  renderOutputParameters(row, output);
  return row;
}

function updateOutputState(bind) {
  const outputs = bind.find('.outputs');
  outputs.children('.no-output').toggle(outputs.children('.output').length === 0);
}

function addOutputToBind(bind, text) {
  const row = outputRow(text);
  bind.children('.outputs').append(row);
  updateOutputState(bind);
  return row;
}

// ------------------------------------------------------------------- binds

// A bind row: its input (with Detect and the live view's parts), its outputs, its actions.
function newBind(input) {
  const outputs = $('<div class="outputs">').append(
    $('<div class="no-output">').text('No output: this bind does nothing yet.').hide());
  const actions = $('<div class="bind-actions">').append(
    $('<button type="button" class="quiet add-output">').text('+ Output')
      .attr('title', 'Let this input do one more thing'),
    iconButton('Remove', 'Remove this bind', 'danger remove-bind'));
  const bind = $('<div class="bind">').append(inputEditor().append(modeParts()), outputs, actions);
  setBindInput(bind, input);
  return bind;
}

function bindsOf(group) {
  return group.children('.binds').children('.bind');
}

// Bind rows of the layer not shown are hidden (layers.js).
function shownBinds(group) {
  return bindsOf(group).not('.off-layer');
}

function updateBindsState(group) {
  group.children('.binds').children('.binds-empty').toggle(shownBinds(group).length === 0);
}

function appendBind(group, input) {
  const bind = newBind(input);
  group.children('.binds').append(bind);
  placeInShownLayer(group, bind);
  updateBindsState(group);
  inputShown(bind.children('.input'));
  return bind;
}

// A bind the user adds: the input, one new output, in view.
function addNewBind(group, input) {
  const bind = appendBind(group, input);
  addOutputToBind(bind, NEW_OUTPUT);
  lastFilled = null;
  fitWindow();
  bind[0].scrollIntoView({ block: 'nearest' });
  return bind;
}

// Plays the rows' flash from its start, also on rows that still flash.
function flash(rows) {
  rows.removeClass('flash');
  void rows[0].offsetWidth;
  rows.addClass('flash');
}

// --------------------------------------------------------------- joysticks

function groups() {
  return $('joysticks > groups > itemgroup');
}

function connectedNames() {
  return Array.isArray(joystickNames) ? joystickNames : [];
}

function updateRelatedJoystick(index, element) {
  const group = $(element || this);
  const names = connectedNames();
  const connected = index < names.length ? String(names[index]) : null;
  const stored = group.data('storedName') || '';
  group.find('> header h2').text('Joystick ' + (index + 1));
  bindsOf(group).each(function () { showControlName($(this)); });
  showMemberNames(group);
  const device = group.find('> header .device').toggleClass('connected', connected !== null);
  device.find('.label').text(connected !== null ? connected : 'not connected');
  const madeFor = device.find('.madefor');
  madeFor.text(stored && stored !== connected ? '· set up with ' + stored : '');
  device.attr('title', stored ? 'Set up with: ' + stored : '');
  showStickPositions(group);
}

function refreshJoystickTitles() {
  groups().each(updateRelatedJoystick);
  $('body').toggleClass('no-joysticks', groups().length === 0);
}

function newGroup(name) {
  const header = $('<header>').append(
    $('<h2>'),
    $('<span class="device">').append($('<span class="led">'), $('<span class="label">'),
      $('<span class="madefor">')),
    liveControlLabel(),
    $('<button type="button" class="quiet danger remove-joystick">').text('Remove joystick')
      .attr('title', 'Remove this joystick and all its binds'));
  const binds = $('<div class="binds">').append(
    $('<div class="binds-empty">').text('No binds yet. Add one below.'));
  const footer = $('<footer>').append(
    $('<button type="button" class="add-bind">').text('+ Add bind'),
    foundControlOffer());
  const group = $('<itemgroup>').append(header, binds, footer);
  group.data('storedName', String(name));
  addMemberParts(group);
  group.append(sticksBlock());
  return group;
}

function clearJoysticks() {
  $('joysticks > groups').empty();
  lastFilled = null;
  stopModal();
  refreshJoystickTitles();
}

function appendGroup(name) {
  const group = newGroup(name);
  $('joysticks > groups').append(group);
  updateBindsState(group);
  lastFilled = null;
  refreshJoystickTitles();
  return group;
}

function addJoystick(name) {
  appendGroup(name === undefined ? '' : name);
}

function addBind(joystick, input, output) {
  if (!Number.isInteger(joystick) || joystick < 0 || joystick > 255) {
    return;
  }
  while (groups().length <= joystick) {
    appendGroup('');
  }
  const group = groups().eq(joystick);
  let bind = null;
  if (lastFilled && lastFilled.joystick === joystick && lastFilled.input === input &&
      $.contains(document.documentElement, lastFilled.bind[0])) {
    bind = lastFilled.bind;
  } else {
    bind = appendBind(group, input);
  }
  addOutputToBind(bind, output);
  lastFilled = { joystick: joystick, input: input, bind: bind };
}

// ---------------------------------------------------- reading the preset back

function joystickNameToSave(group, index) {
  const stored = group.data('storedName') || '';
  if (stored) {
    return stored;
  }
  const names = connectedNames();
  return index < names.length ? String(names[index]) : '';
}

// A bind as its row shows it: its input text and its outputs' texts. A bind's further settings
// join these members.
function shownBind(bind) {
  return {
    input: readBindInput(bind),
    outputs: bind.find('.outputs > .output').map(function () { return outputText(readOutput($(this))); }).get()
  };
}

// A joystick section as shown: its tag, its sticks, its own binds (not its layers'), and the
// members that section_members.js reads.
function shownJoystick(group, index) {
  return Object.assign({
    tag: joystickNameToSave(group, index),
    sticks: shownSticks(group),
    binds: bindsIn(group, BASE_LAYER).map(function () { return shownBind($(this)); }).get()
  }, shownSectionMembers(group));
}

function generatePresetString() {
  return presetText({
    name: $('#name').val(),
    tag: $('#tag').val(),
    joysticks: groups().map(function (index) { return shownJoystick($(this), index); }).get(),
    programs: programsToSave()
  });
}

// ------------------------------------------- programs that switch it on
//
// The preset's "activateFor": programs, named by window class, whose windows
// switch this preset on when they get the focus. The application fills the
// section with setActivateFor(programs, following), where following is
// {followable, text, offerEnable}: whether the session lets the focus be
// followed, which way it is followed or why not, and whether to offer the
// button that sets up the desktop's part (appconfig.enableFocusHelper()).

function programsSection() {
  return $('<section id="programs">').append(
    $('<h2>').text('Switch on for programs'),
    $('<p class="hint">').text('When a window of one of these programs gets the focus, this preset ' +
      'is switched on; when you move on to a program no preset names, the preset you switched on ' +
      'by hand comes back. Name a program by its window class (xprop WM_CLASS shows it) or, on ' +
      'Wayland, its app id; * stands for any text, as in steam_app_* or Minecraft*.'),
    $('<p class="following" role="note">'),
    $('<button type="button" class="enable-follower">').text('Enable the Padloom extension'),
    $('<div class="program-list">'),
    $('<button type="button" class="quiet add-program">').text('+ Add program'));
}

function addProgramRow(text) {
  const input = $('<input type="text" class="program" spellcheck="false" autocomplete="off">')
    .attr({ placeholder: 'Window class or app id, e.g. steam_app_*',
      title: 'Window class or app id; * stands for any text' })
    .val(String(text));
  const row = $('<div class="program-row">').append(input,
    iconButton('✕', 'Remove this program', 'remove-program'));
  $('#programs > .program-list').append(row);
  return input;
}

function setActivateFor(programs, following) {
  $('#programs > .program-list').empty();
  (Array.isArray(programs) ? programs : []).forEach(addProgramRow);
  showFollowing(following);
}

function showFollowing(following) {
  const state = following || {};
  $('#programs').toggleClass('unfollowable', state.followable === false)
    .toggleClass('offers-enable', state.offerEnable === true);
  $('#programs > .following').text(String(state.text || ''));
  $('#programs > .enable-follower').prop('disabled', false);
  fitWindow();
}

// The programs to save: trimmed, without empty or repeated ones.
function programsToSave() {
  const seen = new Set();
  $('#programs input.program').each(function () {
    const program = String($(this).val()).trim();
    if (program !== '') {
      seen.add(program);
    }
  });
  return Array.from(seen);
}

function bindProgramEvents() {
  $('#meta').after(programsSection());
  $('#programs').on('click', '.add-program', function () {
    addProgramRow('').trigger('focus');
    fitWindow();
  });
  $('#programs').on('click', '.enable-follower', function () {
    $(this).prop('disabled', true);
    Promise.resolve(appconfig.enableFocusHelper()).catch(function () {});
  });
  $('#programs').on('click', '.remove-program', function () {
    $(this).closest('.program-row').remove();
    fitWindow();
  });
}

// ------------------------------------------------------------------ events

function firstFreeButton(group) {
  const used = new Set();
  shownBinds(group).each(function () {
    const input = parseInputText(readBindInput($(this)));
    if (input.kind === 'btn') {
      used.add(input.index);
    }
  });
  let number = 0;
  while (used.has(number)) {
    number++;
  }
  return number;
}

function bindEditorEvents() {
  const root = $('joysticks');
  root.on('change', 'select.input-kind', function () {
    renderInputDirection($(this).closest('.input'), '');
  });
  root.on('change', 'input.index', function () {
    checkField($(this), FIELD_RULES.index);
    inputShown($(this).closest('.input'));
  });
  root.on('change', 'select.direction', function () {
    inputShown($(this).closest('.input'));
  });
  root.on('change', 'select.output-kind', function () {
    const row = $(this).closest('.output');
    const previous = readOutputLoose(row);
    const kind = outputKind($(this).val());
    // A kind that names an axis keeps the axis the output had; otherwise each kind starts at its
    // own defaults (scrolling mostly vertical, motion horizontal).
    const keepsAxis = kind.codes === 'axis' && previous.code !== null;
    renderOutputParameters(row, {
      kind: kind.word,
      code: keepsAxis ? previous.code : kind.defaultCode,
      sign: previous.sign,
      amount: previous.amount === null ? kind.defaultAmount : previous.amount
    });
  });
  root.on('change', 'select.axis', function () {
    const row = $(this).closest('.output');
    const code = Number($(this).val());
    const sign = row.find('select.sign');
    optionsFor(sign, signPairs(code), sign.val());
  });
  root.on('change', 'input.amount', function () {
    checkField($(this), FIELD_RULES.amount);
  });
  root.on('click', '.add-output', function () {
    const bind = $(this).closest('.bind');
    addOutputToBind(bind, NEW_OUTPUT).find('select').first().trigger('focus');
    fitWindow();
  });
  root.on('click', '.remove-output', function () {
    const bind = $(this).closest('.bind');
    $(this).closest('.output').remove();
    updateOutputState(bind);
    fitWindow();
  });
  root.on('click', '.add-bind', function () {
    const group = $(this).closest('itemgroup');
    addNewBind(group, 'btn ' + firstFreeButton(group));
  });
  root.on('click', '.remove-bind', function () {
    const bind = $(this).closest('.bind');
    const group = bind.closest('itemgroup');
    bind.remove();
    lastFilled = null;
    updateBindsState(group);
    fitWindow();
  });
  root.on('click', '.remove-joystick', function () {
    const group = $(this).closest('itemgroup');
    const count = bindsOf(group).length;
    const title = group.find('> header h2').text();
    if (count > 0 && !window.confirm('Remove ' + title + ' and its ' + count + ' bind' +
        (count === 1 ? '' : 's') + ' from this preset?')) {
      return;
    }
    group.remove();
    lastFilled = null;
    refreshJoystickTitles();
    fitWindow();
  });
  $('#addJoystick').on('click', function () {
    const group = appendGroup('');
    group[0].scrollIntoView({ block: 'nearest' });
    fitWindow();
  });
}
