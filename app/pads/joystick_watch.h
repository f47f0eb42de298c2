// Keeps what the user sees of the connected joysticks (the main window's label, the editor's
// joystick names) in step with pads that come and go, from a timeout on the main loop.
//
// While nothing else uses SDL's joysticks, the watch keeps SDL's joystick subsystem running, has
// it look for devices, and takes SDL's joystick events off the queue so that they never pile up.
// While a preset is active or a capture listens, SDL's joystick events are theirs: the watch rests
// and only reads SDL's device list, which the polling task or the capture keeps current.
//
// While the editor is open (and the watch does not rest), the events are the editor's live view:
// the watch looks up to 30 times a second and reports the controls that moved, and nothing when
// nothing moved.
#pragma once

#include "app/pads/live_view.h"
#include "app/ui/main_loop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padloom {

class JoystickWatch {
public:
    struct Hooks {
        std::function<bool()> resting;                   // a preset is active or a capture listens
        std::function<std::vector<std::string>()> shown; // the joysticks' names the pages were given
        std::function<void()> changed;                   // the joysticks differ from those shown
        std::function<bool()> live;                      // the editor shows the pads live
        // The controls that moved; none when the live view stops showing anything.
        std::function<void(const std::vector<LiveInput>&)> moved;
        // Runs a look as an operation of the controller's: never inside another one.
        std::function<void(std::function<void()>)> run;
    };

    // Twice a second: a pad shows within a second of SDL seeing it.
    static constexpr uint32_t periodMs = 500;
    // At most 30 looks a second for the live view.
    static constexpr uint32_t livePeriodMs = 34;

    JoystickWatch(MainLoop& loop, Hooks hooks) : loop_(loop), hooks_(std::move(hooks)) {}
    ~JoystickWatch() { stop(); }
    JoystickWatch(const JoystickWatch&) = delete;
    JoystickWatch& operator=(const JoystickWatch&) = delete;

    // Each look reports when the joysticks differ from those shown.
    void start();
    void stop();
    void look();

private:
    void schedule();
    bool showingLive() const;
    void lookLive();
    void stopLive();

    MainLoop& loop_;
    Hooks hooks_;
    LiveView live_;
    bool liveShown_ = false;        // the page shows moved controls that stopLive must clear
    std::shared_ptr<bool> running_; // shared with the queued look, which does nothing once stopped
};

} // namespace padloom
