// SPDX-License-Identifier: GPL-3.0-or-later
// Sequences of a joystick section: when an input goes on, its steps run one after another. A step
// is an output picked as a bind's outputs are (a key, a mouse button, a wheel step) or a wait in
// ms; steps are added at the end, moved up, and removed.
//
// Offers (to the other parts): sequencesBlock, addSequence, shownSequences, bindSequenceEvents.
// Needs: jQuery; STEP_KINDS, parseStepText, stepText, FIELD_RULES (member_texts.js); outputKind,
//   NEW_OUTPUT (bind_texts.js); inputEditor, readInputEditor, setInputEditor, iconButton,
//   optionsFor, numberInput, checkField, fieldValue, renderOutputParameters, readOutputOfKind,
//   signPairs, firstFreeButton (editor.js); fitWindow (config.js).
'use strict';

function sequencesBlock() {
  return $('<section class="sequences member-block">').append(
    $('<h3>').text('Sequences'),
    $('<p class="hint">').text('When the input goes on, its steps run one after another: each output is ' +
      'pressed and let go, a wait holds the next step back.'),
    $('<div class="sequence-list">'),
    $('<button type="button" class="quiet add-sequence">').text('+ Sequence'));
}

function renderStep(row, step) {
  const params = row.children('.params');
  if (step.kind === 'wait') {
    params.empty().append(numberInput('wait-ms', step.ms, 'Wait: ms before the next step', 10),
      $('<span class="unit">').text('ms'));
    return;
  }
  renderOutputParameters(row, step);
}

function stepRow(text) {
  const step = parseStepText(text);
  const row = $('<div class="step">').append(
    optionsFor($('<select class="step-kind" title="What the step does">'), STEP_KINDS, step.kind),
    $('<span class="params">'),
    iconButton('↑', 'Move this step up', 'move-step'),
    iconButton('✕', 'Remove this step', 'remove-step'));
  renderStep(row, step);
  return row;
}

function readStep(row) {
  const kind = row.children('select.step-kind').val();
  if (kind === 'wait') {
    return stepText({ kind: 'wait', ms: fieldValue(row.find('input.wait-ms'), FIELD_RULES.waitMs) });
  }
  return stepText(readOutputOfKind(row, kind));
}

function addSequence(group, input, steps) {
  const editor = inputEditor().attr('data-detect-for', 'the sequence\'s input');
  const sequence = $('<div class="sequence">').append(
    $('<div class="sequence-head">').append($('<span class="member-label">').text('When'), editor,
      iconButton('Remove', 'Remove this sequence', 'danger remove-sequence')),
    $('<div class="steps">'),
    $('<button type="button" class="quiet add-step">').text('+ Step'));
  group.find('> .sequences > .sequence-list').append(sequence);
  setInputEditor(editor, input);
  steps.forEach(function (step) { sequence.children('.steps').append(stepRow(step)); });
  return sequence;
}

// [[input, [step text, ...]], ...]
function shownSequences(group) {
  return group.find('> .sequences > .sequence-list > .sequence').map(function () {
    const sequence = $(this);
    return [[readInputEditor(sequence.find('> .sequence-head > .input')),
      sequence.find('> .steps > .step').map(function () { return readStep($(this)); }).get()]];
  }).get();
}

function bindSequenceEvents() {
  const root = $('joysticks');
  root.on('click', '.add-sequence', function () {
    const group = $(this).closest('itemgroup');
    addSequence(group, 'btn ' + firstFreeButton(group), [NEW_OUTPUT]);
    fitWindow();
  });
  root.on('click', '.remove-sequence', function () {
    $(this).closest('.sequence').remove();
    fitWindow();
  });
  root.on('click', '.add-step', function () {
    $(this).siblings('.steps').append(stepRow(NEW_OUTPUT));
    fitWindow();
  });
  root.on('click', '.remove-step', function () {
    $(this).closest('.step').remove();
    fitWindow();
  });
  root.on('click', '.move-step', function () {
    const row = $(this).closest('.step');
    row.insertBefore(row.prev('.step'));
  });
  root.on('change', '.step select.step-kind', function () {
    const kind = $(this).val();
    renderStep($(this).closest('.step'), kind === 'wait' ? { kind: 'wait', ms: 100 }
      : { kind: kind, code: outputKind(kind).defaultCode, sign: '+' });
  });
  root.on('change', '.step select.axis', function () {
    const sign = $(this).closest('.step').find('select.sign');
    optionsFor(sign, signPairs(Number($(this).val())), sign.val());
  });
  root.on('change', '.step input.wait-ms', function () {
    checkField($(this), FIELD_RULES.waitMs);
  });
}
