// SPDX-License-Identifier: GPL-3.0-or-later
// Where a switch combination of the running preset goes: "next" and "previous" in the preset
// list's order, wrapping round, or a preset file of the folder by its name.
#pragma once

#include "app/presets/preset_listing.h"

#include <string>
#include <vector>

namespace padloom {

// The file to activate, or else (file empty) why the running preset stays on.
struct SwitchTarget {
    std::string file;
    std::string problem;
};

// list in its shown order; current the running preset's file (relative to the folder). "next"
// and "previous" pass over files that do not read; a name must be a listed file that reads.
SwitchTarget switchTarget(const std::vector<ListedPreset>& list, const std::string& current,
                          const std::string& to);

} // namespace padloom
