// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/web_sandbox.h"

#include "platform/gtk/web/web_context.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <glib.h>

namespace padloom {

namespace {

// Containers and some CI runners refuse the namespaces bubblewrap needs; with the sandbox on,
// every page process would then fail to start and both windows would stay blank. Running the
// same kind of command WebKit runs tells beforehand.
bool bubblewrapWorks() {
    char* bwrap = g_find_program_in_path("bwrap");
    if (!bwrap) {
        return false;
    }
    const char* argv[] = {bwrap,
                          "--unshare-all",
                          "--die-with-parent",
                          "--ro-bind",
                          "/",
                          "/",
                          "--proc",
                          "/proc",
                          "--dev",
                          "/dev",
                          "true",
                          nullptr};
    gint status = -1;
    gboolean ran = g_spawn_sync(nullptr, const_cast<char**>(argv), nullptr,
                                GSpawnFlags(G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL), nullptr,
                                nullptr, nullptr, nullptr, &status, nullptr);
    g_free(bwrap);
    return ran && g_spawn_check_wait_status(status, nullptr);
}

} // namespace

bool configureWebSandbox(const std::string& resourceDir) {
    const char* choice = std::getenv("PADLOOM_WEBKIT_SANDBOX");
    bool enabled;
    if (choice && std::strcmp(choice, "0") == 0) {
        enabled = false;
    } else if (choice && std::strcmp(choice, "1") == 0) {
        enabled = true;
    } else {
        enabled = bubblewrapWorks();
        if (!enabled) {
            std::fprintf(stderr, "padloom: bubblewrap cannot run here, so the pages run without WebKit's "
                                 "sandbox (set PADLOOM_WEBKIT_SANDBOX=1 to force it on).\n");
        }
    }
    setWebContextSandbox(enabled, resourceDir);
    return enabled;
}

} // namespace padloom
