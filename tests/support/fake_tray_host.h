// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for a desktop's tray host on the session bus: owns the StatusNotifierWatcher name
// and answers the registration call of a tray icon, noting who registered which item. Header-only, for the
// tests and the memory benchmark (run under dbus-run-session, so the bus is their own).
#pragma once

#include <gio/gio.h>
#include <string>

namespace padloom::test {

class FakeTrayHost {
public:
    FakeTrayHost() {
        static const char xml[] = "<node><interface name='org.kde.StatusNotifierWatcher'>"
                                  "<method name='RegisterStatusNotifierItem'><arg type='s' direction='in'/>"
                                  "</method></interface></node>";
        static const GDBusInterfaceVTable vtable = {[](GDBusConnection*, const gchar* sender, const gchar*,
                                                       const gchar*, const gchar*, GVariant* arguments,
                                                       GDBusMethodInvocation* call, gpointer host) {
                                                        const gchar* item = nullptr;
                                                        g_variant_get(arguments, "(&s)", &item);
                                                        static_cast<FakeTrayHost*>(host)->itemOwner = sender;
                                                        static_cast<FakeTrayHost*>(host)->itemPath = item;
                                                        g_dbus_method_invocation_return_value(call, nullptr);
                                                    },
                                                    nullptr,
                                                    nullptr,
                                                    {}};
        info_ = g_dbus_node_info_new_for_xml(xml, nullptr);
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (bus_ != nullptr) {
            object_ = g_dbus_connection_register_object(bus_, "/StatusNotifierWatcher", info_->interfaces[0],
                                                        &vtable, this, nullptr, nullptr);
            owner_ =
                g_bus_own_name_on_connection(bus_, "org.kde.StatusNotifierWatcher",
                                             G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);
        }
    }
    ~FakeTrayHost() {
        if (bus_ != nullptr) {
            g_bus_unown_name(owner_);
            g_dbus_connection_unregister_object(bus_, object_);
            g_object_unref(bus_);
        }
        g_dbus_node_info_unref(info_);
    }
    FakeTrayHost(const FakeTrayHost&) = delete;
    FakeTrayHost& operator=(const FakeTrayHost&) = delete;

    // The bus name and object path of the last item registered; empty before one is.
    std::string itemOwner, itemPath;

private:
    GDBusNodeInfo* info_;
    GDBusConnection* bus_;
    unsigned object_ = 0, owner_ = 0;
};

} // namespace padloom::test
