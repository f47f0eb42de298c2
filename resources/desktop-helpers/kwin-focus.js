// SPDX-License-Identifier: GPL-3.0-or-later
// Padloom's KWin script: tells Padloom which program has the focus, so that its presets can
// follow the focused program on KDE Plasma. Padloom loads it over KWin's scripting interface when
// it starts on Plasma, and unloads it when it quits. Works with Plasma 5 (clients) and 6 (windows).
//
// Each report calls io.github.padloom.Padloom.FocusFollowing on the session bus:
// WindowFocused(app id, title), where a Wayland window's app id is its resource class and an
// XWayland window's resource class is its WM_CLASS class name; FocusGone() when no window has it.

const padloomService = 'io.github.padloom.Padloom';
const padloomPath = '/io/github/padloom/Padloom';
const padloomInterface = 'io.github.padloom.Padloom.FocusFollowing';

function reportFocus(window) {
    if (!window) {
        callDBus(padloomService, padloomPath, padloomInterface, 'FocusGone');
        return;
    }
    callDBus(padloomService, padloomPath, padloomInterface, 'WindowFocused', String(window.resourceClass || ''),
        String(window.caption || ''));
}

if (workspace.windowActivated) {
    workspace.windowActivated.connect(reportFocus);
    reportFocus(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(reportFocus);
    reportFocus(workspace.activeClient);
}
