// SPDX-License-Identifier: GPL-3.0-or-later
// WebKit's sandbox for the page processes.
#pragma once

#include <string>

namespace padloom {

// Turns the sandbox on for the pages' web context (web_context.h) when it can work here (bubblewrap is
// present and can create its namespaces), and lets the page processes read resourceDir. The environment
// variable PADLOOM_WEBKIT_SANDBOX=0 turns it off, =1 turns it on without the probe. Call before
// the first web view is created. Returns whether the sandbox is on.
bool configureWebSandbox(const std::string& resourceDir);

} // namespace padloom
