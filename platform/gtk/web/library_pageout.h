// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a library's pages back to the system while the process has no use for them.
#pragma once

#include <initializer_list>
#include <string_view>

namespace padloom {

// Asks the kernel to reclaim the pages of the read-only mappings (code and constant data) of the
// libraries whose file names start with one of the prefixes, as far as this process alone maps
// them; they are read back from the files when next touched. Pages the process has written
// (relocations, data) stay. Returns the length of the mappings handed over, in bytes (0 where the
// kernel cannot do it).
size_t pageOutLibraries(std::initializer_list<std::string_view> fileNamePrefixes);

} // namespace padloom
