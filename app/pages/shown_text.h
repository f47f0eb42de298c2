// SPDX-License-Identifier: GPL-3.0-or-later
// Texts from files and file names as people see them. A file name is any run of bytes but "/" and
// NUL, and a preset file may hold any bytes in its texts; the pages, the menus and D-Bus take only
// valid UTF-8, and a terminal takes control characters as commands.
#pragma once

#include <string>
#include <string_view>

namespace padloom {

// text with every byte sequence that is not UTF-8 replaced by U+FFFD, one for each maximal part
// of a sequence (as browsers decode); valid text comes back unchanged. Encoded surrogates and
// code points above U+10FFFF are not UTF-8.
std::string validUtf8(std::string_view text);

// text for a terminal or a log: valid UTF-8 in which control characters (C0, DEL and C1) and
// bytes that are not UTF-8 are written as \xNN, so that a name can neither move the cursor nor
// send the terminal a command. With keepLineBreaks, line feeds stay (for messages of several lines).
std::string terminalText(std::string_view text, bool keepLineBreaks = false);

// The name a page knows a preset file by, and back. A file name that is UTF-8 is its own key; any
// other one is "/" (which no relative path starts with) and the name's bytes, %-encoded where they
// are not UTF-8 or are "%". fileFromPageKey gives a key that does not decode back unchanged.
std::string pageKey(const std::string& fileName);
std::string fileFromPageKey(const std::string& key);

} // namespace padloom
