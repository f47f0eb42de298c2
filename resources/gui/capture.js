// SPDX-License-Identifier: GPL-3.0-or-later
// Detect: the Detect button of an input (a bind's, a layer's, a sequence's, a switch's) asks the
// application to listen to the section's joystick for its next input, and a panel covers the
// editor meanwhile. The application shows the countdown in #timeOut and the input it took in
// #inputReceived, hands the input back with the number it was asked for, and closes the panel;
// Escape, which the application takes while it listens, ends it early.
//
// The number: a bind row's place among the section's bind rows, or for the section's other
// inputs their place after the rows, in page order (the panel keeps the page as it is meanwhile).
//
// Offers (to the application): selectInputInBind, stopModal.
// Offers (to the other parts): bindCaptureEvents.
// Needs: jQuery; groups, bindsOf, connectedNames, setInputEditor, flash (editor.js);
//   memberInputs (section_members.js); appconfig.scanJoystickInput_inBindNo_.
'use strict';

// The section's input editors by the numbers Detect gives them.
function detectableInputs(group) {
  return $(bindsOf(group).children('.input').toArray().concat(memberInputs(group).toArray()));
}

// The input text the application took, or '' when it took none (the input stays as it was).
function selectInputInBind(joystick, bindNo, text) {
  if (!text) {
    return;
  }
  const editor = detectableInputs(groups().eq(joystick)).eq(bindNo);
  if (editor.length === 0) {
    return;
  }
  setInputEditor(editor, text);
  flash(editor.closest('.bind').length ? editor.closest('.bind') : editor);
}

function stopModal() {
  $('#capturePanel').removeClass('open');
  $('body').removeClass('capturing');
}

function startCapture(editor) {
  const group = editor.closest('itemgroup');
  const joystick = groups().index(group);
  const bindNo = detectableInputs(group).index(editor);
  const names = connectedNames();
  const device = joystick < names.length ? names[joystick] : 'joystick ' + (joystick + 1);
  const target = editor.attr('data-detect-for') || 'bind ' + (bindNo + 1);
  $('#captureTarget').text('Listening to ' + device + ' for ' + target + '.');
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

function bindCaptureEvents() {
  $('joysticks').on('click', '.detect', function () {
    startCapture($(this).closest('.input'));
  });
}
