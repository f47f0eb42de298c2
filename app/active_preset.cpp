#include "app/active_preset.h"

#include "app/folders.h"
#include "app/preset_runner.h"

namespace padloom {

std::string activePresetFile(const PresetRunner& runner) {
    const std::string& path = runner.activePath();
    const std::optional<std::string> folder = presetFolder();
    if (folder && path.compare(0, folder->size(), *folder) == 0) {
        return path.substr(folder->size());
    }
    return path;
}

} // namespace padloom
