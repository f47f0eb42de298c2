// The preset list of the main window.
//
// What the application evaluates in this page (app/page_scripts.h keeps every
// caller, in this order):
//   cleanPresetList()                   before the list is filled again
//   addPresetUI(name, tag, file)        one entry of the list
//   $('.editing > text') h2 and p text  the edited preset's saved name and tag
//   stopModal()                         the editor has closed
//   getContentHeight()                  read: the height the page needs
//   $('#blockLayer') show / fadeOut     around switching a preset on or off
//   $('.selected') removeClass          the active preset was stopped
//   $('body') add/removeClass('compactList')   the compact-list option
//   document.body.offsetHeight          read: undefined until the body exists
//
// The page calls back through the global `app`, whose functions all return
// Promises. The results this page reads:
//   activatePreset_(file)   true, or the reason the preset was not switched on
//   deletePreset_(file)     true, or the reason the file is still there
//   generateValidFilenameWithName_(file or '')
//                           the new file's name, or '' when the application
//                           made none (it has told the user why)
//   createOrEditPreset_(file)
//                           nothing; when the editor can't open, the
//                           application says why and calls stopModal()
// File names are paths relative to the preset folder, as addPresetUI gives them.
'use strict';

// File names survive a list rebuild: the active preset keeps its mark and a
// preset opened in the editor keeps its "editing" mark.
let activeFile = null;
let editingFile = null;
let busy = false;

function presetEntries() {
  return $('#presetList > .preset');
}

function entryFor(file) {
  return presetEntries().filter(function () {
    return $(this).data('file') === file;
  }).first();
}

function entryName(entry) {
  return entry.find('text > h2').text();
}

function updateEmptyState() {
  $('body').toggleClass('empty', presetEntries().length === 0);
}

function cleanPresetList() {
  const selected = $('.preset.selected').first();
  activeFile = selected.length ? selected.data('file') : null;
  const editing = $('.preset.editing').first();
  if (editing.length) {
    editingFile = editing.data('file');
  }
  $('#presetList').empty();
  updateEmptyState();
}

function makeButton(label, title, className) {
  return $('<button type="button">').text(label).attr('title', title).addClass(className || 'quiet');
}

function buildEntry(name, tag, file) {
  const entry = $('<li class="preset" tabindex="0">').data('file', file).attr('title', file);
  const text = $('<text>');
  text.append($('<h2>').text(name), $('<p>').text(tag));
  const actions = $('<span class="actions">').append(
    makeButton('Edit', 'Change the binds of this preset', 'quiet edit'),
    makeButton('Copy', 'Make a copy of this preset', 'quiet copy'),
    makeButton('Delete', 'Delete this preset', 'quiet danger delete'));
  entry.append($('<span class="switch" aria-hidden="true">'), text, $('<span class="state">').text('Active'), actions);
  return entry;
}

function addPresetUI(name, tag, file) {
  const entry = buildEntry(String(name), String(tag), String(file));
  if (file === activeFile) {
    entry.addClass('selected');
  }
  if (file === editingFile) {
    entry.addClass('editing');
  }
  $('#presetList').append(entry);
  updateEmptyState();
  refreshModalState();
}

function getContentHeight() {
  const height = Math.ceil(document.getElementById('page').getBoundingClientRect().height);
  const limit = Math.max(260, (window.screen.availHeight || 900) - 160);
  return Math.max(180, Math.min(height, limit));
}

function refreshModalState() {
  const modal = editingFile !== null;
  $('body').toggleClass('modal', modal);
  $('#newPreset').prop('disabled', modal);
  $('.preset .edit, .preset .copy, .preset .delete').prop('disabled', modal);
  if (modal) {
    const entry = entryFor(editingFile);
    $('#editingName').text(entry.length ? entryName(entry) : 'a preset');
  }
}

function stopModal() {
  editingFile = null;
  $('.editing').removeClass('editing');
  refreshModalState();
}

function showNotice(title, text) {
  $('#noticeTitle').text(title);
  $('#noticeText').text(text);
  $('#notice').addClass('open');
  $('#noticeOk').trigger('focus');
}

function hideNotice() {
  $('#notice').removeClass('open');
}

function reportBridgeFailure(error) {
  $('#blockLayer').hide();
  showNotice('Something went wrong', 'Padloom did not answer the request.\n\n' + String(error));
}

// Runs one list action at a time, so that a double click does not start two.
async function exclusive(action) {
  if (busy) {
    return;
  }
  busy = true;
  try {
    await action();
  } catch (error) {
    reportBridgeFailure(error);
  } finally {
    busy = false;
  }
}

async function deactivate() {
  await app.deactivatePreset();
  $('.selected').removeClass('selected');
  activeFile = null;
}

async function activate(entry) {
  const file = entry.data('file');
  if ($('.selected').length) {
    await deactivate();
  }
  $('#blockLayer').show();
  const result = await app.activatePreset_(file);
  if (result === true) {
    $('.selected').removeClass('selected');
    entry.addClass('selected');
    activeFile = file;
    return;
  }
  $('#blockLayer').stop(true, true).hide();
  showNotice('“' + entryName(entry) + '” could not be switched on', String(result));
}

function toggleActivation(entry) {
  return exclusive(async function () {
    if (entry.hasClass('selected')) {
      await deactivate();
    } else {
      await activate(entry);
    }
  });
}

function markEditing(file) {
  $('.editing').removeClass('editing');
  editingFile = file;
  entryFor(file).addClass('editing');
  refreshModalState();
}

async function openEditor(file) {
  markEditing(file);
  await app.createOrEditPreset_(file);
}

// Rebuilds the list from the preset folder, new file included.
function reloadList() {
  return app.webViewDocumentReady();
}

function newPreset() {
  return exclusive(async function () {
    const file = await app.generateValidFilenameWithName_('');
    if (!file) {
      return;
    }
    // Marked before the list is rebuilt, so that its new entry shows as edited.
    editingFile = file;
    await reloadList();
    await openEditor(file);
    const entry = entryFor(file);
    if (entry.length) {
      entry[0].scrollIntoView({ block: 'nearest' });
    }
  });
}

function copyPreset(entry) {
  return exclusive(async function () {
    const file = await app.generateValidFilenameWithName_(entry.data('file'));
    if (!file) {
      return;
    }
    await reloadList();
  });
}

function editPreset(entry) {
  return exclusive(function () {
    return openEditor(entry.data('file'));
  });
}

function deletePreset(entry) {
  return exclusive(async function () {
    const question = 'Delete the preset “' + entryName(entry) + '”?\n\nIts file is removed from the preset folder; this cannot be undone.';
    if (!window.confirm(question)) {
      return;
    }
    if (entry.hasClass('selected')) {
      await deactivate();
    }
    const result = await app.deletePreset_(entry.data('file'));
    if (result !== true) {
      showNotice('“' + entryName(entry) + '” was not deleted', String(result));
      return;
    }
    entry.remove();
    updateEmptyState();
  });
}

function bindListEvents() {
  const list = $('#presetList');
  list.on('click', '.preset', function (event) {
    if ($(event.target).closest('button').length === 0) {
      toggleActivation($(this));
    }
  });
  list.on('keydown', '.preset', function (event) {
    if (event.target === this && (event.key === 'Enter' || event.key === ' ')) {
      event.preventDefault();
      toggleActivation($(this));
    }
  });
  list.on('click', '.edit', function () {
    editPreset($(this).closest('.preset'));
  });
  list.on('click', '.copy', function () {
    copyPreset($(this).closest('.preset'));
  });
  list.on('click', '.delete', function () {
    deletePreset($(this).closest('.preset'));
  });
  $('#newPreset').on('click', newPreset);
  $('#noticeOk').on('click', hideNotice);
  $('#notice').on('keydown', function (event) {
    if (event.key === 'Escape' || event.key === 'Enter') {
      event.preventDefault();
      hideNotice();
    }
  });
}

// Deferred script: the document is parsed by now.
bindListEvents();
updateEmptyState();
