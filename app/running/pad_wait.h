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
#include <span>
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

    // Waits until a pad has input, wake() is called or timeoutMs pass. The nodes are asked for
    // anew on each call, since pads come and go. Called from one thread at a time.
    WaitEnd wait(uint32_t timeoutMs);
    // Ends the wait under way, or else the next one, at once. Any thread.
    void wake();

private:
    using SteadyClock = std::chrono::steady_clock;

    void followNodes(const PadNodes& nodes);
    bool takeNodeInput(std::span<const pollfd> fds);
    int stepMs(SteadyClock::time_point now) const;

    NodeSource nodes_;
    int wakeFd_ = -1;
    std::map<std::string, int> open_; // node path to our descriptor
    std::set<std::string> hungUp_;    // nodes whose device went away while SDL still lists them
    SteadyClock::time_point lastInput_ = SteadyClock::now();
};

} // namespace padloom
