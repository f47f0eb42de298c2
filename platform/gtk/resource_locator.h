// Where the application's resources (gui/, presetexamples/, help/) are.
#pragma once

#include <string>

namespace padloom {

// "resources" beside the executable (a build folder) when it holds the main page, otherwise the
// installed data folder. Empty when neither holds it.
std::string findResourceDir();

// The resources folder beside executablePath when it holds gui/window_main.htm, else empty.
std::string resourceDirBeside(const std::string& executablePath);

} // namespace padloom
