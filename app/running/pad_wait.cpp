// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/pad_wait.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace padloom {
namespace {

constexpr int fastestStepMs = 1;
constexpr int slowestStepMs = 250;
// At most this many reads empty one readable descriptor per wake; what is left wakes the next wait.
constexpr int readsPerWake = 16;
// A whole number of evdev events (24 bytes each), so that a read which does not fill the buffer
// has taken all there was.
constexpr size_t dropBufferBytes = 24 * 64;

bool isDeviceNode(const char* path) {
    return path != nullptr && std::strncmp(path, "/dev/", 5) == 0;
}

// A hidraw node gives one report a read; a second report left pending ends the next wait at once.
void dropPending(int fd) {
    char buffer[dropBufferBytes];
    for (int i = 0; i < readsPerWake; ++i) {
        if (read(fd, buffer, sizeof buffer) < static_cast<ssize_t>(sizeof buffer)) {
            return;
        }
    }
}

bool joystickEventQueued() {
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED) > 0;
}

// Pads without a node are read only by SDL's update.
bool readPadsWithoutNode() {
    SDL_JoystickUpdate();
    return joystickEventQueued();
}

} // namespace

PadNodes openJoystickNodes() {
    PadNodes nodes;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(i));
        if (joystick == nullptr) {
            continue; // not open: it queues no events
        }
        // SDL's virtual joysticks have no node; asking would set SDL's error, whose buffer SDL
        // keeps per thread and never frees for threads it did not start.
        const char* path = SDL_JoystickIsVirtual(i) ? nullptr : SDL_JoystickPath(joystick);
        if (isDeviceNode(path)) {
            nodes.paths.emplace_back(path);
        } else {
            nodes.withoutNode = true;
        }
    }
    return nodes;
}

PadWait::PadWait(NodeSource nodes) : nodeSource_(std::move(nodes)) {
    // Without it a stop waits for the time-out instead.
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

PadWait::~PadWait() {
    for (const auto& [path, fd] : open_) {
        close(fd);
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void PadWait::wake() {
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
    }
}

// Opens the nodes newly listed and closes those no longer listed. A node that hung up is not
// opened again while it stays listed (its device is gone, and a node of a gone device that still
// opens would hang up at once, every time).
void PadWait::followNodes() {
    const std::vector<std::string>& paths = nodes_.paths;
    const auto listed = [&](const std::string& path) {
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    for (auto it = open_.begin(); it != open_.end();) {
        if (!listed(it->first)) {
            close(it->second);
            it = open_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(hungUp_, [&](const std::string& path) { return !listed(path); });
    for (const std::string& path : paths) {
        if (open_.count(path) != 0 || hungUp_.count(path) != 0) {
            continue;
        }
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            open_[path] = fd;
        }
    }
    fds_.clear();
    for (const auto& [path, fd] : open_) {
        fds_.push_back({fd, POLLIN, 0});
    }
    fds_.push_back({wakeFd_, POLLIN, 0}); // poll skips a negative descriptor
}

int PadWait::stepMs(SteadyClock::time_point now) const {
    const auto still = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    return static_cast<int>(std::clamp<long long>(still / 10, fastestStepMs, slowestStepMs));
}

WaitEnd PadWait::wait(uint32_t timeoutMs) {
    if (!nodesKnown_) {
        nodes_ = nodeSource_();
        followNodes();
        nodesKnown_ = true;
    }
    // Events queued already (by another thread's update, or a pad just attached) need no wait,
    // nor does input that a pad without a node sent since the last batch.
    if (nodes_.withoutNode ? readPadsWithoutNode() : joystickEventQueued()) {
        return WaitEnd::input;
    }
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (SteadyClock::time_point now = SteadyClock::now(); now < deadline; now = SteadyClock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        const auto pollMs = nodes_.withoutNode ? std::min<long long>(left, stepMs(now)) : left;
        if (poll(fds_.data(), fds_.size(), static_cast<int>(pollMs)) > 0) {
            if ((fds_.back().revents & POLLIN) != 0) {
                uint64_t count = 0;
                [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
                return WaitEnd::woken;
            }
            if (takeNodeInput()) {
                lastInput_ = SteadyClock::now();
                return WaitEnd::input;
            }
        }
        if (nodes_.withoutNode && readPadsWithoutNode()) {
            lastInput_ = SteadyClock::now();
            return WaitEnd::input;
        }
    }
    nodesKnown_ = false; // after a still spell, a fresh look at the nodes costs nothing
    return WaitEnd::timedOut;
}

// Empties our descriptors of the nodes that poll found readable; true if there was any. A node
// that hung up counts as input too: its device went away, which SDL notices on its next update.
bool PadWait::takeNodeInput() {
    bool input = false;
    bool hungUp = false;
    for (auto ready = fds_.begin(); ready + 1 != fds_.end(); ++ready) {
        if ((ready->revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            const auto node = std::find_if(open_.begin(), open_.end(),
                                           [&](const auto& entry) { return entry.second == ready->fd; });
            hungUp_.insert(node->first);
            open_.erase(node);
            close(ready->fd);
            input = hungUp = true;
        } else if ((ready->revents & POLLIN) != 0) {
            dropPending(ready->fd);
            input = true;
        }
    }
    if (hungUp) {
        followNodes();
    }
    return input;
}

} // namespace padloom
