// SPDX-License-Identifier: GPL-3.0-or-later
// The boundary between the controller (TesselAppDelegate) and the desktop shell that hosts it.
//
// Shell guide. The shell (GTK + WebKitGTK) implements these interfaces and owns their objects:
//   ScriptPage        one per web view; evaluate() runs webkit_web_view_evaluate_javascript and
//                     waits in a nested main loop (with a time limit) for the value: undefined,
//                     string, number or bool (anything else: its string form).
//   MenuItem          one per row of app/controller/menu_entries.h that has an outlet (MenuOutlets); the
//                     shell builds its menus from those rows.
//   Window            the main and the configuration window; frame() in screen points with the
//                     origin at the bottom left (convert from GTK's top-left coordinates).
//   Label             the joystick count label of the main window.
//   Dialogs           showAlert: modal message with "OK"; confirm: "Please Confirm" / "Yes" / "No".
//   SettingsStore     platform/gtk/shell/keyfile_settings_store.h (GKeyFile, saved after each write).
//   DesktopServices   g_app_info_launch_default_for_uri; FileManager1.ShowItems over D-Bus.
//   MainLoop          g_timeout_add for runLater; requestTerminate asks applicationShouldTerminate
//                     and quits the GTK application when it answers true.
//   PresentationMonitor  the full-screen watch (X11 _NET_ACTIVE_WINDOW / _NET_WM_STATE).
//   CaptureEvents     derive from SdlCaptureEvents and override serviceWindowSystem() to dispatch
//                     pending GTK events, so the windows stay responsive during a capture.
// Then, in this order:
//   1. Fill TesselAppDelegate::Outlets and construct the controller with it (and HelpSites).
//      The main page (resources/gui/window_main.htm) may start loading before, so that its web
//      process starts meanwhile; each page has the user script that defines `app` / `appconfig`
//      (the page operations).
//   2. awakeFromNib().
//   3. applicationDidFinishLaunching().
//   4. On the main page's "load-finished" (WEBKIT_LOAD_FINISHED), not before step 3:
//      webViewDocumentReady(). Once the main window is shown, load window_config.htm; scripts for
//      a page wait while it loads.
//   5. Script bridge messages: callFromPage(op, args) with the parsed arguments; send back the
//      reply's value, or reject the page's promise with the reply's problem when refused.
//   6. Menu items run their row's action (options and commands: a method of the controller; help
//      topics: showHelp(HelpTopic)). "monitors-changed": applicationDidChangeScreenParameters().
//   7. Window "delete-event": windowShouldClose(window) (false keeps it open); on close:
//      windowWillClose(window). Quitting from the menu: applicationShouldTerminate(), then
//      applicationWillTerminate() before the process ends.
//   8. Escape in either window during a capture: escapeCapture() (see capture_events.h).
//   9. Page alert()/confirm() through "script-dialog": Dialogs::showAlertLater / confirmLater,
//      answered from the main loop (no panel runs inside the web view's signal).
//  10. Steps 4 to 8 enter the controller through TesselAppDelegate::operations() (run, or post
//      from a web view's handlers), so no operation starts inside another; Escape does not queue.
//  11. The tray and the remote actions take the controller as PresetSwitching (switching()).
#pragma once

#include "app/capture/capture_events.h"
#include "app/ui/desktop_services.h"
#include "app/ui/dialogs.h"
#include "app/ui/label.h"
#include "app/ui/main_loop.h"
#include "app/ui/menu_item.h"
#include "app/ui/presentation_monitor.h"
#include "app/ui/script_page.h"
#include "app/ui/settings_store.h"
#include "app/ui/window.h"
