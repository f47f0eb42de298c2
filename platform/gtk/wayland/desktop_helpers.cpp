// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/wayland/desktop_helpers.h"

#include <algorithm>
#include <gio/gio.h>

namespace padloom {
namespace {

constexpr char kwinPluginName[] = "padloom-focus";
constexpr char gnomeUuid[] = "padloom-focus@padloom.github.io";              // GNOME Shell 45 on
constexpr char gnomeLegacyUuid[] = "padloom-focus-legacy@padloom.github.io"; // GNOME Shell 40 to 44
constexpr int firstModuleShell = 45;
// A desktop service that does not answer within this time is taken as absent.
constexpr int callTimeoutMs = 2000;
// How long enabling waits for the shell to take the extension up, in steps.
constexpr unsigned enableCheckMs = 200;
constexpr int enableChecks = 15;

// A call on the session bus; none (and why, when asked) when it failed.
GVariant* callSync(GDBusConnection* bus, const char* service, const char* path, const char* interface,
                   const char* method, GVariant* parameters, const char* replyType,
                   std::string* whyNot = nullptr) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, service, path, interface, method, parameters, replyType ? G_VARIANT_TYPE(replyType) : nullptr,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMs, nullptr, &error);
    if (reply == nullptr) {
        if (whyNot != nullptr) {
            g_dbus_error_strip_remote_error(error);
            *whyNot = error->message;
        }
        g_error_free(error);
    }
    return reply;
}

GVariant* kwinScripting(GDBusConnection* bus, const char* method, GVariant* parameters, const char* replyType,
                        std::string* whyNot = nullptr) {
    return callSync(bus, "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method, parameters,
                    replyType, whyNot);
}

// The shell's settings; none where GNOME Shell's schema is not installed.
GSettings* shellSettings() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.shell", TRUE) : nullptr;
    if (schema == nullptr) {
        return nullptr;
    }
    g_settings_schema_unref(schema);
    return g_settings_new("org.gnome.shell");
}

bool listed(GSettings* settings, const char* key, const std::string& uuid) {
    gchar** items = g_settings_get_strv(settings, key);
    const bool found = g_strv_contains(items, uuid.c_str());
    g_strfreev(items);
    return found;
}

void setListed(GSettings* settings, const char* key, const std::string& uuid, bool on) {
    gchar** items = g_settings_get_strv(settings, key);
    GStrvBuilder* builder = g_strv_builder_new();
    for (gchar** item = items; *item != nullptr; ++item) {
        if (uuid != *item) {
            g_strv_builder_add(builder, *item);
        }
    }
    if (on) {
        g_strv_builder_add(builder, uuid.c_str());
    }
    gchar** changed = g_strv_builder_end(builder);
    g_settings_set_strv(settings, key, changed);
    g_strfreev(changed);
    g_strv_builder_unref(builder);
    g_strfreev(items);
}

int shellMajorVersion(GDBusConnection* bus) {
    GVariant* reply = callSync(bus, "org.gnome.Shell", "/org/gnome/Shell", "org.freedesktop.DBus.Properties",
                               "Get", g_variant_new("(ss)", "org.gnome.Shell", "ShellVersion"), "(v)");
    if (reply == nullptr) {
        return 0;
    }
    GVariant* version = nullptr;
    g_variant_get(reply, "(v)", &version);
    const int major =
        g_variant_is_of_type(version, G_VARIANT_TYPE_STRING)
            ? static_cast<int>(g_ascii_strtoll(g_variant_get_string(version, nullptr), nullptr, 10))
            : 0;
    g_variant_unref(version);
    g_variant_unref(reply);
    return major;
}

} // namespace

KWinScript::~KWinScript() {
    stop();
}

// A script of the same name left by a Padloom that ended without quitting goes first.
void KWinScript::start() {
    if (!g_file_test(script_.c_str(), G_FILE_TEST_IS_REGULAR)) {
        whyNot_ = "no script at " + script_;
        return;
    }
    if (GVariant* unloaded =
            kwinScripting(bus_, "unloadScript", g_variant_new("(s)", kwinPluginName), "(b)")) {
        g_variant_unref(unloaded);
    }
    GVariant* id = kwinScripting(bus_, "loadScript", g_variant_new("(ss)", script_.c_str(), kwinPluginName),
                                 "(i)", &whyNot_);
    if (id == nullptr) {
        return;
    }
    gint32 number = -1;
    g_variant_get(id, "(i)", &number);
    g_variant_unref(id);
    if (number < 0) {
        whyNot_ = "KWin refused it";
        return;
    }
    GVariant* started = kwinScripting(bus_, "start", nullptr, nullptr, &whyNot_);
    if (started == nullptr) {
        return;
    }
    g_variant_unref(started);
    loaded_ = true;
}

void KWinScript::stop() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    whyNot_ = "not loaded";
    if (GVariant* unloaded =
            kwinScripting(bus_, "unloadScript", g_variant_new("(s)", kwinPluginName), "(b)")) {
        g_variant_unref(unloaded);
    }
}

FollowerState KWinScript::state(bool reported) const {
    return loaded_ || reported ? followerState(FocusSource::kwin) : kwinScriptFailed(whyNot_);
}

struct GnomeExtension::Waiting {
    struct Check {
        GnomeExtension* extension;
        std::function<void()> done;
        int left;
    };
    static gboolean check(gpointer data) {
        auto* waiting = static_cast<Check*>(data);
        const GnomeExtensionFacts facts = waiting->extension->facts();
        if (--waiting->left > 0 && !gnomeExtensionState(facts).followable) {
            return G_SOURCE_CONTINUE;
        }
        waiting->extension->waiting_ = 0;
        waiting->done();
        return G_SOURCE_REMOVE;
    }
    static void free(gpointer data) { delete static_cast<Check*>(data); }
};

GnomeExtension::GnomeExtension(GDBusConnection* bus)
    : bus_(bus), uuid_(shellMajorVersion(bus) >= firstModuleShell ? gnomeUuid : gnomeLegacyUuid) {}

GnomeExtension::~GnomeExtension() {
    if (waiting_ != 0) {
        g_source_remove(waiting_);
    }
}

GnomeExtensionFacts GnomeExtension::facts() const {
    GnomeExtensionFacts facts;
    if (GVariant* reply = callSync(bus_, "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions",
                                   "GetExtensionInfo", g_variant_new("(s)", uuid_.c_str()), "(a{sv})")) {
        GVariant* info = g_variant_get_child_value(reply, 0);
        double state = 0;
        const char* error = nullptr;
        facts.known = g_variant_n_children(info) > 0;
        if (g_variant_lookup(info, "state", "d", &state)) {
            facts.state = static_cast<int>(state);
        }
        if (g_variant_lookup(info, "error", "&s", &error)) {
            facts.error = error;
        }
        g_variant_unref(info);
        g_variant_unref(reply);
    }
    if (GSettings* settings = shellSettings()) {
        facts.enabledInSettings =
            listed(settings, "enabled-extensions", uuid_) && !listed(settings, "disabled-extensions", uuid_);
        facts.userExtensionsOff = g_settings_get_boolean(settings, "disable-user-extensions");
        g_object_unref(settings);
    }
    return facts;
}

FollowerState GnomeExtension::state(bool reported) const {
    GnomeExtensionFacts now = facts();
    now.reported = reported;
    return gnomeExtensionState(now);
}

void GnomeExtension::enable(std::function<void()> done) {
    GSettings* settings = shellSettings();
    if (settings == nullptr || waiting_ != 0) {
        done();
        return;
    }
    setListed(settings, "disabled-extensions", uuid_, false);
    setListed(settings, "enabled-extensions", uuid_, true);
    g_settings_sync();
    g_object_unref(settings);
    waiting_ = g_timeout_add_full(G_PRIORITY_DEFAULT, enableCheckMs, Waiting::check,
                                  new Waiting::Check{this, std::move(done), enableChecks}, Waiting::free);
}

FollowerState NoDesktopHelper::state(bool reported) const {
    return reported ? otherHelperReports() : followerState(FocusSource::otherWayland);
}

} // namespace padloom
