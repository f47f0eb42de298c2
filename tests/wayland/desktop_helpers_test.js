// SPDX-License-Identifier: GPL-3.0-or-later
// Padloom's desktop helpers under gjs, with the desktops' parts stood in for:
//   - the GNOME Shell extension in both of its formats (GNOME Shell 40 to 44, and the modules of
//     45 on, whose shell import is replaced by a stand-in), with global.display stood in for and
//     the real session bus (run under dbus-run-session), where a stand-in for Padloom records
//     every report;
//   - the KWin script with Plasma 5's and Plasma 6's workspace and callDBus stood in for.
//   gjs -m desktop_helpers_test.js EXTENSIONS_DIR KWIN_SCRIPT
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import System from 'system';

const [extensionsDir, kwinScript] = System.programArgs;
const modernUuid = 'padloom-focus@padloom.github.io';
const legacyUuid = 'padloom-focus-legacy@padloom.github.io';
let failures = 0;

function expectEqual(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    if (a === e) {
        print(`ok    ${what}`);
    } else {
        print(`FAIL  ${what}\n        got      ${a}\n        expected ${e}`);
        failures++;
    }
}

// Serves the main loop until condition() holds or five seconds pass.
function waitFor(condition) {
    const context = GLib.MainContext.default();
    const wake = GLib.timeout_add(GLib.PRIORITY_DEFAULT, 20, () => GLib.SOURCE_CONTINUE);
    const end = GLib.get_monotonic_time() + 5000000;
    while (!condition() && GLib.get_monotonic_time() < end)
        context.iteration(true);
    GLib.source_remove(wake);
    return condition();
}

function readText(path) {
    return new TextDecoder().decode(GLib.file_get_contents(path)[1]);
}

// MetaDisplay as the extension uses it: focus_window and its notify signal.
class StandInDisplay {
    constructor() {
        this.focus_window = null;
        this.handlers = new Map();
        this.nextHandler = 1;
    }

    connect(signal, handler) {
        this.handlers.set(this.nextHandler, {signal, handler});
        return this.nextHandler++;
    }

    disconnect(id) {
        this.handlers.delete(id);
    }

    focus(window) {
        this.focus_window = window;
        for (const {signal, handler} of this.handlers.values()) {
            if (signal === 'notify::focus-window')
                handler(this, null);
        }
    }
}

const window = (wmClass, title) => ({get_wm_class: () => wmClass, get_title: () => title});

// Padloom's side of the reports on the session bus: records each call as a line.
class StandInPadloom {
    constructor() {
        this.calls = [];
        const xml = `<node><interface name="io.github.padloom.Padloom.FocusFollowing">
            <method name="WindowFocused"><arg type="s" direction="in"/><arg type="s" direction="in"/></method>
            <method name="FocusGone"/></interface></node>`;
        const self = this;
        this.exported = Gio.DBusExportedObject.wrapJSObject(xml, {
            WindowFocused(appId, title) {
                self.calls.push(`WindowFocused ${appId} | ${title}`);
            },
            FocusGone() {
                self.calls.push('FocusGone');
            },
        });
        this.bus = Gio.bus_get_sync(Gio.BusType.SESSION, null);
        this.exported.export(this.bus, '/io/github/padloom/Padloom');
        this.owned = false;
        this.owner = Gio.bus_own_name_on_connection(this.bus, 'io.github.padloom.Padloom',
            Gio.BusNameOwnerFlags.NONE, () => (this.owned = true), null);
        waitFor(() => this.owned);
    }

    // The calls so far: a call of the test's own goes after those sent before it (one connection
    // keeps its order), so once it is in, every earlier report is.
    settle() {
        this.bus.call('io.github.padloom.Padloom', '/io/github/padloom/Padloom',
            'io.github.padloom.Padloom.FocusFollowing', 'WindowFocused', new GLib.Variant('(ss)', ['end', '']),
            null, Gio.DBusCallFlags.NONE, -1, null, null);
        waitFor(() => this.calls.includes('WindowFocused end | '));
        return this.calls.splice(0).filter(call => call !== 'WindowFocused end | ');
    }

    stop() {
        Gio.bus_unown_name(this.owner);
        this.exported.unexport();
    }
}

// Each format, loaded as GNOME Shell loads it; returns {enable(), disable()}.
async function loadModern() {
    const folder = GLib.dir_make_tmp('padloom-extension-XXXXXX');
    GLib.file_set_contents(`${folder}/shell-extension.js`,
        'export class Extension { constructor(metadata) { this.metadata = metadata; } }\n');
    const text = readText(`${extensionsDir}/${modernUuid}/extension.js`).replace(
        'resource:///org/gnome/shell/extensions/extension.js', `file://${folder}/shell-extension.js`);
    GLib.file_set_contents(`${folder}/extension.js`, text);
    const module = await import(`file://${folder}/extension.js`);
    return new module.default({uuid: modernUuid});
}

function loadLegacy() {
    imports.searchPath.unshift(`${extensionsDir}/${legacyUuid}`);
    const extension = imports.extension;
    imports.searchPath.shift();
    extension.init();
    return extension;
}

function checkGnomeExtension(format, extension) {
    const display = new StandInDisplay();
    globalThis.global = {display};
    display.focus(window('loomtest-a', 'A'));
    extension.enable();
    display.focus(window('loomtest-b', 'B'));
    // No Padloom yet: the reports go nowhere, and nothing breaks.
    const padloom = new StandInPadloom();
    waitFor(() => padloom.calls.length > 0);
    display.focus(window('loomtest-x11', 'X'));
    display.focus(window(null, null));
    display.focus(null);
    expectEqual(padloom.settle(), ['WindowFocused loomtest-b | B', 'WindowFocused loomtest-x11 | X',
        'WindowFocused  | ', 'FocusGone'], `${format}: Padloom is told the focus when it appears, then each change`);
    extension.disable();
    expectEqual(display.handlers.size, 0, `${format}: disabling lets go of the display`);
    display.focus(window('loomtest-a', 'A'));
    padloom.stop();
    const again = new StandInPadloom();
    expectEqual(again.settle(), [], `${format}: disabled, it reports nothing, not even to a Padloom that appears`);
    again.stop();
}

// Plasma 5 names windows clients, Plasma 6 windows; the script works with either.
function checkKWinScript() {
    const text = readText(kwinScript);
    for (const plasma of [5, 6]) {
        const calls = [];
        const handlers = [];
        const signal = {connect: handler => handlers.push(handler)};
        const client = (resourceClass, caption) => ({resourceClass, caption});
        const workspace = plasma === 6
            ? {windowActivated: signal, activeWindow: client('loomtest-a', 'A')}
            : {clientActivated: signal, activeClient: client('loomtest-a', 'A')};
        const callDBus = (service, path, iface, method, ...args) =>
            calls.push([service, path, iface, method, ...args].join(' '));
        new Function('workspace', 'callDBus', text)(workspace, callDBus);
        handlers.forEach(handler => handler(client('loomtest-x11', 'X')));
        handlers.forEach(handler => handler(null));
        const to = 'io.github.padloom.Padloom /io/github/padloom/Padloom io.github.padloom.Padloom.FocusFollowing';
        expectEqual(calls, [`${to} WindowFocused loomtest-a A`, `${to} WindowFocused loomtest-x11 X`,
            `${to} FocusGone`], `KWin script, Plasma ${plasma}: the active window at load, then each activation`);
    }
}

checkGnomeExtension('GNOME Shell 45 on', await loadModern());
checkGnomeExtension('GNOME Shell 40 to 44', loadLegacy());
checkKWinScript();
print(failures === 0 ? 'all passed' : `${failures} failed`);
System.exit(failures === 0 ? 0 : 1);
