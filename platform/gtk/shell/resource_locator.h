// SPDX-License-Identifier: GPL-3.0-or-later
// Where the application's resources (gui/, presetexamples/, help/) are.
#pragma once

#include <string>

namespace padloom {

// "resources" beside the executable (a build folder) when it holds the main page, otherwise the
// installed data folder. Empty when none holds it.
std::string findResourceDir();

// <prefix>/share/padloom for an executable in <prefix>/bin when it holds the main page, else empty.
std::string installedResourceDir(const std::string& executablePath);

// The resources folder beside executablePath when it holds gui/window_main.htm, else empty.
std::string resourceDirBeside(const std::string& executablePath);

} // namespace padloom
