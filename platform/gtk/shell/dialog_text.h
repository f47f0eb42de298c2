// SPDX-License-Identifier: GPL-3.0-or-later
// Texts as the panels show them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace padloom {

// text with every quoted part ("..." or “...”) longer than maxChars characters shortened in the
// middle to maxChars characters, the middle one an ellipsis ("…"): a 2,000-character preset
// name in a question stays readable and the panel stays on the screen. The rest of the text,
// and quoted parts that fit, are kept as they are.
std::string shortenQuotedParts(std::string_view text, size_t maxChars);

} // namespace padloom
