// The preset editor.
//
// What the application evaluates in this page (app/pages/page_scripts.h keeps every
// caller, in this order):
//   clearJoysticks()                    before the page is filled with a preset
//   $('#name').val(text), $('#tag').val(text)
//   setActivateFor(programs, following)   the programs that switch it on, and
//                                       what is said about following the focus
//   showFollowing(following)            that alone, the programs left as they are
//   addJoystick(name)                   a joystick section; its binds follow
//   addBind(joystick, input, output)    one output of a bind
//   $('input[type=text]').blur()        before the preset is read back
//   generatePresetString()              read: the preset's file text
//   $('#name').val(), $('#tag').val()   read, after saving
//   getContentHeight()                  read: the height the page needs
//   joystickNames = [...]               the connected joysticks' names
//   updateRelatedJoystick on each joysticks > groups > itemgroup
//   $('#timeOut').text(' [N]')          the detection's countdown
//   $('#inputReceived').text(...)       input received; back to the ESC hint
//   selectInputInBind(joystick, bindNo, input)   the detected input
//   stopModal()                         the detection has ended
//   setControlNames([{input: name}...]) each connected joystick's named controls
//   setSwitchPoint(x)                   where an axis bind that switches turns on
//   showLiveInputs([[j, kind, n, v]...]) controls that moved (live view)
//   clearLiveInputs()                   nothing is shown as moving any more
//
// The page calls back through the global `appconfig`, whose functions return
// Promises. The kinds of output come from OUTPUT_KIND_TABLE (gui/output_kinds.js,
// which the build makes from the table the preset reader uses).
'use strict';

// Names of the connected joysticks, in the order the joystick layer reports
// them; replaced by the application whenever it counts the joysticks.
var joystickNames = [];

// The bind that the last addBind() call filled: consecutive calls with the
// same joystick and input text belong to one bind with several outputs.
let lastFilled = null;

const INPUT_KINDS = [['btn', 'Button'], ['axi', 'Axis'], ['hat', 'Hat']];
const AXIS_DIRECTIONS = [['+', '+  right / down'], ['-', '−  left / up']];
const HAT_DIRECTIONS = [['U', 'Up'], ['R', 'Right'], ['D', 'Down'], ['L', 'Left']];
const OUTPUT_KINDS = OUTPUT_KIND_TABLE.map(function (row) { return [row.word, row.label]; });
// A new output: the first kind at its default code (a key, Space).
const NEW_OUTPUT = OUTPUT_KIND_TABLE[0].word + ' ' + OUTPUT_KIND_TABLE[0].defaultCode;
const MOUSE_BUTTONS = [[0, 'Left'], [1, 'Right'], [2, 'Middle'], [3, 'Button 4'], [4, 'Button 5'],
  [5, 'Button 6'], [6, 'Button 7'], [7, 'Button 8']];
// The largest button, axis or hat number the preset reader takes.
const MAX_NUMBER = 2147483647;

// ---------------------------------------------------------------- bind texts

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
  const number = Number.isFinite(value) ? value : outputKind(kind).defaultAmount;
  return String(Number(number.toPrecision(6)));
}

// ------------------------------------------------------- number fields

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

const FIELD_RULES = {
  index: { read: bindNumber, format: String, problem: 'Use a whole number from 0 to ' + MAX_NUMBER },
  amount: { read: speed, format: formatAmount, problem: 'Use a finite speed of 0 or more' }
};

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
  showControlName(editor.closest('.bind'));
}

function setBindInput(bind, text) {
  const input = parseInputText(text);
  const editor = bind.children('.input');
  editor.find('select.input-kind').val(input.kind);
  accept(editor.find('input.index'), String(input.index));
  renderInputDirection(editor, input.direction);
}

function readBindInput(bind) {
  const editor = bind.children('.input');
  const kind = editor.find('select.input-kind').val();
  return inputText({
    kind: kind,
    index: fieldValue(editor.find('input.index'), FIELD_RULES.index),
    direction: editor.find('select.direction').val() || ''
  });
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
  const kind = outputKind(row.find('select.output-kind').val());
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

function newBind(input) {
  const outputs = $('<div class="outputs">').append(
    $('<div class="no-output">').text('No output: this bind does nothing yet.').hide());
  const actions = $('<div class="bind-actions">').append(
    $('<button type="button" class="quiet add-output">').text('+ Output')
      .attr('title', 'Let this input do one more thing'),
    iconButton('Remove', 'Remove this bind', 'danger remove-bind'));
  const bind = $('<div class="bind">').append(inputEditor(), outputs, actions);
  setBindInput(bind, input);
  return bind;
}

function bindsOf(group) {
  return group.children('.binds').children('.bind');
}

function updateBindsState(group) {
  group.children('.binds').children('.binds-empty').toggle(bindsOf(group).length === 0);
}

function appendBind(group, input) {
  const bind = newBind(input);
  group.children('.binds').append(bind);
  updateBindsState(group);
  showControlName(bind);
  return bind;
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
  const device = group.find('> header .device').toggleClass('connected', connected !== null);
  device.find('.label').text(connected !== null ? connected : 'not connected');
  const madeFor = device.find('.madefor');
  madeFor.text(stored && stored !== connected ? '· set up with ' + stored : '');
  device.attr('title', stored ? 'Set up with: ' + stored : '');
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
    $('<span class="live-control" aria-live="polite">'),
    $('<button type="button" class="quiet danger remove-joystick">').text('Remove joystick')
      .attr('title', 'Remove this joystick and all its binds'));
  const binds = $('<div class="binds">').append(
    $('<div class="binds-empty">').text('No binds yet. Add one below.'));
  const footer = $('<footer>').append(
    $('<button type="button" class="add-bind">').text('+ Add bind'),
    $('<button type="button" class="add-found">').hide());
  const group = $('<itemgroup>').append(header, binds, footer);
  group.data('storedName', String(name));
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

// -------------------------------------------------------- the preset text

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

function joystickNameToSave(group, index) {
  const stored = group.data('storedName') || '';
  if (stored) {
    return stored;
  }
  const names = connectedNames();
  return index < names.length ? String(names[index]) : '';
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

function bindLines(bind) {
  const outputs = bind.find('.outputs > .output').map(function () {
    return [[jsonString(outputText(readOutput($(this))))]];
  }).get();
  return block(jsonString(readBindInput(bind)) + ' : [', ']', outputs);
}

function joystickLines(group, index) {
  const binds = bindsOf(group).map(function () { return [bindLines($(this))]; }).get();
  return block('{', '}', [
    ['"tag" : ' + jsonString(joystickNameToSave(group, index))],
    block('"binds" : {', '}', binds)
  ]);
}

function generatePresetString() {
  const members = [
    ['"name" : ' + jsonString($('#name').val())],
    ['"tag" : ' + jsonString($('#tag').val())]
  ];
  const sections = groups().map(function (index) { return [joystickLines($(this), index)]; }).get();
  if (sections.length > 0) {
    members.push(block('"joysticks" : [', ']', sections));
  }
  members.push.apply(members, programMembers());
  return block('{', '}', members).join('\n') + '\n';
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

// The "activateFor" member as generatePresetString lays it out, or none.
function programMembers() {
  const programs = programsToSave().map(function (program) { return [jsonString(program)]; });
  return programs.length > 0 ? [block('"activateFor" : [', ']', programs)] : [];
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

// ------------------------------------------------------------ window size

function getContentHeight() {
  const height = Math.ceil(document.getElementById('page').getBoundingClientRect().height);
  const limit = Math.max(320, (window.screen.availHeight || 900) - 120);
  return Math.max(260, Math.min(height, limit));
}

let fitTimer = null;

function fitWindow() {
  clearTimeout(fitTimer);
  fitTimer = setTimeout(function () {
    if (typeof appconfig !== 'undefined') {
      Promise.resolve(appconfig.updateConfigWindowHeight()).catch(function () {});
    }
  }, 60);
}

// ----------------------------------------------------------------- capture

function selectInputInBind(joystick, bindNo, text) {
  if (!text) {
    return;
  }
  const bind = bindsOf(groups().eq(joystick)).eq(bindNo);
  if (bind.length === 0) {
    return;
  }
  setBindInput(bind, text);
  bind.removeClass('flash');
  void bind[0].offsetWidth;
  bind.addClass('flash');
}

function stopModal() {
  $('#capturePanel').removeClass('open');
  $('body').removeClass('capturing');
}

function startCapture(bind) {
  const group = bind.closest('itemgroup');
  const joystick = groups().index(group);
  const bindNo = bindsOf(group).index(bind);
  const names = connectedNames();
  const device = joystick < names.length ? names[joystick] : 'joystick ' + (joystick + 1);
  $('#captureTarget').text('Listening to ' + device + ' for bind ' + (bindNo + 1) + '.');
  $('#timeOut').text('');
  $('#inputReceived').text('Press ESC to cancel.');
  if (document.activeElement) {
    document.activeElement.blur();
  }
  $('body').addClass('capturing');
  $('#capturePanel').addClass('open');
  const fail = function (error) {
    stopModal();
    window.alert('Padloom could not start listening to the joystick.\n\n' + String(error));
  };
  try {
    Promise.resolve(appconfig.scanJoystickInput_inBindNo_(joystick, bindNo)).catch(fail);
  } catch (error) {
    fail(error);
  }
}

// ------------------------------------------------------------------ events

function firstFreeButton(group) {
  const used = new Set();
  bindsOf(group).each(function () {
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
    showControlName($(this).closest('.bind'));
  });
  root.on('change', 'select.direction', function () {
    showControlName($(this).closest('.bind'));
  });
  root.on('click', '.add-found', function () {
    const bind = appendBind($(this).closest('itemgroup'), $(this).data('input'));
    addOutputToBind(bind, NEW_OUTPUT);
    lastFilled = null;
    $(this).hide();
    fitWindow();
    bind[0].scrollIntoView({ block: 'nearest' });
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
  root.on('click', '.detect', function () {
    startCapture($(this).closest('.bind'));
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
    const bind = appendBind(group, 'btn ' + firstFreeButton(group));
    addOutputToBind(bind, NEW_OUTPUT);
    lastFilled = null;
    fitWindow();
    bind[0].scrollIntoView({ block: 'nearest' });
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

// Ctrl+W closes the editor, which saves the preset as closing the window does.
function bindCloseKey() {
  document.addEventListener('keydown', function (event) {
    if (event.ctrlKey && !event.altKey && !event.shiftKey && !event.metaKey &&
        (event.key === 'w' || event.key === 'W')) {
      event.preventDefault();
      window.close();
    }
  });
}

// Deferred script: the document is parsed by now.
bindEditorEvents();
bindProgramEvents();
bindCloseKey();
refreshJoystickTitles();

// ------------------------------------------- named controls and the live view
//
// For a pad that the joystick layer knows, each button, axis half and hat
// direction has a name ("Button 0 · A"). While no preset is active and no
// detection listens, the application reports the controls that move: a bind
// whose input is on is highlighted, an axis bind shows how far its half is
// pushed and where it turns on, a hat bind shows where the hat points, and
// pressing a control finds its binds (or offers to add one).

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

function liveParts() {
  return $('<span class="live">').append($('<span class="control-name">'),
    $('<span class="live-meter" title="How far the axis is pushed; the mark is where the bind turns on">')
      .append($('<span class="fill">'), $('<span class="mark">')),
    $('<span class="live-hat" title="Where the hat points">'));
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
  const found = bindsOf(group).filter(function () { return readBindInput($(this)) === text; });
  const offer = group.find('> footer .add-found');
  if (found.length === 0) {
    offer.text('Add a bind for ' + inputDisplay(joystick, text)).data('input', text).show();
    return;
  }
  offer.hide();
  found[0].scrollIntoView({ block: 'nearest' });
  found.removeClass('flash');
  void found[0].offsetWidth;
  found.addClass('flash');
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
}

function clearLiveInputs() {
  liveValues = [];
  $('.bind.live-on').removeClass('live-on');
  $('.live-meter .fill').css('width', '0');
  $('.live-hat').text(HAT_ARROWS[0]);
  $('itemgroup > header .live-control').text('');
}
