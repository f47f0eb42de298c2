// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/focus_rules.h"

#include <algorithm>

namespace padloom {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

// Matches left to right; on a mismatch after a "*", that star takes one more character and the
// rest of the pattern is tried again from there.
bool programPatternMatches(std::string_view pattern, std::string_view name) {
    if (pattern.empty() || pattern.size() > longestMatchedProgramName ||
        name.size() > longestMatchedProgramName) {
        return false;
    }
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t starTook = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starTook = n;
        } else if (p < pattern.size() && lower(pattern[p]) == lower(name[n])) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++starTook;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

void FocusRules::set(const std::string& fileName, const std::vector<std::string>& programs) {
    const auto known = std::find_if(rules_.begin(), rules_.end(),
                                    [&](const Rule& rule) { return rule.fileName == fileName; });
    if (programs.empty()) {
        if (known != rules_.end()) {
            rules_.erase(known);
        }
    } else if (known != rules_.end()) {
        known->programs = programs;
    } else {
        rules_.push_back({fileName, programs});
    }
}

std::optional<std::string> FocusRules::presetFor(const FocusedWindow& window,
                                                 const std::function<bool(const std::string&)>& skip) const {
    if (window.instanceName.empty() && window.className.empty()) {
        return std::nullopt; // no window has the focus, or one without a name: not even "*" names it
    }
    for (const Rule& rule : rules_) {
        const bool names = std::any_of(rule.programs.begin(), rule.programs.end(), [&](const std::string& p) {
            return programPatternMatches(p, window.instanceName) ||
                   programPatternMatches(p, window.className);
        });
        if (names && !skip(rule.fileName)) {
            return rule.fileName;
        }
    }
    return std::nullopt;
}

} // namespace padloom
