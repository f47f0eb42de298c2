// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/path_expansion.h"

#include <cstdlib>

namespace padloom {

std::string expandPath(const char* path) {
    if (path == nullptr) {
        return {};
    }
    if (path[0] != '~' || path[1] == '\0') {
        return path;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + (path + 1);
}

} // namespace padloom
