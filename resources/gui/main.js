// The preset list of the main window.
//
// What the application evaluates in this page (app/pages/page_scripts.h keeps every
// caller, in this order):
//   cleanPresetList()                   before the list is filled again
//   showPresetFolder(path)              the preset folder, shown under the list
//   addPresetUI(name, tag, file)        one entry of the list
//   addUnreadablePresetUI(file, problem)
//                                       a file that does not read as a preset,
//                                       with the reader's message
//   $('.editing > text') h2 and p text  the edited preset's saved name and tag
//   stopModal()                         the editor has closed
//   getContentHeight()                  read: the height the page needs (the list is
//                                       complete whenever it is asked)
//   $('#blockLayer') show / fadeOut     around switching a preset on or off
//   $('.selected') removeClass          the active preset was stopped
//   $('body') add/removeClass('compactList')   the compact-list option
//   document.body.offsetHeight          read: undefined until the body exists
//   showNotice(title, text)             a message for a request from outside
//
// The page calls back through the global `app`, whose functions all return
// Promises. The results this page reads:
//   activatePreset_(file)   true, or the reason the preset was not switched on
//   deletePreset_(file)     true, or the reason the file is still there
//   generateValidFilenameWithName_(file or '')
//                           the new file's name, or '' when the application
//                           made none (it has told the user why)
//   showPresetFile_(file)   nothing; the file manager shows the file
//   createOrEditPreset_(file)
//                           nothing; when the editor can't open, the
//                           application says why and calls stopModal()
// File names are paths relative to the preset folder, as addPresetUI gives them.
// The application sends the entries sorted: by name, then file name, the
// unreadable ones last. A copy's name sorts after its source's name, so a copy
// never lands above the entry it was made from: a list rebuilt after Copy keeps
// everything above the pointer where it was.
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

// The hint for an empty list shows only once a list is complete: not before the
// first one, nor while one is filled again (the application asks the page's
// height when it has sent every entry).
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
}

function showPresetFolder(path) {
  $('#folderPath').text(String(path)).attr('title', String(path));
}

function makeButton(label, title, className) {
  return $('<button type="button">').text(label).attr('title', title).addClass(className || 'quiet');
}

// The whole name and tag, which the entry may cut short, and the file name.
function showTooltip(entry) {
  const lines = [entryName(entry), entry.find('text > p').text(), entry.data('file')];
  entry.attr('title', lines.filter(function (line) { return line !== ''; }).join('\n'));
}

function buildEntry(name, tag, file) {
  const entry = $('<li class="preset" tabindex="0">').data('file', file);
  const text = $('<text>');
  text.append($('<h2>').text(name), $('<p>').text(tag));
  const actions = $('<span class="actions">').append(
    makeButton('Edit', 'Change the binds of this preset', 'quiet edit'),
    makeButton('Copy', 'Make a copy of this preset', 'quiet copy'),
    makeButton('Delete', 'Delete this preset', 'quiet danger delete'));
  entry.append($('<span class="switch" aria-hidden="true">'), text, $('<span class="state">').text('Active'), actions);
  showTooltip(entry);
  return entry;
}

function buildUnreadableEntry(file, problem) {
  const entry = $('<li class="preset unreadable" tabindex="0">').data('file', file)
    .attr('title', file + '\n' + problem);
  const text = $('<text>');
  text.append($('<h2>').text(file), $('<p>').text('Does not read: ' + problem.split('\n')[0]));
  const actions = $('<span class="actions">').append(
    makeButton('Show File', 'Show this file in the file manager', 'quiet show'),
    makeButton('Delete', 'Delete this file', 'quiet danger delete'));
  entry.append($('<span class="switch" aria-hidden="true">'), text, actions);
  return entry;
}

function addUnreadablePresetUI(file, problem) {
  $('#presetList').append(buildUnreadableEntry(String(file), String(problem)));
  updateEmptyState();
  refreshModalState();
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
  updateEmptyState();
  const height = Math.ceil(document.getElementById('page').getBoundingClientRect().height);
  const limit = Math.max(260, (window.screen.availHeight || 900) - 160);
  return Math.max(180, Math.min(height, limit));
}

function refreshModalState() {
  const modal = editingFile !== null;
  $('body').toggleClass('modal', modal);
  $('#newPreset').prop('disabled', modal);
  $('.preset .edit, .preset .copy, .preset .delete, .preset .show').prop('disabled', modal);
  if (modal) {
    const entry = entryFor(editingFile);
    $('#editingName').text(entry.length ? entryName(entry) : 'a preset');
  }
}

// The edited entry's name and tag were changed just before.
function stopModal() {
  editingFile = null;
  $('.preset.editing').each(function () { showTooltip($(this)); });
  $('.editing').removeClass('editing');
  refreshModalState();
}

// The control that had the focus before the notice, which gets it back.
let focusBeforeNotice = null;

function showNotice(title, text) {
  if (!$('#notice').hasClass('open')) {
    focusBeforeNotice = document.activeElement;
  }
  $('#noticeTitle').text(title);
  $('#noticeText').text(text);
  $('#notice').addClass('open');
  $('#noticeOk').trigger('focus');
}

function hideNotice() {
  $('#notice').removeClass('open');
  // An entry rebuilt meanwhile is found again by its file name.
  let back = focusBeforeNotice;
  if (back && !document.body.contains(back)) {
    const file = $(back).closest('.preset').data('file');
    back = file === undefined ? null : entryFor(file)[0];
  }
  focusBeforeNotice = null;
  if (back && typeof back.focus === 'function') {
    back.focus();
  }
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
    showNewEntry(entryFor(file), true);
    await openEditor(file);
  });
}

// Highlights a new entry for a moment, and scrolls it into view when asked.
function showNewEntry(entry, scroll) {
  if (!entry.length) {
    return;
  }
  entry.addClass('fresh');
  setTimeout(function () {
    entry.removeClass('fresh');
  }, 2500);
  if (scroll) {
    entry[0].scrollIntoView({ block: 'nearest' });
  }
}

// Rebuilding the list empties it for a moment, which may scroll the page; the
// entry of file is put back where it was on the screen.
function keepOnScreen(file, top) {
  const entry = entryFor(file);
  if (entry.length) {
    window.scrollBy(0, entry[0].getBoundingClientRect().top - top);
  }
}

function copyPreset(entry) {
  return exclusive(async function () {
    const source = entry.data('file');
    const top = entry[0].getBoundingClientRect().top;
    // Under the pointer, the list does not move: the copy, just below, is
    // highlighted where it is. From the keyboard, it is scrolled into view.
    const pointed = entry.is(':hover');
    const file = await app.generateValidFilenameWithName_(source);
    if (!file) {
      return;
    }
    await reloadList();
    keepOnScreen(source, top);
    showNewEntry(entryFor(file), !pointed);
  });
}

// Harmless at any time, so it does not wait for other list actions.
function showFile(entry) {
  return app.showPresetFile_(entry.data('file')).catch(reportBridgeFailure);
}

function editPreset(entry) {
  return exclusive(function () {
    return openEditor(entry.data('file'));
  });
}

function deletePreset(entry) {
  return exclusive(async function () {
    const file = entry.data('file');
    const question = (entry.hasClass('unreadable')
      ? 'Delete the file “' + file + '”, which does not read as a preset?'
      : 'Delete the preset “' + entryName(entry) + '” (file “' + file + '”)?') +
      '\n\nIts file is removed from the preset folder; this cannot be undone.';
    if (!window.confirm(question)) {
      return;
    }
    if (entry.hasClass('selected')) {
      await deactivate();
    }
    const result = await app.deletePreset_(file);
    if (result !== true) {
      showNotice('“' + entryName(entry) + '” was not deleted', String(result));
      return;
    }
    // The focus moves on to the entry that takes the deleted one's place.
    const hadFocus = $.contains(entry[0], document.activeElement) || entry[0] === document.activeElement;
    const neighbour = entry.next('.preset').length ? entry.next('.preset') : entry.prev('.preset');
    entry.remove();
    updateEmptyState();
    if (hadFocus && neighbour.length) {
      neighbour.trigger('focus');
    }
  });
}

function bindListEvents() {
  const list = $('#presetList');
  list.on('click', '.preset:not(.unreadable)', function (event) {
    if ($(event.target).closest('button').length === 0) {
      toggleActivation($(this));
    }
  });
  list.on('keydown', '.preset:not(.unreadable)', function (event) {
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
  list.on('click', '.show', function () {
    showFile($(this).closest('.preset'));
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
