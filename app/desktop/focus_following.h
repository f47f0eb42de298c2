// SPDX-License-Identifier: GPL-3.0-or-later
// Presets that follow the focused program. When a window gets the focus whose program a preset
// names (FocusRules), that preset is switched on; when the focus moves on to a window that no
// preset names, the preset that was switched on by hand comes back, or none.
//
// It never fights the user:
//   - a preset switched on or off by hand (page, menu, remote) is the one to come back to, and it
//     holds while the focused program stays the same: following picks up again only when the
//     focus moves to a window that the same preset does not name;
//   - this application's own windows change nothing: going to the preset list or the editor is
//     not leaving the game;
//   - the focus has to rest on a window for a moment first, so that flicking through windows
//     switches nothing;
//   - no switch happens while a joystick input is being detected (it comes after), and a preset
//     open in the editor is not switched on for its programs until the editor has saved it.
// Every switch goes through the controller's own activation and deactivation, which release what
// the pads hold.
#pragma once

#include "app/desktop/focus_rules.h"
#include "app/desktop/preset_switching.h"
#include "app/ui/focus_monitor.h"
#include "app/ui/main_loop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

class FocusFollowing {
public:
    explicit FocusFollowing(PresetSwitching& presets) : presets_(presets) {}
    ~FocusFollowing();
    FocusFollowing(const FocusFollowing&) = delete;
    FocusFollowing& operator=(const FocusFollowing&) = delete;

    // Follows the focus that monitor reports (none: nothing is followed) until stop.
    void start(FocusMonitor* monitor, MainLoop& loop);
    void stop();
    // Whether the focused program can be followed in this session.
    bool available() const { return monitor_ != nullptr && monitor_->available(); }
    // What the editor says about following: which way it is done here, or why it is not.
    FollowerState state() const;
    // The editor's button: sets up the desktop's part of following, then calls shown with the new
    // state.
    void enableHelper(std::function<void(const FollowerState&)> shown);

    // Kept by the preset list: which preset names which program, in list order.
    FocusRules rules;

    // The controller reports each activation and deactivation by hand.
    void presetActivated(const std::string& fileName);
    void presetDeactivated();
    // The preset that runs, by its file name; none when none runs.
    std::optional<std::string> currentPreset() const;

private:
    void focusChanged(const FocusedWindow& window);
    void schedule(uint32_t delayMs);
    void apply();
    void follow();
    void switchTo(const std::string& fileName);
    void returnToByHand();
    bool activate(const std::string& fileName);
    void deactivate();
    std::optional<std::string> namedPreset() const;

    PresetSwitching& presets_;
    FocusMonitor* monitor_ = nullptr;
    MainLoop* loop_ = nullptr;
    std::optional<FocusedWindow> pending_; // got the focus, not yet rested on
    std::optional<FocusedWindow> focused_; // the last window followed
    std::optional<std::string> byHand_;    // the preset switched on by hand; none after a deactivation
    std::optional<std::string> holdFor_;   // a change by hand holds while the focus stays on its programs
    bool followed_ = false;                // what runs was switched on (or off) by following
    uint64_t generation_ = 0;              // of the newest scheduled apply
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace padloom
