// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/active_preset.h"

#include "app/presets/folders.h"
#include "app/running/preset_runner.h"

namespace padloom {

std::string activePresetFile(const PresetRunner& runner) {
    const std::string& path = runner.activePath();
    const Outcome<std::string> folder = presetFolder();
    if (folder && path.compare(0, folder->size(), *folder) == 0) {
        return path.substr(folder->size());
    }
    return path;
}

} // namespace padloom
