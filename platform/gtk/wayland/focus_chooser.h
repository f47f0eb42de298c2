// SPDX-License-Identifier: GPL-3.0-or-later
// Picks, at start, the way this session lets presets follow the focused program (see
// app/desktop/focus_session.h) and makes its monitor.
#pragma once

#include "app/desktop/focus_session.h"
#include "app/ui/focus_monitor.h"

#include <memory>
#include <string>

typedef struct _GDBusConnection GDBusConnection;

namespace padloom {

class X11ActiveWindow;

struct FocusChoice {
    FocusSource source = FocusSource::none;
    std::unique_ptr<FocusMonitor> monitor; // never null
};

// bus and objectPath: the application's own connection and object path, where desktop helpers
// report (none: no helper can). resourceDir holds the KWin script.
FocusChoice chooseFocusMonitor(X11ActiveWindow& activeWindow, GDBusConnection* bus,
                               const std::string& objectPath, const std::string& resourceDir);

} // namespace padloom
