// SPDX-License-Identifier: GPL-3.0-or-later
// A GNOME Shell extension for the tests only (uuid gnome-focus-mover@padloom.test; desktop-session
// installs it): moves the focus on request, as a user's click would, since the shell's own Eval
// is locked. io.github.padloom.test.FocusMover on the session bus:
//   Activate(s wm_class) -> b   activates the first window of that class (a Wayland window's is
//                               its app id); false when there is none
'use strict';

const {Gio} = imports.gi;

const moverXml = `<node><interface name="io.github.padloom.test.FocusMover">
  <method name="Activate"><arg type="s" direction="in"/><arg type="b" direction="out"/></method>
</interface></node>`;

class FocusMover {
    Activate(wmClass) {
        const windows = global.get_window_actors().map(actor => actor.get_meta_window());
        const window = windows.find(w => (w.get_wm_class() || '').toLowerCase() === wmClass.toLowerCase());
        if (window)
            window.activate(global.get_current_time());
        return Boolean(window);
    }
}

let exported = null;
let owner = 0;

function init() {
}

function enable() {
    exported = Gio.DBusExportedObject.wrapJSObject(moverXml, new FocusMover());
    exported.export(Gio.DBus.session, '/io/github/padloom/test/FocusMover');
    owner = Gio.bus_own_name_on_connection(Gio.DBus.session, 'io.github.padloom.test.FocusMover',
        Gio.BusNameOwnerFlags.NONE, null, null);
}

function disable() {
    if (owner)
        Gio.bus_unown_name(owner);
    if (exported)
        exported.unexport();
    owner = 0;
    exported = null;
}
