// SPDX-License-Identifier: GPL-3.0-or-later
// Building script texts from values: every text put into a script goes in as a string literal
// that the page reads back as exactly that text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace padloom {

// A script string literal between quote (' or ") holding text as validUtf8 gives it, with
// backslashes, both quote characters, control characters, the two script line separators
// (U+2028, U+2029) and "</" escaped, so the literal can neither end early nor close an enclosing
// script element.
std::string scriptString(std::string_view text, char quote = '"');

// "name(lit,lit,...)" with double-quoted literals and no spaces, e.g. showNotice("a","b").
std::string scriptCall(std::string_view function, const std::vector<std::string>& texts);

} // namespace padloom
