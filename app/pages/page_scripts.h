// SPDX-License-Identifier: GPL-3.0-or-later
// Every script the controller evaluates in the two pages, one function per script. Each page
// script lists at its top what it offers the application (resources/gui/main.js and
// resources/gui/config.js); the functions below follow those lists in the same order, so a change
// to a page finds all its callers here. Every text argument goes in as a script literal.
#pragma once

#include "app/pads/control_names.h"
#include "app/pads/live_view.h"
#include "app/presets/preset_listing.h"
#include "app/ui/focus_monitor.h"
#include "preset/vantry_document.h"

#include <string>
#include <utility>
#include <vector>

namespace padloom {

// The main page, the preset list (resources/gui/main.js).
namespace main_page {

// The whole list in one script, in the given order; a file that does not read is shown by its
// file name, with the reader's message. The page knows each file by its pageKey.
std::string fillPresetList(const std::vector<ListedPreset>& list);
// The preset folder's path, shown under the list.
std::string showPresetFolder(const std::string& path);
// The entry being edited shows the name and tag it was saved with.
std::string showEditedPreset(const std::string& name, const std::string& tag);
// The editor has closed.
std::string stopModal();
// Read: the height the page needs, a number.
std::string getContentHeight();
// The layer that blocks the list while a preset is switched on or off.
std::string showBlockLayer();
std::string fadeOutBlockLayer();
// Takes the layer away at once, as after a switch that did not come from the page's own switch.
std::string hideBlockLayer();
// No entry is marked as the active preset.
std::string unmarkActivePreset();
// Marks the entry of file (none when empty; a file name, not its key) as the active preset, as
// the page's switch does.
std::string markActivePreset(const std::string& file);
std::string setCompactList(bool compact);
// Read: undefined until the page has a body.
std::string bodyHeight();
// A message in the page, for a request that came from outside the window.
std::string showNotice(const std::string& title, const std::string& text);

} // namespace main_page

// The configuration page, the preset editor (resources/gui/config.js).
namespace config_page {

std::string clearJoysticks();
std::string setName(const std::string& name);
std::string setTag(const std::string& tag);
// A new joystick section; the binds added after it belong to it.
std::string addJoystick(const std::string& name);
// One output of a bind of the section numbered joystick; outputs of one bind come one after another.
std::string addBind(int joystick, const std::string& inputText, const std::string& outputText);
// One stick of the section numbered joystick: each setting's key and text, as the writer writes them.
std::string addStick(int joystick, const std::vector<std::pair<const char*, std::string>>& settings);
// The members of the section numbered joystick beyond its binds (modes, layers, sequences,
// switches), after its binds.
std::string setSectionMembers(int joystick, const VantryDocument::JoystickData& section);
// The presets a switch may switch to: the list's readable presets, by file name and shown name.
std::string setPresetChoices(const std::vector<ListedPreset>& list);
// Ends typing in a field, so its text counts when the preset is read.
std::string commitTextFields();
// Read: the edited preset's file text.
std::string generatePresetString();
// Read: the name and tag fields.
std::string getName();
std::string getTag();
// Read: the height the page needs, a number.
std::string getContentHeight();
// The connected joysticks' names, in SDL's device order.
std::string setJoystickNames(const std::vector<std::string>& names);
// Each joystick section shows whether (and as what) its joystick is connected.
std::string updateRelatedJoysticks();
// The capture's countdown, in whole seconds.
std::string showCountdown(int seconds);
std::string showInputReceived();
// Back to the hint the next capture starts with.
std::string resetInputReceived();
// The capture's result for one bind; an empty text when nothing was captured.
std::string selectInputInBind(int joystick, int bindNo, const std::string& inputText);
// The capture has ended.
std::string stopModal();

// The programs that switch the preset on, and what the section says about following the focus.
std::string setActivateFor(const std::vector<std::string>& programs, const FollowerState& following);
// What the section says about following the focus, the programs left as they are.
std::string showFollowing(const FollowerState& following);

// Named controls and the live view.
// Each connected joystick's named controls, in SDL's device order (none for a pad SDL does not know).
std::string setControlNames(const std::vector<ControlNames>& perJoystick);
// How far an axis half goes before a switching bind on it turns on, from 0 to 1.
std::string setSwitchPoint(float threshold);
// The controls that moved, with their latest values.
std::string showLiveInputs(const std::vector<LiveInput>& moved);
// Nothing is shown as moving any more.
std::string clearLiveInputs();

} // namespace config_page

} // namespace padloom
