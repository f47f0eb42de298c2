// The script that fills the editor's section of programs that switch a preset on.
#pragma once

#include <string>
#include <vector>

namespace padloom::focus_scripts {

// Configuration page: the programs the edited preset names, and whether the focus can be
// followed in this session.
std::string showPrograms(const std::vector<std::string>& programs, bool followable);

} // namespace padloom::focus_scripts
