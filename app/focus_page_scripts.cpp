#include "app/focus_page_scripts.h"

#include "app/script_text.h"

namespace padloom::focus_scripts {

std::string markActivePreset(const std::optional<std::string>& fileName) {
    if (!fileName) {
        return "$('.selected').removeClass('selected');";
    }
    return "$('.selected').removeClass('selected');"
           "$('#presetList > .preset').filter(function () { return $(this).data('file') === " +
           scriptString(*fileName) + "; }).addClass('selected');";
}

std::string hideBlockLayer() {
    return "$('#blockLayer').stop(true, true).hide();";
}

std::string showPrograms(const std::vector<std::string>& programs, bool followable) {
    std::string list;
    for (const std::string& program : programs) {
        list += (list.empty() ? "" : ",") + scriptString(program);
    }
    return "setActivateFor([" + list + "], " + (followable ? "true" : "false") + ")";
}

} // namespace padloom::focus_scripts
