// SPDX-License-Identifier: GPL-3.0-or-later
// What the parts that switch presets from outside the main page (focus following, remote
// requests, the tray) may ask of the controller. Everything here runs on the main thread.
#pragma once

#include "app/outcome.h"
#include "app/presets/preset_listing.h"

#include <functional>
#include <string>
#include <vector>

namespace padloom {

class PresetSwitching {
public:
    // Who switches: the user (a remote request, the tray) or focus following. What the user
    // switches on or off is what following comes back to.
    enum class Cause { byHand, following };

    virtual ~PresetSwitching() = default;

    // Runs op as one of the controller's operations: at once when none is in progress, else
    // after the one in progress (which may be waiting for a page or a panel).
    virtual void runOperation(std::function<void()> op) = 0;

    // Switches the preset on as the main page's switch does, by its file name relative to the
    // preset folder, and marks in the main page what runs afterwards. When it can't, what ran
    // before goes on running.
    virtual Outcome<> switchOn(const std::string& fileName, Cause cause) = 0;
    // Switches off what runs, if anything, and unmarks it in the main page.
    virtual void switchOff(Cause cause) = 0;
    // The active preset's file name relative to the preset folder; empty when none is active.
    virtual std::string activePresetFile() const = 0;
    // Calls listener after every change of the active preset; one listener per owner, and an
    // empty one removes the owner's.
    virtual void watchActivePreset(const void* owner, std::function<void()> listener) = 0;

    // The presets the main page lists, in its order, and whether it has been filled yet.
    virtual const std::vector<ListedPreset>& listedPresets() const = 0;
    virtual bool presetListShown() const = 0;
    // Calls listener after every change of the listed presets.
    virtual void watchPresetList(std::function<void()> listener) = 0;

    // A message or a question (the controller's or a page's) waits for the user.
    virtual bool panelOpen() const = 0;
    // A binding capture runs or is queued.
    virtual bool captureRunning() const = 0;
    // The preset of this file name is open in the editor.
    virtual bool beingEdited(const std::string& fileName) const = 0;
    // A message in the main page, for a request that came from outside its window.
    virtual void showNotice(const std::string& title, const std::string& text) = 0;
};

} // namespace padloom
