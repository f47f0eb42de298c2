// SPDX-License-Identifier: GPL-3.0-or-later
// A preset run without windows (padloomctl run): the stored options applied to the engine, then
// the same activation, polling and deactivation as the desktop controller, through PresetRunner.
#pragma once

#include "app/running/preset_runner.h"
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

// What the caller of runPresetUntilStopped is told and asked; each may be empty.
struct HeadlessHooks {
    // The preset has loaded and SDL lists this many joysticks; the pads open next.
    std::function<void(int)> loaded;
    // Returns when the run is to end, or early once wake was called; the pads are mapped meanwhile.
    std::function<void()> waitForStop;
    // Makes waitForStop return (from the polling thread), to switch presets; a wake for switches
    // already asked is not repeated. Without it, the pad's switches are not done.
    std::function<void()> wake;
    // A pad came or went (called on the polling thread).
    PadListener padChanged;
    // After a switch the pad asked for: the path of the preset now on, or why the one running
    // stays on (problem not empty).
    std::function<void(const std::string& path, const std::string& problem)> switched;
};

// Applies the options to the runner's engine (Minecraft fix, screen geometry), activates the
// preset at path, starts polling, waits for the stop, then deactivates, which releases what the
// pads hold. Switches the pad asks for go to a preset of the folder that holds path, in the
// preset list's order. The runner's engine posts to the sink the caller set on it.
// The problem says why the preset did not start; it did not load when hooks.loaded was not called.
Outcome<> runPresetUntilStopped(PresetRunner& runner, const std::string& path, const HeadlessOptions& options,
                                const HeadlessHooks& hooks);

// "pad 1 disconnected", "pad 1 reconnected", "pad 3 connected", and for a pad without a section
// of the preset, what happened to it.
std::string padChangeText(const PadChange& change);

} // namespace padloom
