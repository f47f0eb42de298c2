// SPDX-License-Identifier: GPL-3.0-or-later
// Detect: a bind's Detect button asks the application to listen to the bind's joystick for its
// next input, and a panel covers the editor meanwhile. The application shows the countdown in
// #timeOut and the input it took in #inputReceived, hands the input to the bind, and closes the
// panel; Escape, which the application takes while it listens, ends it early.
//
// Offers (to the application): selectInputInBind, stopModal.
// Offers (to the other parts): bindCaptureEvents.
// Needs: jQuery; groups, bindsOf, connectedNames, setBindInput, flash (editor.js);
//   appconfig.scanJoystickInput_inBindNo_.
'use strict';

// The input text the application took, or '' when it took none (the bind stays as it was).
function selectInputInBind(joystick, bindNo, text) {
  if (!text) {
    return;
  }
  const bind = bindsOf(groups().eq(joystick)).eq(bindNo);
  if (bind.length === 0) {
    return;
  }
  setBindInput(bind, text);
  flash(bind);
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

function bindCaptureEvents() {
  $('joysticks').on('click', '.detect', function () {
    startCapture($(this).closest('.bind'));
  });
}
