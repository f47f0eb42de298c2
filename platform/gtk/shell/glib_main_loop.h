// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's main loop on GLib's default main context.
#pragma once

#include "app/ui/main_loop.h"

#include <mutex>
#include <set>

namespace padloom {

class GlibMainLoop : public MainLoop {
public:
    // terminate: what requestTerminate does (the shell's quit procedure).
    explicit GlibMainLoop(std::function<void()> terminate) : terminate_(std::move(terminate)) {}
    // Tasks that have not run yet are dropped: they belong to the objects going away with this.
    ~GlibMainLoop() override;
    GlibMainLoop(const GlibMainLoop&) = delete;
    GlibMainLoop& operator=(const GlibMainLoop&) = delete;

    void runLater(uint32_t delayMs, std::function<void()> task) override;
    unsigned watchReadable(int fd, std::function<void()> ready) override;
    void stopWatching(unsigned id) override;
    // Deferred to the loop: asked from inside an action or a closing window, quitting is decided
    // once that has returned.
    void requestTerminate() override;

    size_t pendingTasks() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return pending_.size();
    }

private:
    struct Task;
    std::function<void()> terminate_;
    // runLater may come from another thread (a switch decided on the polling thread).
    mutable std::mutex mutex_;
    std::set<unsigned> pending_;
    std::set<unsigned> watches_;
};

} // namespace padloom
