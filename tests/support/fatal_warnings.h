// SPDX-License-Identifier: GPL-3.0-or-later
// Makes GLib's warnings and criticals (GTK's and GDK's included: a failed cast, a failed
// assertion) abort this process, as G_DEBUG=fatal-warnings would, without handing the setting to
// the processes it starts (WebKit's, the session's accessibility services), which inherit the
// environment and warn about the machine they run on.
#pragma once

#include <glib.h>

namespace padloom::test {

inline void makeWarningsFatal() {
    g_log_set_always_fatal(
        static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL));
}

} // namespace padloom::test
