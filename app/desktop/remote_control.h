// SPDX-License-Identifier: GPL-3.0-or-later
// Requests from outside the app (padloomctl, desktop hotkeys, padloom --activate, the tray menu):
// switch a preset on by its file name or its preset name, switch it off, tell which one is
// active. Each request is one of the controller's operations, taking the same path as the main
// page's switch, so the menu, the main page and the releases of a switch are the same as for a
// click.
#pragma once

#include "app/desktop/preset_switching.h"
#include "app/outcome.h"
#include "app/presets/preset_listing.h"

#include <functional>
#include <string>
#include <vector>

namespace padloom {

// The listed preset that name stands for: the one of that file name (relative to the preset
// folder), else the one whose file name as shown (validUtf8) or preset name is name. A sentence
// for the user when none or several match.
Outcome<std::string> findPresetByName(const std::vector<ListedPreset>& listed, const std::string& name);

class RemoteControl {
public:
    explicit RemoteControl(PresetSwitching& presets) : presets_(presets) {}

    // Whether a request can be taken now: not while a panel or a joystick detection waits for the
    // user, who may be answering it right now.
    Outcome<> takesRequests() const;

    // The requests themselves, each run as the controller's operation; a failure is shown in the
    // main page too.
    Outcome<> activateNow(const std::string& name);
    Outcome<> deactivateNow();

    // For callers that need no answer (the tray menu): refused at once, with the reason, while
    // takesRequests says so; otherwise run now, or after the operation in progress (done, as far
    // as the caller learns, when it waits for its turn).
    Outcome<> activate(const std::string& name);
    Outcome<> deactivate();

    // The active preset's file name, relative to the preset folder; empty when none is active.
    std::string activePresetFile() const { return presets_.activePresetFile(); }

private:
    Outcome<> take(std::function<Outcome<>(RemoteControl&)> request);

    PresetSwitching& presets_;
};

} // namespace padloom
