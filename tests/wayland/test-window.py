#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A window of another program for the compositor tests: its Wayland app id and its X11 WM_CLASS
# are argv[1]; GDK_BACKEND chooses a native Wayland window or an XWayland one.
import sys

import gi

gi.require_version('Gtk', '3.0')
from gi.repository import GLib, Gtk  # noqa: E402

app_id = sys.argv[1]
GLib.set_prgname(app_id)
window = Gtk.Window(title=app_id)
window.set_wmclass(app_id, app_id)
window.set_default_size(320, 200)
window.add(Gtk.Label(label=app_id))
window.connect('destroy', Gtk.main_quit)
window.show_all()
Gtk.main()
