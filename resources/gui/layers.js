// SPDX-License-Identifier: GPL-3.0-or-later
// Layers of a joystick section: binds that act instead of the section's while an input is held.
// A choice above the binds shows the section's own binds ("Base") or one layer's; a layer's bind
// rows are the section's kind of row, kept among them and hidden while another is shown. The
// chosen layer shows its "while" input (picked as a bind's input, Detect included) and can be
// removed.
//
// Offers (to the other parts): BASE_LAYER, layerBar, bindsIn, placeInShownLayer, addLayer,
//   appendLayerBind, shownLayers, showLayerName, bindLayerEvents.
// Needs: jQuery; bindsOf, shownBinds, inputEditor, readInputEditor, setInputEditor, iconButton,
//   newBind, addOutputToBind, updateOutputState, updateBindsState, shownBind, firstFreeButton, groups (editor.js);
//   inputDisplay, showControlName (live_view.js); fitWindow (config.js).
'use strict';

const BASE_LAYER = '';
// Layers are known by a number of their own while the page lives, not by their place.
let layerCount = 0;

function layerBar() {
  return $('<div class="layer-bar">').append(
    $('<label class="layer-pick">').append($('<span>').text('Binds for'),
      $('<select class="layer-choice" title="The section\'s own binds, or a layer\'s">')
        .append($('<option>').val(BASE_LAYER).text('Base'))),
    $('<div class="layer-list">'),
    $('<button type="button" class="quiet add-layer">').text('+ Layer')
      .attr('title', 'Add binds that act instead of these while an input is held'));
}

function layerOf(row) {
  return row.attr('data-layer') || BASE_LAYER;
}

function shownLayer(group) {
  return group.find('> .layer-bar select.layer-choice').val() || BASE_LAYER;
}

function bindsIn(group, layer) {
  return bindsOf(group).filter(function () { return layerOf($(this)) === layer; });
}

function placeInShownLayer(group, bind) {
  markLayerRow(bind, shownLayer(group));
}

function markLayerRow(bind, layer) {
  bind.attr('data-layer', layer || null);
  if (layer !== BASE_LAYER) {
    bind.find('.no-output').text('No output: this input does nothing while the layer is held.');
  }
}

function layerEntries(group) {
  return group.find('> .layer-bar > .layer-list > .layer');
}

function chooseLayer(group, layer) {
  group.find('> .layer-bar select.layer-choice').val(layer);
  layerEntries(group).each(function () { $(this).toggle($(this).attr('data-layer') === layer); });
  bindsOf(group).each(function () { $(this).toggleClass('off-layer', layerOf($(this)) !== layer); });
  group.toggleClass('in-layer', layer !== BASE_LAYER);
  updateBindsState(group);
  fitWindow();
}

// The choice names a layer by its input and that input's control name.
function showLayerName(entry) {
  const group = entry.closest('itemgroup');
  const text = readInputEditor(entry.children('.input'));
  group.find('> .layer-bar select.layer-choice option').filter(function () {
    return $(this).val() === entry.attr('data-layer');
  }).text('While ' + inputDisplay(groups().index(group), text));
}

function addLayer(group, whileText) {
  const layer = 'layer' + (++layerCount);
  const editor = inputEditor().attr('data-detect-for', 'the layer\'s input');
  const entry = $('<div class="layer">').attr('data-layer', layer).append(
    $('<span class="layer-label">').text('While held:'), editor,
    iconButton('Remove layer', 'Remove this layer and its binds', 'danger remove-layer')).hide();
  group.find('> .layer-bar select.layer-choice').append($('<option>').val(layer));
  group.find('> .layer-bar > .layer-list').append(entry);
  setInputEditor(editor, whileText);
  return layer;
}

// A bind of a layer as the preset holds it: its input and its outputs' texts.
function appendLayerBind(group, layer, input, outputs) {
  const bind = newBind(input).toggleClass('off-layer', layer !== shownLayer(group));
  markLayerRow(bind, layer);
  group.children('.binds').append(bind);
  outputs.forEach(function (output) { addOutputToBind(bind, output); });
  updateOutputState(bind);
  showControlName(bind);
  return bind;
}

// [{while, binds: [{input, outputs}, ...]}, ...] in the choice's order.
function shownLayers(group) {
  return layerEntries(group).map(function () {
    return {
      while: readInputEditor($(this).children('.input')),
      binds: bindsIn(group, $(this).attr('data-layer')).map(function () { return shownBind($(this)); }).get()
    };
  }).get();
}

function removeLayer(entry) {
  const group = entry.closest('itemgroup');
  const layer = entry.attr('data-layer');
  const count = bindsIn(group, layer).length;
  if (count > 0 && !window.confirm('Remove this layer and its ' + count + ' bind' +
      (count === 1 ? '' : 's') + '?')) {
    return;
  }
  bindsIn(group, layer).remove();
  group.find('> .layer-bar select.layer-choice option').filter(function () {
    return $(this).val() === layer;
  }).remove();
  entry.remove();
  chooseLayer(group, BASE_LAYER);
}

function bindLayerEvents() {
  const root = $('joysticks');
  root.on('change', 'select.layer-choice', function () {
    chooseLayer($(this).closest('itemgroup'), $(this).val());
  });
  root.on('click', '.add-layer', function () {
    const group = $(this).closest('itemgroup');
    // A new layer is held by a button that no bind of the section uses yet.
    chooseLayer(group, BASE_LAYER);
    chooseLayer(group, addLayer(group, 'btn ' + firstFreeButton(group)));
  });
  root.on('click', '.remove-layer', function () {
    removeLayer($(this).closest('.layer'));
  });
}
