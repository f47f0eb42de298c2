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
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
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

enum class WaitEnd { input, woken, timedOut };

class PadWait {
public:
    using NodeSource = std::function<PadNodes()>;

    explicit PadWait(NodeSource nodes = openJoystickNodes);
    ~PadWait();
    PadWait(const PadWait&) = delete;
    PadWait& operator=(const PadWait&) = delete;

    // Waits until a pad has input, wake() is called or timeoutMs pass. The nodes are asked for on
    // the first wait, and again after padsChanged(), a wait that timed out or a node that hung up.
    // Called from one thread at a time.
    WaitEnd wait(uint32_t timeoutMs);
    // Ends the wait under way, or else the next one, at once. Any thread.
    void wake();
    // Pads came or went: the next wait asks for the nodes anew. On the waiting thread.
    void padsChanged() { nodesKnown_ = false; }

private:
    using SteadyClock = std::chrono::steady_clock;

    void followNodes();
    bool takeNodeInput();
    int stepMs(SteadyClock::time_point now) const;

    NodeSource nodeSource_;
    PadNodes nodes_; // as last asked for
    bool nodesKnown_ = false;
    int wakeFd_ = -1;
    std::map<std::string, int> open_; // node path to our descriptor
    std::set<std::string> hungUp_;    // nodes whose device went away while SDL still lists them
    std::vector<pollfd> fds_;         // our descriptors of the nodes, then wakeFd_
    SteadyClock::time_point lastInput_ = SteadyClock::now();
};

} // namespace padloom
