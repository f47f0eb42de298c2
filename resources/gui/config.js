// SPDX-License-Identifier: GPL-3.0-or-later
// The preset editor's page: what the application may evaluate in it, the window's size, and the
// page's start. The page's scripts, in the order window_config.htm loads them:
//   keynames.js     the names of the keys a preset can press
//   output_kinds.js the kinds of output, made by the build from the table the preset reader uses
//   bind_texts.js   input and output texts, the numbers their fields accept, the preset's text
//   member_texts.js the texts and the preset lines of modes, layers, sequences and switches
//   editor.js       joystick sections, bind rows and their fields, the programs block
//   bind_modes.js   a bind row's mode: normal, toggle, turbo
//   layers.js       the layer choice above a section's binds, and the layers' binds
//   sequences.js    a section's sequences and their steps
//   switches.js     a section's switches to other presets, and the presets they may name
//   section_members.js  those four as one: filling them, reading them, naming their inputs
//   capture.js      Detect: the panel while the application listens for an input
//   live_view.js    named controls, the controls that move, finding a control's binds
//   sticks.js       a section's sticks: their fields, the curve's picture, the stick's position
//   config.js       this file, last: it starts the page
// A file's own statements need only what the files before it offer; its functions may call those
// of any file, since nothing calls them before the page has started.
//
// What the application evaluates in this page (app/pages/page_scripts.h keeps every caller, in
// this order), and the file that offers it; the page itself (window_config.htm) has the fields
// #name and #tag and the panel's #timeOut and #inputReceived:
//   clearJoysticks()                     before the page is filled with a preset     editor.js
//   $('#name').val(text), $('#tag').val(text)
//   addJoystick(name)                    a joystick section; its binds follow       editor.js
//   addBind(joystick, input, output)     one output of a bind                       editor.js
//   addStick(joystick, {axes, ...})      a stick, each setting's text                sticks.js
//   setSectionMembers(joystick, members) the section's modes, layers, sequences and
//                                        switches, after its binds                  section_members.js
//   setPresetChoices([{file, shown}...]) the presets a switch may switch to         switches.js
//   $('input[type=text]').blur()         before the preset is read back
//   generatePresetString()               read: the preset's file text               editor.js
//   $('#name').val(), $('#tag').val()    read, after saving
//   getContentHeight()                   read: the height the page needs            config.js
//   joystickNames = [...]                the connected joysticks' names             editor.js
//   updateRelatedJoystick on each joysticks > groups > itemgroup                    editor.js
//   $('#timeOut').text(' [N]')           the detection's countdown
//   $('#inputReceived').text(...)        input received; back to the ESC hint
//   selectInputInBind(joystick, bindNo, input)   the detected input (of a bind, or  capture.js
//                                        of a layer, sequence or switch)
//   stopModal()                          the detection has ended                    capture.js
//   setActivateFor(programs, following)  the programs that switch it on, and what   editor.js
//                                        is said about following the focus
//   showFollowing(following)             that alone, the programs left as they are  editor.js
//   setControlNames([{input: name}...])  each connected joystick's named controls   live_view.js
//   setSwitchPoint(x)                    where an axis bind that switches turns on  live_view.js
//   showLiveInputs([[j, kind, n, v]...]) controls that moved (live view)            live_view.js
//   clearLiveInputs()                    nothing is shown as moving any more        live_view.js
//
// The page calls back through the global `appconfig`, whose functions return Promises:
// updateConfigWindowHeight (here), scanJoystickInput_inBindNo_ (capture.js) and
// enableFocusHelper (editor.js).
'use strict';

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

// ------------------------------------------------------------------ start

// Deferred script: the document is parsed by now.
bindEditorEvents();
bindCaptureEvents();
bindLiveViewEvents();
bindSectionMemberEvents();
bindStickEvents();
bindProgramEvents();
bindCloseKey();
refreshJoystickTitles();
