// SPDX-License-Identifier: GPL-3.0-or-later
// The active preset as the main page lists it: which listed file it is.
#pragma once

#include <string>

namespace padloom {

class PresetRunner;

// The active preset's file name, relative to the preset folder; empty when none is active.
std::string activePresetFile(const PresetRunner& runner);

} // namespace padloom
