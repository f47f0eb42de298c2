// SPDX-License-Identifier: GPL-3.0-or-later
// A joystick section's members beyond its binds, as one: the parts they add to the section (the
// layer choice above the binds, the sequences and switches below), filling them from the preset,
// reading them back for the preset text, and naming the controls of their inputs.
//
// Offers (to the application): setSectionMembers.
// Offers (to the other parts): addMemberParts, shownSectionMembers, memberInputs,
//   showInputMembers, showMemberNames, bindSectionMemberEvents.
// Needs: jQuery; groups, bindsOf, readInputEditor (editor.js); controlName (live_view.js);
//   bind_modes.js, layers.js, sequences.js, switches.js; fitWindow (config.js).
'use strict';

function addMemberParts(group) {
  group.children('.binds').before(layerBar());
  group.append(sequencesBlock(), switchesBlock());
}

// members: {modes: [[input, mode]], layers: [{while, binds: [[input, [output, ...]]]}],
// sequences: [[input, [step, ...]]], switches: [{press: [input, ...], to}]}, texts as the preset
// holds them; for the section numbered joystick, after its binds.
function setSectionMembers(joystick, members) {
  const group = groups().eq(joystick);
  if (group.length === 0 || !members) {
    return;
  }
  (members.layers || []).forEach(function (layer) {
    const id = addLayer(group, layer.while);
    layer.binds.forEach(function (bind) { appendLayerBind(group, id, bind[0], bind[1]); });
  });
  (members.sequences || []).forEach(function (entry) { addSequence(group, entry[0], entry[1]); });
  (members.switches || []).forEach(function (entry) { addSwitch(group, entry.press, entry.to); });
  setModes(group, members.modes || []);
  fitWindow();
}

// The members as the section shows them, for the preset text (member_texts.js).
function shownSectionMembers(group) {
  return {
    modes: shownModes(group),
    layers: shownLayers(group),
    sequences: shownSequences(group),
    switches: shownSwitches(group)
  };
}

// The section's input editors that are no bind row's, in page order.
function memberInputs(group) {
  return group.find('.input').not(bindsOf(group).children('.input'));
}

function showEditorName(editor) {
  const group = editor.closest('itemgroup');
  const name = group.length ? controlName(groups().index(group), readInputEditor(editor)) : '';
  editor.find('.control-name').text(name ? '· ' + name : '');
}

// What follows an input editor's input: a bind row's mode; the control's name of any other
// editor, and the layer's name in the choice.
function showInputMembers(editor) {
  const bind = editor.closest('.bind');
  if (bind.length) {
    showBindMode(bind);
    return;
  }
  showEditorName(editor);
  const layer = editor.closest('.layer');
  if (layer.length) {
    showLayerName(layer);
  }
}

function showMemberNames(group) {
  memberInputs(group).each(function () { showInputMembers($(this)); });
}

function bindSectionMemberEvents() {
  bindModeEvents();
  bindLayerEvents();
  bindSequenceEvents();
  bindSwitchEvents();
}
