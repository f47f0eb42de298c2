// SPDX-License-Identifier: GPL-3.0-or-later
// The web context the application's pages run in. Both pages share one web process; the context
// caches as a document viewer does (the pages are local files), and its processes give memory
// back under WebKit's memory-pressure thresholds. While no page is shown the context can be
// dropped, which ends WebKit's web and network processes; the next page makes a new one.
#pragma once

#include <string>

typedef struct _WebKitWebContext WebKitWebContext;

namespace padloom {

// WebKit's settings that are read from the environment, for a light and quiet idle: the
// application process does not poll the system's memory figures (its web processes watch their
// own use, see appWebContext), and JavaScript runs without the JIT compilers (the pages' scripts
// are small; compiled code and the compilers' memory cost more than they save). A variable the
// user has set is left as it is. Call before GTK starts, as it sets environment variables.
void keepWebKitLight();
// The current context, made on first use.
WebKitWebContext* appWebContext();
// Drops the current context (its pages must be gone); the processes end once WebKit lets go.
void releaseAppWebContext();
// The sandbox every context gets: on or off, and a folder its page processes may read.
void setWebContextSandbox(bool enabled, const std::string& readableFolder);

} // namespace padloom
