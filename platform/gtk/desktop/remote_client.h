// SPDX-License-Identifier: GPL-3.0-or-later
// The client side of the running app's remote control, for padloomctl and padloom --activate:
// GIO only. The app (platform/gtk/desktop/remote_actions.h) offers its interface on the session
// bus under its application id; each call is answered in its own reply once the app has run it.
#pragma once

#include "app/outcome.h"

#include <string>

namespace padloom::remote {

inline constexpr char applicationId[] = "io.github.padloom.Padloom";
inline constexpr char objectPath[] = "/io/github/padloom/Padloom";
inline constexpr char remoteInterface[] = "io.github.padloom.Padloom.Remote";
// The error a request was answered with when it was not done; its message says why.
inline constexpr char notDoneError[] = "io.github.padloom.Padloom.Remote.NotDone";

struct Reply {
    Outcome<> done;         // the app took the request and did it
    std::string activeFile; // the active preset's file name afterwards; empty when none
};

// Each is not done, with a problem that says so, when no app runs on the session bus.
Reply activate(const std::string& name);
Reply deactivate();
Reply status();

} // namespace padloom::remote
