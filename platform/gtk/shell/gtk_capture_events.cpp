// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_capture_events.h"

#include <glib.h>

namespace padloom {

// A bounded number of rounds: a busy window system must not keep the capture from its own
// clock, and the next wait comes back here within a few milliseconds anyway.
void GtkCaptureEvents::serviceWindowSystem() {
    for (int round = 0; round < 16 && g_main_context_iteration(nullptr, FALSE); ++round) {
    }
}

} // namespace padloom
