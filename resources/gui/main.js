// SPDX-License-Identifier: GPL-3.0-or-later
// The preset list of the main window.
//
// What the application evaluates in this page (app/pages/page_scripts.h keeps every
// caller, in this order):
//   fillPresetList(entries)             the whole list, in order, in one call:
//                                       each entry {file, shown, name, tag} or,
//                                       for a file that does not read as a
//                                       preset, {file, shown, problem} (the
//                                       reader's message); file is the key the
//                                       page gives back, shown the file name
//   showPresetFolder(path)              the preset folder, shown under the list
//   $('.editing > text') h2 and p text  the edited preset's saved name and tag
//   stopModal()                         the editor has closed
//   getContentHeight()                  read: the height the page needs (the list is
//                                       complete whenever it is asked)
//   $('#blockLayer') show / fadeOut     around switching a preset on or off
//   $('#blockLayer') stop / hide        at once, when a switch asked from outside
//                                       the list failed
//   $('.selected') removeClass          the active preset was stopped
//   entryFor(file).addClass('selected') the active preset, switched on from
//                                       outside the list
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
// It also calls deactivatePreset() and webViewDocumentReady() (which lists the
// presets again), whose results it does not read.
// Files are named by their keys, as fillPresetList gives them: for most files
// the path relative to the preset folder.
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

// By its data-file attribute, so that finding one of thousands costs nothing.
function entryFor(file) {
  return $('#presetList > .preset[data-file="' + CSS.escape(String(file)) + '"]').first();
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
  // Entries have no handlers (the list's are delegated), and jQuery keeps what
  // .data() reads on the element itself, so they go without jQuery's clean-up.
  document.getElementById('presetList').replaceChildren();
}

function showPresetFolder(path) {
  $('#folderPath').text(String(path)).attr('title', String(path));
}

function makeButton(label, title, className) {
  return $('<button type="button">').text(label).attr('title', title).addClass(className || 'quiet');
}

// The whole name and tag, which the entry may cut short, and the file name as shown.
function tooltipText(name, tag, shown) {
  return [name, tag, shown].filter(function (line) { return line !== ''; }).join('\n');
}

function showTooltip(entry) {
  entry.attr('title', tooltipText(entryName(entry), entry.find('text > p').text(), entry.data('shown')));
}

// Each kind of entry is built once and cloned for every entry of the list, so
// that a list of thousands is built in a moment. An entry keeps its key and its
// shown file name in data-file and data-shown, which .data() reads back as they
// are (a preset file's name ends in its extension, so it never reads as a
// number or as JSON).
const entryTemplates = {};

function entryTemplate(kind, build) {
  if (!entryTemplates[kind]) {
    entryTemplates[kind] = build()[0];
  }
  return entryTemplates[kind].cloneNode(true);
}

function fillEntry(node, file, shown, title, heading, line) {
  node.dataset.file = file;
  node.dataset.shown = shown;
  node.title = title;
  const text = node.querySelector('text');
  text.children[0].textContent = heading;
  text.children[1].textContent = line;
  return node;
}

function buildEntry(name, tag, file, shown) {
  const node = entryTemplate('readable', function () {
    const actions = $('<span class="actions">').append(
      makeButton('Edit', 'Change the binds of this preset', 'quiet edit'),
      makeButton('Copy', 'Make a copy of this preset', 'quiet copy'),
      makeButton('Delete', 'Delete this preset', 'quiet danger delete'));
    return $('<li class="preset" tabindex="0">').append($('<span class="switch" aria-hidden="true">'),
      $('<text>').append($('<h2>'), $('<p>')), $('<span class="state">').text('Active'), actions);
  });
  return fillEntry(node, file, shown, tooltipText(name, tag, shown), name, tag);
}

function buildUnreadableEntry(file, shown, problem) {
  const node = entryTemplate('unreadable', function () {
    const actions = $('<span class="actions">').append(
      makeButton('Show File', 'Show this file in the file manager', 'quiet show'),
      makeButton('Delete', 'Delete this file', 'quiet danger delete'));
    return $('<li class="preset unreadable" tabindex="0">').append($('<span class="switch" aria-hidden="true">'),
      $('<text>').append($('<h2>'), $('<p>')), actions);
  });
  return fillEntry(node, file, shown, shown + '\n' + problem, shown, 'Does not read: ' + problem.split('\n')[0]);
}

function listEntry(e) {
  const file = String(e.file);
  const shown = String(e.shown);
  if (e.problem !== undefined) {
    return buildUnreadableEntry(file, shown, String(e.problem));
  }
  const entry = buildEntry(String(e.name), String(e.tag), file, shown);
  entry.classList.toggle('selected', file === activeFile);
  entry.classList.toggle('editing', file === editingFile);
  return entry;
}

// The list is built aside and put in at once, and the state that depends on it
// is worked out once, however many entries there are.
function fillPresetList(entries) {
  cleanPresetList();
  const list = document.createDocumentFragment();
  for (const e of entries) {
    list.appendChild(listEntry(e));
  }
  $('#presetList').append(list);
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

// The application switches from the active preset to this one, and keeps the
// active one when this one can't be switched on.
async function activate(entry) {
  const file = entry.data('file');
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
    const shown = entry.data('shown');
    const question = (entry.hasClass('unreadable')
      ? 'Delete the file “' + shown + '”, which does not read as a preset?'
      : 'Delete the preset “' + entryName(entry) + '” (file “' + shown + '”)?') +
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
