#include "app/active_preset.h"

#include "app/folders.h"
#include "app/preset_runner.h"
#include "app/script_text.h"

namespace padloom {

std::string activePresetFile(const PresetRunner& runner) {
    const std::string& path = runner.activePath();
    const std::optional<std::string> folder = presetFolder();
    if (folder && path.compare(0, folder->size(), *folder) == 0) {
        return path.substr(folder->size());
    }
    return path;
}

std::string markActivePresetScript(const std::string& file) {
    return "$('.selected').removeClass('selected');"
           "$('#presetList > .preset').filter(function () { return $(this).data('file') === " +
           scriptString(file) + "; }).addClass('selected');";
}

std::string hideBlockLayerScript() {
    return "$('#blockLayer').stop(true, true).hide();";
}

} // namespace padloom
