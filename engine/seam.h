// SPDX-License-Identifier: GPL-3.0-or-later
// One way into the system that the engine reaches through an interface (its clock, its event sink,
// its timer source, its display source): the interface in use, or the default its owner keeps.
// The pointer is read on the polling and timer threads, so it is published atomically: set it
// before a preset is activated, and keep what was set alive until it is replaced or the engine
// is gone.
#pragma once

#include <atomic>

namespace padloom {

template <typename Interface> class Seam {
public:
    explicit Seam(Interface& fallback) : fallback_(fallback), current_(&fallback) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    Interface& get() const { return *current_.load(std::memory_order_acquire); }
    Interface* operator->() const { return &get(); }
    // Null restores the default.
    void set(Interface* replacement) {
        current_.store(replacement ? replacement : &fallback_, std::memory_order_release);
    }

private:
    Interface& fallback_;
    std::atomic<Interface*> current_;
};

} // namespace padloom
