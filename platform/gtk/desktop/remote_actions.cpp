// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/desktop/remote_actions.h"

#include "app/desktop/preset_switching.h"
#include "app/pages/shown_text.h"
#include "platform/gtk/desktop/remote_client.h"
#include "platform/gtk/shell/glib_main_loop.h"

#include <cstdio>
#include <gio/gio.h>

namespace padloom {
namespace {

constexpr char interfaceXml[] = "<node>"
                                "  <interface name='io.github.padloom.Padloom.Remote'>"
                                "    <method name='Activate'>"
                                "      <arg type='s' name='name' direction='in'/>"
                                "      <arg type='s' name='file' direction='out'/>"
                                "    </method>"
                                "    <method name='Deactivate'>"
                                "      <arg type='s' name='file' direction='out'/>"
                                "    </method>"
                                "    <method name='Status'>"
                                "      <arg type='s' name='file' direction='out'/>"
                                "    </method>"
                                "  </interface>"
                                "</node>";

GDBusInterfaceInfo* interfaceInfo() {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(interfaceXml, nullptr);
    return g_dbus_node_info_lookup_interface(node, remote::remoteInterface);
}

// Answers the method call once its request has run.
RemoteAnswerFn replyTo(GDBusMethodInvocation* invocation) {
    return [invocation](const RemoteAnswer& answer) {
        if (answer.done) {
            g_dbus_method_invocation_return_value(invocation,
                                                  g_variant_new("(s)", validUtf8(answer.activeFile).c_str()));
        } else {
            g_dbus_method_invocation_return_dbus_error(invocation, remote::notDoneError,
                                                       validUtf8(answer.done.problem()).c_str());
        }
    };
}

} // namespace

struct RemoteActions::Signals {
    static void activate(GSimpleAction*, GVariant* parameter, gpointer data) {
        auto* self = static_cast<RemoteActions*>(data);
        self->requests_->activate(g_variant_get_string(parameter, nullptr),
                                  [self](const RemoteAnswer& answer) { self->answer(answer); });
    }
    static void deactivate(GSimpleAction*, GVariant*, gpointer data) {
        auto* self = static_cast<RemoteActions*>(data);
        self->requests_->deactivate([self](const RemoteAnswer& answer) { self->answer(answer); });
    }
    // The state is the app's to tell, not a caller's to set.
    static void refuseChange(GSimpleAction*, GVariant*, gpointer) {}

    static void methodCall(GDBusConnection*, const char*, const char*, const char*, const char* method,
                           GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
        RemoteRequests& requests = *static_cast<RemoteActions*>(data)->requests_;
        if (g_strcmp0(method, "Activate") == 0) {
            const char* name = nullptr;
            g_variant_get(parameters, "(&s)", &name);
            requests.activate(name, replyTo(invocation));
        } else if (g_strcmp0(method, "Deactivate") == 0) {
            requests.deactivate(replyTo(invocation));
        } else {
            replyTo(invocation)({{}, requests.activeFile()});
        }
    }
};

RemoteActions::RemoteActions(GApplication* application)
    : application_(application), activate_(g_simple_action_new("activate", G_VARIANT_TYPE_STRING)),
      deactivate_(g_simple_action_new("deactivate", nullptr)),
      status_(g_simple_action_new_stateful("status", nullptr, g_variant_new("(ss)", "", ""))),
      loop_(std::make_unique<GlibMainLoop>([] {})), requests_(std::make_unique<RemoteRequests>(*loop_)) {
    g_signal_connect(activate_, "activate", G_CALLBACK(Signals::activate), this);
    g_signal_connect(deactivate_, "activate", G_CALLBACK(Signals::deactivate), this);
    g_signal_connect(status_, "change-state", G_CALLBACK(Signals::refuseChange), this);
    for (GSimpleAction* action : {activate_, deactivate_, status_}) {
        g_action_map_add_action(G_ACTION_MAP(application_), G_ACTION(action));
    }
    offerInterface();
}

// On the session bus's shared connection, the one the application registers its name on.
// Without a session bus the application runs alone, unreachable, and says nothing of it either.
void RemoteActions::offerInterface() {
    bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus_) {
        return;
    }
    static const GDBusInterfaceVTable vtable = {Signals::methodCall, nullptr, nullptr, {}};
    GError* error = nullptr;
    registration_ = g_dbus_connection_register_object(bus_, remote::objectPath, interfaceInfo(), &vtable,
                                                      this, nullptr, &error);
    if (registration_ == 0) {
        std::fprintf(stderr, "padloom: remote control is not offered: %s\n", error->message);
        g_error_free(error);
    }
}

RemoteActions::~RemoteActions() {
    attach(nullptr);
    requests_.reset();
    if (registration_ != 0) {
        g_dbus_connection_unregister_object(bus_, registration_);
    }
    if (bus_) {
        g_object_unref(bus_);
    }
    for (GSimpleAction* action : {activate_, deactivate_, status_}) {
        g_action_map_remove_action(G_ACTION_MAP(application_), g_action_get_name(G_ACTION(action)));
        g_signal_handlers_disconnect_by_data(action, this);
        g_object_unref(action);
    }
}

void RemoteActions::attach(PresetSwitching* presets) {
    if (presets_) {
        presets_->watchActivePreset(this, {});
    }
    requests_->attach(presets);
    presets_ = presets;
    if (presets_) {
        presets_->watchActivePreset(this, [this] { publish(); });
    }
    publish();
}

void RemoteActions::answer(const RemoteAnswer& answer) {
    lastAnswer_ = answer.done.problem();
    publish();
}

void RemoteActions::publish() {
    // Bus messages carry UTF-8 only; a file name may not be.
    g_simple_action_set_state(status_, g_variant_new("(ss)", validUtf8(requests_->activeFile()).c_str(),
                                                     validUtf8(lastAnswer_).c_str()));
}

} // namespace padloom
