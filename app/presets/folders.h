// SPDX-License-Identifier: GPL-3.0-or-later
// Where the application keeps its files: $XDG_DATA_HOME (default ~/.local/share) + "/Padloom",
// with the presets in its "presets" subfolder. Both are created on first use.
#pragma once

#include "app/outcome.h"

#include <string>

namespace padloom {

// The per-user data folder, from XDG_DATA_HOME (only when absolute) or HOME.
Outcome<std::string> userDataFolder();
// userDataFolder + "/Padloom", created with its parents when missing.
Outcome<std::string> applicationSupportFolder();
// applicationSupportFolder + "/presets/" (ending in "/"), created when missing. Its problem is a
// sentence for the user that names the folder.
Outcome<std::string> presetFolder();

} // namespace padloom
