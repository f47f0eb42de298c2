// SPDX-License-Identifier: GPL-3.0-or-later
// Padloom's GNOME Shell extension in the format of GNOME Shell 45 on (modules): it reports the
// focused window to Padloom while it is enabled.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

// @focus-reporter@

export default class PadloomFocusExtension extends Extension {
    enable() {
        this._reporter = new FocusReporter(global.display, Gio.DBus.session);
        this._reporter.start();
    }

    disable() {
        this._reporter?.stop();
        this._reporter = null;
    }
}
