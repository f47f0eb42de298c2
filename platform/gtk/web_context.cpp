#include "platform/gtk/web_context.h"

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

// The limit is the point where WebKit starts freeing caches and collecting garbage; above the
// strict threshold it does so eagerly. Nothing is killed.
WebKitMemoryPressureSettings* pressureSettings(unsigned limitMB) {
    WebKitMemoryPressureSettings* settings = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(settings, limitMB);
    webkit_memory_pressure_settings_set_conservative_threshold(settings, 0.33);
    webkit_memory_pressure_settings_set_strict_threshold(settings, 0.5);
    webkit_memory_pressure_settings_set_kill_threshold(settings, 0);
    webkit_memory_pressure_settings_set_poll_interval(settings, 5);
    return settings;
}

void applySandbox(WebKitWebContext* context) {
    webkit_web_context_set_sandbox_enabled(context, sandbox().enabled);
    if (sandbox().enabled && !sandbox().readableFolder.empty()) {
        webkit_web_context_add_path_to_sandbox(context, sandbox().readableFolder.c_str(), TRUE);
    }
}

// WebKit lets go of its processes' connections a moment after the context goes; what the heap
// then holds free at its top and in its arenas goes back to the system.
void trimHeapSoon() {
    static guint pending = 0;
    if (pending != 0) {
        return;
    }
    pending = g_timeout_add_seconds(
        3,
        [](gpointer) -> gboolean {
            pending = 0;
            malloc_trim(0);
            return G_SOURCE_REMOVE;
        },
        nullptr);
}

} // namespace

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
        trimHeapSoon();
    }
}

void setWebContextSandbox(bool enabled, const std::string& readableFolder) {
    sandbox() = {enabled, readableFolder};
    if (current != nullptr) {
        applySandbox(current);
    }
}

} // namespace padloom
