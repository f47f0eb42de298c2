// SPDX-License-Identifier: GPL-3.0-or-later
// Padloom's GNOME Shell extension in the format of GNOME Shell 40 to 44: it reports the focused
// window to Padloom while it is enabled.
'use strict';

const {Gio, GLib} = imports.gi;

// @focus-reporter@

let reporter = null;

function init() {
}

function enable() {
    reporter = new FocusReporter(global.display, Gio.DBus.session);
    reporter.start();
}

function disable() {
    if (reporter)
        reporter.stop();
    reporter = null;
}
