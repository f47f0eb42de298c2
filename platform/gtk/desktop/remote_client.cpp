#include "platform/gtk/desktop/remote_client.h"

#include "app/pages/shown_text.h"

#include <gio/gio.h>
#include <memory>

namespace padloom::remote {
namespace {

constexpr char objectPath[] = "/io/github/padloom/Padloom";
constexpr int callTimeoutMs = 30000;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

Reply failed(std::string problem) {
    Reply reply;
    reply.problem = std::move(problem);
    return reply;
}

VariantPtr call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                const char* method, GVariant* parameters, const char* replyType, std::string& problem) {
    GError* raw = nullptr;
    GVariant* result =
        g_dbus_connection_call_sync(bus, name, path, interface, method, parameters, G_VARIANT_TYPE(replyType),
                                    G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMs, nullptr, &raw);
    ErrorPtr error(raw);
    if (error) {
        g_dbus_error_strip_remote_error(error.get());
        problem = error->message;
    }
    return VariantPtr(result);
}

bool appRuns(GDBusConnection* bus, std::string& problem) {
    VariantPtr owned = call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                            "NameHasOwner", g_variant_new("(s)", applicationId), "(b)", problem);
    gboolean hasOwner = FALSE;
    if (owned) {
        g_variant_get(owned.get(), "(b)", &hasOwner);
    }
    return hasOwner;
}

GVariant* activateParameters(const std::string& action, const std::optional<std::string>& text) {
    GVariantBuilder parameter;
    g_variant_builder_init(&parameter, G_VARIANT_TYPE("av"));
    if (text) {
        // D-Bus carries UTF-8 only: a name typed with other bytes goes as the list shows it.
        g_variant_builder_add(&parameter, "v", g_variant_new_string(validUtf8(*text).c_str()));
    }
    return g_variant_new("(sav@a{sv})", action.c_str(), &parameter,
                         g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0));
}

Reply send(const std::optional<std::string>& action, const std::optional<std::string>& text) {
    GError* raw = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw);
    ErrorPtr error(raw);
    if (!bus) {
        return failed(std::string("Padloom is not running: there is no session bus (") + error->message +
                      ").");
    }
    std::unique_ptr<GDBusConnection, void (*)(gpointer)> busRef(bus, g_object_unref);
    std::string problem;
    if (!appRuns(bus, problem)) {
        return failed(problem.empty() ? "Padloom is not running." : "Padloom is not running: " + problem);
    }
    if (action && !call(bus, applicationId, objectPath, "org.gtk.Actions", "Activate",
                        activateParameters(*action, text), "()", problem)) {
        return failed("Padloom did not take the request: " + problem);
    }
    VariantPtr description = call(bus, applicationId, objectPath, "org.gtk.Actions", "Describe",
                                  g_variant_new("(s)", "status"), "((bgav))", problem);
    if (!description) {
        return failed("Padloom did not tell its status: " + problem);
    }
    gboolean enabled = FALSE;
    const char* signature = nullptr;
    GVariantIter* states = nullptr;
    g_variant_get(description.get(), "((b&gav))", &enabled, &signature, &states);
    GVariant* state = nullptr;
    const bool hasState = g_variant_iter_next(states, "v", &state);
    g_variant_iter_free(states);
    VariantPtr stateRef(state);
    if (!hasState || !g_variant_is_of_type(state, G_VARIANT_TYPE("(ss)"))) {
        return failed("Padloom told its status in a form this program does not know.");
    }
    const char* activeFile = nullptr;
    const char* answer = nullptr;
    g_variant_get(state, "(&s&s)", &activeFile, &answer);
    Reply reply;
    reply.activeFile = activeFile;
    reply.problem = action ? answer : "";
    reply.done = reply.problem.empty();
    return reply;
}

} // namespace

Reply request(const std::string& action, const std::optional<std::string>& text) {
    return send(action, text);
}

Reply status() {
    return send(std::nullopt, std::nullopt);
}

} // namespace padloom::remote
