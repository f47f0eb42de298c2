// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/glib_main_loop.h"

#include <glib-unix.h>
#include <glib.h>

namespace padloom {

struct GlibMainLoop::Task {
    GlibMainLoop* loop;
    std::function<void()> run;
    guint id = 0;

    static gboolean fire(gpointer data) {
        auto* task = static_cast<Task*>(data);
        {
            const std::lock_guard<std::mutex> lock(task->loop->mutex_);
            task->loop->pending_.erase(task->id);
        }
        task->run();
        return G_SOURCE_REMOVE;
    }
};

GlibMainLoop::~GlibMainLoop() {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (unsigned id : pending_) {
        g_source_remove(id);
    }
    for (unsigned id : watches_) {
        g_source_remove(id);
    }
}

unsigned GlibMainLoop::watchReadable(int fd, std::function<void()> ready) {
    auto* watch = new std::function<void()>(std::move(ready));
    const guint id = g_unix_fd_add_full(
        G_PRIORITY_DEFAULT, fd, G_IO_IN,
        [](gint, GIOCondition, gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_CONTINUE;
        },
        watch, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
    watches_.insert(id);
    return id;
}

void GlibMainLoop::stopWatching(unsigned id) {
    if (watches_.erase(id) > 0) {
        g_source_remove(id);
    }
}

void GlibMainLoop::runLater(uint32_t delayMs, std::function<void()> task) {
    auto* pending = new Task{this, std::move(task)};
    // Held until the id is noted, so that a task that fires at once on the main thread finds it.
    const std::lock_guard<std::mutex> lock(mutex_);
    pending->id = g_timeout_add_full(G_PRIORITY_DEFAULT, delayMs, Task::fire, pending,
                                     [](gpointer data) { delete static_cast<Task*>(data); });
    pending_.insert(pending->id);
}

void GlibMainLoop::requestTerminate() {
    runLater(0, terminate_);
}

} // namespace padloom
