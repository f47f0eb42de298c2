// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/wayland/wlr_focus_monitor.h"

#include "app/desktop/focus_session.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cstring>
#include <glib-unix.h>
#include <glib.h>
#include <wayland-client.h>

namespace padloom {
namespace {

// The protocol's version 3 adds only the parent event, which is not needed here.
constexpr uint32_t managerVersion = 3;

} // namespace

struct WlrFocusMonitor::Events {
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version) {
        auto* self = static_cast<WlrFocusMonitor*>(data);
        if (self->manager_ != nullptr ||
            std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0) {
            return;
        }
        self->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, managerVersion)));
        zwlr_foreign_toplevel_manager_v1_add_listener(self->manager_, &managerListener, self);
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* handle) {
        auto* self = static_cast<WlrFocusMonitor*>(data);
        Toplevel& added = self->toplevels_.emplace_back(Toplevel{self, handle, {}});
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, &added);
    }
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
        auto* self = static_cast<WlrFocusMonitor*>(data);
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
        self->manager_ = nullptr;
    }

    static void title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
        static_cast<Toplevel*>(data)->appId = appId ? appId : "";
    }
    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->pendingActivated = false;
        const auto* each = static_cast<const uint32_t*>(states->data);
        for (std::size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
            if (each[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) {
                toplevel->pendingActivated = true;
            }
        }
    }
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->activated = toplevel->pendingActivated;
    }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->monitor->toplevelClosed(*toplevel);
    }
    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    static gboolean readable(gint, GIOCondition condition, gpointer data) {
        auto* self = static_cast<WlrFocusMonitor*>(data);
        if ((condition & (G_IO_HUP | G_IO_ERR)) != 0) {
            self->lost();
        } else {
            self->read();
        }
        return self->watch_ != 0 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
    }

    static constexpr wl_registry_listener registryListener = {global, globalRemove};
    static constexpr zwlr_foreign_toplevel_manager_v1_listener managerListener = {toplevel, finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener handleListener = {title, appId, output, output,
                                                                                state, done,  closed, parent};
};

std::unique_ptr<WlrFocusMonitor> WlrFocusMonitor::connect() {
    std::unique_ptr<WlrFocusMonitor> monitor(new WlrFocusMonitor);
    monitor->display_ = wl_display_connect(nullptr);
    if (monitor->display_ == nullptr) {
        return nullptr;
    }
    monitor->registry_ = wl_display_get_registry(monitor->display_);
    wl_registry_add_listener(monitor->registry_, &Events::registryListener, monitor.get());
    // The globals, then the toplevels that exist, then their first states.
    for (int i = 0; i < 3; ++i) {
        if (wl_display_roundtrip(monitor->display_) < 0) {
            return nullptr;
        }
    }
    if (monitor->manager_ == nullptr) {
        return nullptr;
    }
    for (const Toplevel& toplevel : monitor->toplevels_) {
        if (toplevel.activated) {
            monitor->told_ = toplevel.appId;
            monitor->toldAny_ = true;
        }
    }
    return monitor;
}

WlrFocusMonitor::~WlrFocusMonitor() {
    remove();
    disconnect();
}

FollowerState WlrFocusMonitor::state() const {
    if (!available()) {
        return {false,
                "The compositor's window list has gone; nothing is switched until Padloom starts again.",
                false};
    }
    return followerState(FocusSource::wlroots);
}

// The window active when following starts is not told, as on X11: only changes are.
void WlrFocusMonitor::install(std::function<void(const FocusedWindow&)> onFocus) {
    remove();
    if (!available()) {
        return;
    }
    onFocus_ = std::move(onFocus);
    wl_display_flush(display_);
    watch_ = g_unix_fd_add(wl_display_get_fd(display_),
                           static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), Events::readable, this);
    read(); // what came in during the start-up roundtrips and since
}

void WlrFocusMonitor::remove() {
    onFocus_ = nullptr;
    if (watch_ != 0) {
        g_source_remove(watch_);
        watch_ = 0;
    }
}

// Reads what the compositor sent without blocking (the socket is readable, or nothing is read),
// handles it, then tells the outcome once: a focus change comes as two toplevels' state changes.
void WlrFocusMonitor::read() {
    while (wl_display_prepare_read(display_) != 0) {
        wl_display_dispatch_pending(display_);
    }
    wl_display_flush(display_);
    GPollFD poll{wl_display_get_fd(display_), G_IO_IN, 0};
    if (g_poll(&poll, 1, 0) > 0) {
        if (wl_display_read_events(display_) < 0) {
            lost();
            return;
        }
    } else {
        wl_display_cancel_read(display_);
    }
    if (wl_display_dispatch_pending(display_) < 0) {
        lost();
        return;
    }
    tell();
}

void WlrFocusMonitor::tell() {
    const auto activated = std::find_if(toplevels_.begin(), toplevels_.end(),
                                        [](const Toplevel& toplevel) { return toplevel.activated; });
    const bool any = activated != toplevels_.end();
    const std::string appId = any ? activated->appId : std::string();
    if (any == toldAny_ && appId == told_) {
        return;
    }
    toldAny_ = any;
    told_ = appId;
    if (onFocus_) {
        onFocus_(any ? windowOfAppId(appId) : FocusedWindow{});
    }
}

void WlrFocusMonitor::toplevelClosed(Toplevel& toplevel) {
    zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    toplevels_.remove_if([&](const Toplevel& each) { return &each == &toplevel; });
}

// The compositor has gone: no window of it has the focus any more.
void WlrFocusMonitor::lost() {
    if (watch_ != 0) {
        g_source_remove(watch_);
        watch_ = 0;
    }
    disconnect();
}

void WlrFocusMonitor::disconnect() {
    if (display_ == nullptr) {
        return;
    }
    for (Toplevel& toplevel : toplevels_) {
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    }
    toplevels_.clear();
    if (manager_ != nullptr) {
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
        manager_ = nullptr;
    }
    wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
    display_ = nullptr;
    tell();
}

} // namespace padloom
