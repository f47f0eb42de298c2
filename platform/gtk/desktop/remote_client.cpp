// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/desktop/remote_client.h"

#include "app/pages/shown_text.h"

#include <gio/gio.h>
#include <memory>
#include <optional>

namespace padloom::remote {
namespace {

// Longer than the app keeps a request waiting for its start-up, so the app's answer comes first.
constexpr int callTimeoutMs = 30000;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

// The app's own "not done" answers carry the reason alone; any other error (the call did not
// reach the app, or it went away) says so first.
std::string reasonOf(GError* error) {
    gchar* name = g_dbus_error_get_remote_error(error);
    const bool answered = g_strcmp0(name, notDoneError) == 0;
    g_free(name);
    g_dbus_error_strip_remote_error(error);
    return answered ? error->message : std::string("Padloom did not take the request: ") + error->message;
}

Outcome<VariantPtr> call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                         const char* method, GVariant* parameters, const char* replyType) {
    GError* raw = nullptr;
    GVariant* result =
        g_dbus_connection_call_sync(bus, name, path, interface, method, parameters, G_VARIANT_TYPE(replyType),
                                    G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMs, nullptr, &raw);
    ErrorPtr error(raw);
    if (error) {
        return Problem{reasonOf(error.get())};
    }
    return VariantPtr(result);
}

Outcome<> appRuns(GDBusConnection* bus) {
    const Outcome<VariantPtr> owned =
        call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
             g_variant_new("(s)", applicationId), "(b)");
    if (!owned) {
        return Problem{"Padloom is not running: " + owned.problem()};
    }
    gboolean hasOwner = FALSE;
    g_variant_get(owned->get(), "(b)", &hasOwner);
    return hasOwner ? Outcome<>() : Problem{"Padloom is not running."};
}

// A bus message carries UTF-8 only: a name typed with other bytes goes as the list shows it.
GVariant* nameParameter(const std::string& name) {
    return g_variant_new("(s)", validUtf8(name).c_str());
}

Reply send(const char* method, const std::optional<std::string>& name = std::nullopt) {
    GError* raw = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw);
    ErrorPtr error(raw);
    if (!bus) {
        return {
            Problem{std::string("Padloom is not running: there is no session bus (") + error->message + ")."},
            {}};
    }
    std::unique_ptr<GDBusConnection, void (*)(gpointer)> busRef(bus, g_object_unref);
    if (const Outcome<> runs = appRuns(bus); !runs) {
        return {runs, {}};
    }
    const Outcome<VariantPtr> result = call(bus, applicationId, objectPath, remoteInterface, method,
                                            name ? nameParameter(*name) : nullptr, "(s)");
    if (!result) {
        return {problemOf(result), {}};
    }
    const char* activeFile = nullptr;
    g_variant_get(result->get(), "(&s)", &activeFile);
    return {{}, activeFile};
}

} // namespace

Reply activate(const std::string& name) {
    return send("Activate", name);
}

Reply deactivate() {
    return send("Deactivate");
}

Reply status() {
    return send("Status");
}

} // namespace padloom::remote
