// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/pad_wait.h"

#include "app/pads/device_events.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <optional>
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

// The kernel's side of the joystick watch's sources.
class KernelDeviceChanges final : public DeviceChanges {
public:
    bool heard() const { return events_.hearsKernel(); }
    std::vector<int> fds() const override { return events_.fds(); }
    void drain(int fd) override { events_.drain(fd); }

private:
    DeviceEvents events_{false};
};

} // namespace

std::unique_ptr<DeviceChanges> kernelDeviceChanges() {
    auto changes = std::make_unique<KernelDeviceChanges>();
    if (!changes->heard()) {
        return nullptr;
    }
    return changes;
}

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

PadWait::PadWait(NodeSource nodes, ChangeSource changes)
    : nodeSource_(std::move(nodes)), changeSource_(std::move(changes)) {
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
    changeFds_ = 0;
    for (int fd : changes_ ? changes_->fds() : std::vector<int>{}) {
        fds_.push_back({fd, POLLIN, 0});
        ++changeFds_;
    }
    fds_.push_back({wakeFd_, POLLIN, 0}); // poll skips a negative descriptor
}

int PadWait::stepMs(SteadyClock::time_point now) const {
    const auto still = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    return static_cast<int>(std::clamp<long long>(still / 10, fastestStepMs, slowestStepMs));
}

// Without a pad on a node, a pad that comes may be one without a node (SDL's virtual joysticks),
// which nothing but SDL's update would tell of.
uint32_t PadWait::stillWaitMs(uint32_t orMs) const {
    if (changes_ == nullptr || nodes_.paths.empty() || nodes_.withoutNode ||
        SteadyClock::now() < settlingUntil_) {
        return orMs;
    }
    return noTimeOut;
}

void PadWait::prepare() {
    if (!changesAsked_) {
        changes_ = changeSource_ ? changeSource_() : nullptr;
        changesAsked_ = true;
        nodesKnown_ = false;
    }
    if (!nodesKnown_) {
        nodes_ = nodeSource_();
        followNodes();
        nodesKnown_ = true;
    }
}

// One poll of our descriptors: how it ended the wait, or nothing when it did not.
std::optional<WaitEnd> PadWait::pollOnce(int pollMs) {
    if (poll(fds_.data(), fds_.size(), pollMs) <= 0) {
        return std::nullopt;
    }
    if ((fds_.back().revents & POLLIN) != 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
        return WaitEnd::woken;
    }
    if (takeDeviceChanges()) {
        return WaitEnd::devicesChanged;
    }
    if (takeNodeInput()) {
        if (nodes_.withoutNode) {
            lastInput_ = SteadyClock::now();
        }
        return WaitEnd::input;
    }
    return std::nullopt;
}

WaitEnd PadWait::wait(uint32_t timeoutMs) {
    prepare();
    // Events queued already (by another thread's update, or a pad just attached) need no wait,
    // nor does input that a pad without a node sent since the last batch.
    if (nodes_.withoutNode ? readPadsWithoutNode() : joystickEventQueued()) {
        return WaitEnd::input;
    }
    if (timeoutMs == noTimeOut && !nodes_.withoutNode) {
        for (;;) {
            if (const std::optional<WaitEnd> end = pollOnce(-1)) {
                return *end;
            }
        }
    }
    const SteadyClock::time_point deadline = timeoutMs == noTimeOut
                                                 ? SteadyClock::time_point::max()
                                                 : SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (SteadyClock::time_point now = SteadyClock::now(); now < deadline; now = SteadyClock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        const auto pollMs = nodes_.withoutNode ? std::min<long long>(left, stepMs(now)) : left;
        if (const std::optional<WaitEnd> end =
                pollOnce(static_cast<int>(std::min<long long>(pollMs, INT_MAX)))) {
            return *end;
        }
        if (nodes_.withoutNode && readPadsWithoutNode()) {
            lastInput_ = SteadyClock::now();
            return WaitEnd::input;
        }
    }
    nodesKnown_ = false; // after a still spell, a fresh look at the nodes costs nothing
    return WaitEnd::timedOut;
}

// Empties the device-change descriptors that poll found readable; true if there was any. The
// nodes are asked for anew, and the task looks again now and then for a while. A source that
// fails is dropped (it would end every wait at once), and the task's waits have a time-out again.
bool PadWait::takeDeviceChanges() {
    bool changed = false;
    bool failed = false;
    const auto first = fds_.end() - 1 - static_cast<std::ptrdiff_t>(changeFds_);
    for (auto ready = first; ready + 1 != fds_.end(); ++ready) {
        if ((ready->revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            failed = changed = true;
        } else if ((ready->revents & POLLIN) != 0) {
            changes_->drain(ready->fd);
            changed = true;
        }
    }
    if (failed) {
        changes_.reset();
        followNodes();
    }
    if (changed) {
        nodesKnown_ = false;
        settlingUntil_ = SteadyClock::now() + settlingTime;
    }
    return changed;
}

// Empties our descriptors of the nodes that poll found readable; true if there was any. A node
// that hung up counts as input too: its device went away, which SDL notices on its next update.
bool PadWait::takeNodeInput() {
    bool input = false;
    bool hungUp = false;
    const auto nodesEnd = fds_.end() - 1 - static_cast<std::ptrdiff_t>(changeFds_);
    for (auto ready = fds_.begin(); ready != nodesEnd; ++ready) {
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
