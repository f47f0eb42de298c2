// Requests from outside the app (padloomctl, desktop hotkeys, padloom --activate, the tray menu):
// switch a preset on by its file name or its preset name, switch it off, tell which one is
// active. Each request is one of the controller's operations, taking the same path as the main
// page's switch, so the menu, the main page and the releases of a switch are the same as for a
// click.
#pragma once

#include "app/presets/preset_listing.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

class TesselAppDelegate;

// The listed preset that name stands for: the one of that file name (relative to the preset
// folder), else the one whose file name as shown (validUtf8) or preset name is name. None, with a
// sentence for the user in problem, when none or several match.
std::optional<std::string> findPresetByName(const std::vector<ListedPreset>& listed, const std::string& name,
                                            std::string& problem);

class RemoteControl {
public:
    explicit RemoteControl(TesselAppDelegate& app) : app_(app) {}

    // Why no request can be taken now: a panel or a joystick detection waits for the user, who
    // may be answering it right now. Empty when requests can be taken.
    std::string refusal() const;

    // The requests themselves, each run as the controller's operation: empty when done, else why
    // not (the main page shows that too).
    std::string activateNow(const std::string& name);
    std::string deactivateNow();

    // For callers that need no answer (the tray menu): refused at once, with the reason, while
    // refusal() says so; otherwise run now, or after the operation in progress. Empty when done
    // or waiting for its turn.
    std::string activate(const std::string& name);
    std::string deactivate();

    // The active preset's file name, relative to the preset folder; empty when none is active.
    std::string activePresetFile() const;
    // Marks the active preset (none when none is active) in the main page.
    void showActivePreset();

private:
    std::string take(std::function<std::string(RemoteControl&)> request);

    TesselAppDelegate& app_;
};

} // namespace padloom
