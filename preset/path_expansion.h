// SPDX-License-Identifier: GPL-3.0-or-later
// Expansion of a leading "~" in preset paths.
#pragma once

#include <cstddef>
#include <string>

namespace padloom {

// The longest expanded path the document accepts, in bytes. Longer paths are refused like a file
// that cannot be opened.
constexpr std::size_t maxExpandedPathLength = 2047;

// "~" followed by at least one character becomes $HOME followed by the rest ("~/x" is $HOME/x,
// "~abc" is $HOME followed by "abc"); a lone "~" and every other path stay as they are. A missing
// HOME counts as empty. A null path is the empty text.
std::string expandPath(const char* path);

} // namespace padloom
