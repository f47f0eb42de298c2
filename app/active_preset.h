// The active preset as the main page shows it: which listed file it is, and the scripts that mark
// it in the list after a switch that did not come from the page's own switch.
#pragma once

#include <string>

namespace padloom {

class PresetRunner;

// The active preset's file name, relative to the preset folder; empty when none is active.
std::string activePresetFile(const PresetRunner& runner);
// Main page: marks the entry of file (none when empty) as the active preset, as the page's switch does.
std::string markActivePresetScript(const std::string& file);
// Main page: takes away the block layer that an activation which failed leaves shown.
std::string hideBlockLayerScript();

} // namespace padloom
