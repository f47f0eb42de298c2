// SPDX-License-Identifier: GPL-3.0-or-later
// Tells Padloom which program has the focus, so that its presets can follow the focused program
// on GNOME Shell. Shared by both formats of Padloom's extension (GNOME Shell 40 to 44, and 45 on),
// which set Gio and GLib up and start a FocusReporter when the user enables the extension.
//
// Each report calls io.github.padloom.Padloom.FocusFollowing on the session bus:
// WindowFocused(app id, title), where a Wayland window's WM_CLASS is its app id and an XWayland
// window's is its WM_CLASS class name; FocusGone() when no window has the focus. Padloom may start
// after the shell, or again: it is told the focus as soon as it is on the bus.

const padloomService = 'io.github.padloom.Padloom';
const padloomPath = '/io/github/padloom/Padloom';
const padloomInterface = 'io.github.padloom.Padloom.FocusFollowing';

class FocusReporter {
    // display: the shell's MetaDisplay (global.display); bus: the session bus.
    constructor(display, bus) {
        this._display = display;
        this._bus = bus;
        this._focusHandler = 0;
        this._nameWatch = 0;
    }

    start() {
        this._focusHandler = this._display.connect('notify::focus-window', () => this.report());
        this._nameWatch = Gio.bus_watch_name_on_connection(this._bus, padloomService,
            Gio.BusNameWatcherFlags.NONE, () => this.report(), null);
    }

    stop() {
        if (this._focusHandler)
            this._display.disconnect(this._focusHandler);
        if (this._nameWatch)
            Gio.bus_unwatch_name(this._nameWatch);
        this._focusHandler = 0;
        this._nameWatch = 0;
    }

    report() {
        const window = this._display.focus_window;
        const method = window ? 'WindowFocused' : 'FocusGone';
        const parameters = window
            ? new GLib.Variant('(ss)', [window.get_wm_class() || '', window.get_title() || ''])
            : null;
        // Nobody may be listening: Padloom is not running, or runs without this way in.
        this._bus.call(padloomService, padloomPath, padloomInterface, method, parameters, null,
            Gio.DBusCallFlags.NO_AUTO_START, -1, null, null);
    }
}
