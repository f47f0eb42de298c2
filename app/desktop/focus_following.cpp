// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/focus_following.h"

#include "app/desktop/focus_session.h"
#include "app/pages/shown_text.h"

#include <cstdio>

namespace padloom {
namespace {

// How long the focus rests on a window before presets switch for it.
constexpr uint32_t settleMs = 200;
// How often a switch that waits for a capture to end tries again.
constexpr uint32_t captureRetryMs = 500;

} // namespace

FocusFollowing::~FocusFollowing() {
    *alive_ = false;
    stop();
}

void FocusFollowing::start(FocusMonitor* monitor, MainLoop& loop) {
    stop();
    monitor_ = monitor;
    loop_ = &loop;
    if (available()) {
        monitor_->install([this](const FocusedWindow& window) { focusChanged(window); });
    }
}

void FocusFollowing::stop() {
    if (monitor_ != nullptr) {
        monitor_->remove();
    }
    monitor_ = nullptr;
    pending_.reset();
    ++generation_;
}

void FocusFollowing::focusChanged(const FocusedWindow& window) {
    if (window.ownWindow) {
        pending_.reset();
        ++generation_; // a window passed through on the way here does not count
        return;
    }
    pending_ = window;
    schedule(settleMs);
}

// Only the newest schedule applies; it runs as an operation of the controller's, after the one in
// progress.
void FocusFollowing::schedule(uint32_t delayMs) {
    const uint64_t generation = ++generation_;
    loop_->runLater(delayMs, [this, alive = alive_, generation] {
        if (!*alive || generation != generation_) {
            return;
        }
        presets_.runOperation([this, alive, generation] {
            if (*alive && generation == generation_) {
                apply();
            }
        });
    });
}

void FocusFollowing::apply() {
    if (!pending_) {
        return;
    }
    if (presets_.captureRunning()) {
        schedule(captureRetryMs);
        return;
    }
    focused_ = std::move(pending_);
    pending_.reset();
    follow();
}

void FocusFollowing::follow() {
    const std::optional<std::string> named = namedPreset();
    if (holdFor_) {
        if (named == holdFor_) {
            return;
        }
        holdFor_.reset();
    }
    if (named) {
        if (currentPreset() != named) {
            switchTo(*named);
        }
    } else if (followed_) {
        returnToByHand();
    }
}

// A preset that can't be switched on is reported on standard error, not in a panel: a panel
// would take the focus from the very program that asked for the preset.
void FocusFollowing::switchTo(const std::string& fileName) {
    followed_ = true;
    if (!activate(fileName) && byHand_ != fileName) {
        returnToByHand();
    }
}

void FocusFollowing::returnToByHand() {
    followed_ = false;
    if (currentPreset() == byHand_) {
        return; // a switch that failed left it running
    }
    if (byHand_) {
        activate(*byHand_);
    } else {
        deactivate();
    }
}

bool FocusFollowing::activate(const std::string& fileName) {
    const Outcome<> on = presets_.switchOn(fileName, PresetSwitching::Cause::following);
    if (!on) {
        std::fprintf(stderr, "Padloom did not switch on the preset \"%s\" for the focused program: %s\n",
                     terminalText(fileName).c_str(), terminalText(on.problem(), true).c_str());
    }
    return static_cast<bool>(on);
}

void FocusFollowing::deactivate() {
    presets_.switchOff(PresetSwitching::Cause::following);
}

void FocusFollowing::presetActivated(const std::string& fileName) {
    byHand_ = fileName;
    followed_ = false;
    holdFor_ = namedPreset();
}

void FocusFollowing::presetDeactivated() {
    byHand_.reset();
    followed_ = false;
    holdFor_ = namedPreset();
}

FollowerState FocusFollowing::state() const {
    if (monitor_ == nullptr) {
        return followerState(FocusSource::none);
    }
    return monitor_->state();
}

void FocusFollowing::enableHelper(std::function<void(const FollowerState&)> shown) {
    if (monitor_ == nullptr) {
        return;
    }
    monitor_->enableHelper([this, alive = alive_, shown = std::move(shown)] {
        if (*alive) {
            shown(state());
        }
    });
}

std::optional<std::string> FocusFollowing::namedPreset() const {
    if (!focused_) {
        return std::nullopt;
    }
    return rules.presetFor(*focused_,
                           [this](const std::string& fileName) { return presets_.beingEdited(fileName); });
}

std::optional<std::string> FocusFollowing::currentPreset() const {
    std::string file = presets_.activePresetFile();
    return file.empty() ? std::nullopt : std::optional(std::move(file));
}

} // namespace padloom
