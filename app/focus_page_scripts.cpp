#include "app/focus_page_scripts.h"

#include "app/script_text.h"

namespace padloom::focus_scripts {

std::string showPrograms(const std::vector<std::string>& programs, bool followable) {
    std::string list;
    for (const std::string& program : programs) {
        list += (list.empty() ? "" : ",") + scriptString(program);
    }
    return "setActivateFor([" + list + "], " + (followable ? "true" : "false") + ")";
}

} // namespace padloom::focus_scripts
