// SPDX-License-Identifier: GPL-3.0-or-later
// A large preset (about 1 MB: many joystick sections with many binds) written by the document's
// own save, so that its layout is the one preset files have.
#pragma once

#include <cstddef>
#include <string>

namespace padloom::bench {

struct GeneratedPreset {
    std::string path; // a file in a temporary folder, removed at exit
    std::string text; // the file's bytes
};

// Made once, on first use.
const GeneratedPreset& generatedPreset();

} // namespace padloom::bench
