// A preset run without windows (padloomctl run): the stored options applied to the engine, then
// the same activation, polling and deactivation as the desktop controller, through PresetRunner.
#pragma once

#include "app/preset_runner.h"
#include "app/ui/settings_store.h"

#include <functional>
#include <string>

namespace padloom {

struct HeadlessOptions {
    bool lockCursor = false;
    bool avoidCorners = false;
    bool minecraftFix = false;
};

// The options as the desktop app stored them; an option never stored has its first-start value.
HeadlessOptions storedHeadlessOptions(const SettingsStore& settings);

// Applies the options (Minecraft fix, screen geometry), activates the preset at path, starts
// polling, calls waitForStop (which returns when the run is to end), then deactivates.
// joysticksCounted, when given, is told how many joysticks activation found.
ActivationResult runPresetUntilStopped(const std::string& path, const HeadlessOptions& options,
                                       const std::function<void()>& waitForStop,
                                       const std::function<void(int)>& joysticksCounted = {});

} // namespace padloom
