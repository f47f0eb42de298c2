// The scripts that presets following the focused program evaluate in the two pages.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace padloom::focus_scripts {

// Main page: marks the entry of fileName as the active preset, and no other; none unmarks all.
std::string markActivePreset(const std::optional<std::string>& fileName);
// Main page: takes away the block layer that an activation which failed leaves shown.
std::string hideBlockLayer();
// Configuration page: the programs the edited preset names, and whether the focus can be
// followed in this session.
std::string showPrograms(const std::vector<std::string>& programs, bool followable);

} // namespace padloom::focus_scripts
