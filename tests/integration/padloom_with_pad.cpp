// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_with_pad: the desktop program as it ships (platform/gtk/main.cpp), with a virtual pad
// inside it, for tests that try the program from outside. It writes the preset Pad.txt (the
// pad's button 0 types a space) into a preset folder without it; once the preset list is
// shown, it opens the editor on Pad.txt and renames the preset "Renamed" there, switches Pad.txt
// on and holds the pad's button 0.
#include "app/controller/tessel_app_delegate.h"
#include "app/presets/folders.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/started_hook.h"
#include "tests/support/preset_text.h"
#include "tests/support/fatal_warnings.h"
#include "tests/support/virtual_joystick.h"

#include <SDL.h>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>

namespace padloom {
namespace {

// Before main: a warning anywhere in the program's run fails the test that started it.
const bool warningsFatal = (test::makeWarningsFatal(), true);

struct Steps {
    Shell& shell;
    test::VirtualJoystick* pad = nullptr;
    int next = 0;
};

bool editorShowsPad(Shell& shell) {
    return gtk_widget_get_visible(GTK_WIDGET(shell.configWindow())) &&
           shell.configPage().evaluate("$('#name').val()") == ScriptValue("Pad");
}

// One step each time its condition holds, looked at every 20 ms.
gboolean takeStep(gpointer data) {
    auto* steps = static_cast<Steps*>(data);
    Shell& shell = steps->shell;
    switch (steps->next) {
    case 0:
        if (shell.mainPageFills() == 0) {
            return G_SOURCE_CONTINUE;
        }
        // The session lives as long as the process: the program quits SDL itself.
        steps->pad = &(new test::SdlJoystickSession)->plug(2, 4, 1);
        shell.mainPage().evaluate("$('.preset .edit').first().click(); true");
        break;
    case 1:
        if (!editorShowsPad(shell)) {
            return G_SOURCE_CONTINUE;
        }
        shell.configPage().evaluate("$('#name').val('Renamed').trigger('input'); true");
        shell.mainPage().evaluate("app.activatePreset_('Pad.txt'); true");
        break;
    default:
        if (!shell.controller().runner().active()) {
            return G_SOURCE_CONTINUE;
        }
        steps->pad->setButton(0, true);
        delete steps;
        return G_SOURCE_REMOVE;
    }
    ++steps->next;
    return G_SOURCE_CONTINUE;
}

} // namespace

void shellStarted(Shell& shell) {
    if (const Outcome<std::string> folder = presetFolder()) {
        if (!std::filesystem::exists(*folder + "Pad.txt")) {
            std::ofstream(*folder + "Pad.txt") << test::presetText("Pad");
        }
    }
    g_timeout_add(20, takeStep, new Steps{shell});
}

} // namespace padloom
