// Where the application keeps its files: $XDG_DATA_HOME (default ~/.local/share) + "/Padloom",
// with the presets in its "presets" subfolder. Both are created on first use.
#pragma once

#include <optional>
#include <string>

namespace padloom {

// The per-user data folder, from XDG_DATA_HOME (only when absolute) or HOME; none without either.
std::optional<std::string> userDataFolder();
// userDataFolder + "/Padloom", created with its parents when missing; none when that fails.
std::optional<std::string> applicationSupportFolder();
// applicationSupportFolder + "/presets/" (ending in "/"), created when missing; none on failure.
std::optional<std::string> presetFolder();
// The same, with a sentence for the user in problem (naming the folder) when there is none.
std::optional<std::string> presetFolder(std::string& problem);

} // namespace padloom
