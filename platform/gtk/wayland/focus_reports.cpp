// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/wayland/focus_reports.h"

#include "app/desktop/focus_session.h"

#include <cstring>
#include <gio/gio.h>

namespace padloom {
namespace {

constexpr char interfaceXml[] = R"(<node>
  <interface name="io.github.padloom.Padloom.FocusFollowing">
    <method name="WindowFocused">
      <arg type="s" name="app_id" direction="in"/>
      <arg type="s" name="title" direction="in"/>
    </method>
    <method name="FocusGone"/>
  </interface>
</node>)";

// An app id is a reverse domain name or a WM_CLASS name; a longer text is nobody's.
constexpr gsize longestAppId = 512;

GDBusInterfaceInfo* interfaceInfo() {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(interfaceXml, nullptr);
    return node->interfaces[0];
}

} // namespace

struct FocusReports::Calls {
    static void method(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<FocusReports*>(data);
        FocusedWindow window; // FocusGone: no names
        if (g_str_equal(name, "WindowFocused")) {
            const char* appId = nullptr;
            g_variant_get(parameters, "(&s&s)", &appId, nullptr);
            if (std::strlen(appId) > longestAppId) {
                g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                                      "The app id is longer than %u bytes.",
                                                      static_cast<unsigned>(longestAppId));
                return;
            }
            window = windowOfAppId(appId);
        }
        self->reported_ = true;
        g_dbus_method_invocation_return_value(invocation, nullptr);
        if (self->onFocus_) {
            self->onFocus_(window);
        }
    }
};

FocusReports::FocusReports(GDBusConnection* bus, std::string objectPath,
                           std::unique_ptr<DesktopHelper> helper)
    : bus_(bus), objectPath_(std::move(objectPath)), helper_(std::move(helper)) {
    if (bus_ != nullptr) {
        g_object_ref(bus_);
    }
}

FocusReports::~FocusReports() {
    remove();
    if (bus_ != nullptr) {
        g_object_unref(bus_);
    }
}

FollowerState FocusReports::state() const {
    if (!refused_.empty()) {
        return {false, refused_, false};
    }
    return helper_->state(reported_);
}

void FocusReports::enableHelper(std::function<void()> done) {
    helper_->enable(std::move(done));
}

void FocusReports::install(std::function<void(const FocusedWindow&)> onFocus) {
    remove();
    if (bus_ == nullptr) {
        return;
    }
    static const GDBusInterfaceVTable vtable = {Calls::method, nullptr, nullptr, {}};
    GError* error = nullptr;
    registration_ = g_dbus_connection_register_object(bus_, objectPath_.c_str(), interfaceInfo(), &vtable,
                                                      this, nullptr, &error);
    if (registration_ == 0) {
        refused_ = std::string("Padloom cannot take focus reports on the session bus: ") + error->message;
        g_printerr("%s\n", refused_.c_str());
        g_error_free(error);
        return;
    }
    refused_.clear();
    onFocus_ = std::move(onFocus);
    helper_->start();
}

void FocusReports::remove() {
    if (registration_ == 0) {
        return;
    }
    helper_->stop();
    g_dbus_connection_unregister_object(bus_, registration_);
    registration_ = 0;
    onFocus_ = nullptr;
}

} // namespace padloom
