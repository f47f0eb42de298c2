// Requests from outside the app (padloomctl, desktop hotkeys, padloom --activate): switch a preset
// on by its file name or its preset name, switch it off, tell which one is active. Each request is
// one of the controller's operations, taking the same path as the main page's switch, so the
// menu, the main page and the releases of a switch are the same as for a click.
#pragma once

#include "app/presets/preset_listing.h"

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

    // Each returns an empty text when it was done, else why not. A request that comes while the
    // app is still starting or another operation waits for the user is refused, never queued:
    // the caller learns at once that nothing happened.
    std::string activate(const std::string& name);
    std::string deactivate();
    // The active preset's file name, relative to the preset folder; empty when none is active.
    std::string activePresetFile() const;
    // Marks the active preset (none when none is active) in the main page.
    void showActivePreset();

private:
    std::string refusal() const;
    std::string activateNow(const std::string& name);

    TesselAppDelegate& app_;
};

} // namespace padloom
