// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/web_context.h"

#include "platform/gtk/web/library_pageout.h"

#include <malloc.h>
#include <webkit2/webkit2.h>

namespace padloom {
namespace {

struct Sandbox {
    bool enabled = false;
    std::string readableFolder;
};

WebKitWebContext* current = nullptr;

Sandbox& sandbox() {
    static Sandbox value;
    return value;
}

// Each look wakes the process and, over the conservative threshold (where the pages always are),
// has it free what it can: every 5 s (WebKit's default) that cost an idle window 0.2 % of a core.
// Memory grows while the pages change, and then a look follows within a minute.
constexpr double pollSeconds = 60;

// The limit is the point where WebKit starts freeing caches and collecting garbage; above the
// strict threshold it does so eagerly. Nothing is killed.
WebKitMemoryPressureSettings* pressureSettings(unsigned limitMB) {
    WebKitMemoryPressureSettings* settings = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(settings, limitMB);
    webkit_memory_pressure_settings_set_conservative_threshold(settings, 0.33);
    webkit_memory_pressure_settings_set_strict_threshold(settings, 0.5);
    webkit_memory_pressure_settings_set_kill_threshold(settings, 0);
    webkit_memory_pressure_settings_set_poll_interval(settings, pollSeconds);
    return settings;
}

void applySandbox(WebKitWebContext* context) {
    webkit_web_context_set_sandbox_enabled(context, sandbox().enabled);
    if (sandbox().enabled && !sandbox().readableFolder.empty()) {
        webkit_web_context_add_path_to_sandbox(context, sandbox().readableFolder.c_str(), TRUE);
    }
}

// WebKit lets go of its processes' connections a moment after the context goes. Then, if no page
// has come back meanwhile, what the heap holds free goes back to the system, and so do the pages
// of WebKit's own libraries (its code, JavaScriptCore's, the speech voices it links) that only
// this process maps: nothing runs them until a page is shown again, and they are read back then.
void giveBackMemorySoon() {
    static guint pending = 0;
    if (pending != 0) {
        return;
    }
    pending = g_timeout_add_seconds(
        3,
        [](gpointer) -> gboolean {
            pending = 0;
            if (current == nullptr) {
                malloc_trim(0);
                pageOutLibraries({"libwebkit2gtk-", "libjavascriptcoregtk-", "libflite"});
            }
            return G_SOURCE_REMOVE;
        },
        nullptr);
}

} // namespace

void keepWebKitLight() {
    const bool replace = false;
    // Its thread read the system's memory figures every 5 s, for processes that watch their own.
    g_setenv("WEBKIT_DISABLE_MEMORY_PRESSURE_MONITOR", "1", replace);
    // Read by JavaScriptCore in the web process, which inherits the environment.
    g_setenv("JSC_useJIT", "false", replace);
}

WebKitWebContext* appWebContext() {
    if (current != nullptr) {
        return current;
    }
    static const bool networkLimited = [] {
        WebKitMemoryPressureSettings* settings = pressureSettings(40);
        webkit_website_data_manager_set_memory_pressure_settings(settings);
        webkit_memory_pressure_settings_free(settings);
        return true;
    }();
    (void)networkLimited;
    WebKitMemoryPressureSettings* settings = pressureSettings(100);
    current = WEBKIT_WEB_CONTEXT(
        g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "memory-pressure-settings", settings, nullptr));
    webkit_memory_pressure_settings_free(settings);
    webkit_web_context_set_cache_model(current, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    applySandbox(current);
    return current;
}

void releaseAppWebContext() {
    if (current != nullptr) {
        g_object_unref(current);
        current = nullptr;
        giveBackMemorySoon();
    }
}

void setWebContextSandbox(bool enabled, const std::string& readableFolder) {
    sandbox() = {enabled, readableFolder};
    if (current != nullptr) {
        applySandbox(current);
    }
}

} // namespace padloom
