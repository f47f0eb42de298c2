// SPDX-License-Identifier: GPL-3.0-or-later
// What the polling task waits on between batches of joystick events.
//
// SDL reads each pad through its own descriptor of the pad's device node (SDL_JoystickPath gives
// the evdev or hidraw node). PadWait opens the same nodes once more and blocks in poll() on them:
// a node becomes readable when its pad sends input, and SDL_JoystickUpdate then reads that input
// from SDL's descriptor. What arrives on PadWait's own descriptors is read and dropped.
//
// A pad without a node (SDL's virtual joysticks) cannot be waited on. While one is open the wait
// becomes a loop of short sleeps that lets SDL read the pads and ends when a joystick event is
// queued; the sleeps are a tenth of the time since the last input, from 1 ms while input flows to
// 250 ms when the pads have been still for 2.5 s, so an idle task wakes a few times a second.
//
// Pads that come are seen by SDL's update only. Where the kernel tells of device changes (udev's
// monitor, or /dev/input), the wait hears them too, so the task's wait needs no time-out: a still
// pad's task sleeps until something happens. On a virtual machine every wake of a sleeping core
// costs far more than the task's work (a few hundred microseconds after half a second of sleep).
#pragma once

#include <chrono>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <string>
#include <vector>

namespace padloom {

struct PadNodes {
    std::vector<std::string> paths; // device nodes to wait on
    bool withoutNode = false;       // some pad has none
};

// The nodes of the joysticks SDL has open.
PadNodes openJoystickNodes();

enum class WaitEnd { input, devicesChanged, woken, timedOut };

// Descriptors that turn readable when pads may have come or gone, and what empties one of them.
class DeviceChanges {
public:
    virtual ~DeviceChanges() = default;
    virtual std::vector<int> fds() const = 0;
    virtual void drain(int fd) = 0;
};

// The kernel's device events, or nothing where none can be heard. Makes no SDL call.
std::unique_ptr<DeviceChanges> kernelDeviceChanges();

class PadWait {
public:
    using NodeSource = std::function<PadNodes()>;
    using ChangeSource = std::function<std::unique_ptr<DeviceChanges>()>;

    // A wait that ends on input, wake() or a device change only.
    static constexpr uint32_t noTimeOut = UINT32_MAX;
    // After a device change, the task looks again this often for a while, for a pad whose node
    // came before SDL could know it (udev tells SDL once it has set the node up).
    static constexpr uint32_t settlingWaitMs = 500;
    static constexpr std::chrono::milliseconds settlingTime{3000};

    // changes is asked once, on the first wait.
    explicit PadWait(NodeSource nodes = openJoystickNodes, ChangeSource changes = kernelDeviceChanges);
    ~PadWait();
    PadWait(const PadWait&) = delete;
    PadWait& operator=(const PadWait&) = delete;

    // Waits until a pad has input, wake() is called or timeoutMs pass. The nodes are asked for on
    // the first wait, and again after padsChanged(), a wait that timed out or a node that hung up.
    // Called from one thread at a time.
    WaitEnd wait(uint32_t timeoutMs);
    // How long the task may wait while nothing happens: without a time-out when device changes are
    // heard, none came in the last settlingTime and every pad has a node, else orMs. On the
    // waiting thread, after a wait.
    uint32_t stillWaitMs(uint32_t orMs) const;
    // Ends the wait under way, or else the next one, at once. Any thread.
    void wake();
    // Pads came or went: the next wait asks for the nodes anew. On the waiting thread.
    void padsChanged() { nodesKnown_ = false; }

private:
    using SteadyClock = std::chrono::steady_clock;

    void prepare();
    void followNodes();
    std::optional<WaitEnd> pollOnce(int pollMs);
    bool takeDeviceChanges();
    bool takeNodeInput();
    int stepMs(SteadyClock::time_point now) const;

    NodeSource nodeSource_;
    ChangeSource changeSource_;
    std::unique_ptr<DeviceChanges> changes_;
    bool changesAsked_ = false;
    size_t changeFds_ = 0; // in fds_, after the nodes
    // Until when the task looks again now and then, after a device change.
    SteadyClock::time_point settlingUntil_ = SteadyClock::time_point::min();
    PadNodes nodes_; // as last asked for
    bool nodesKnown_ = false;
    int wakeFd_ = -1;
    std::map<std::string, int> open_; // node path to our descriptor
    std::set<std::string> hungUp_;    // nodes whose device went away while SDL still lists them
    std::vector<pollfd> fds_;         // our descriptors of the nodes, the device changes', then wakeFd_
    SteadyClock::time_point lastInput_ = SteadyClock::now();
};

} // namespace padloom
