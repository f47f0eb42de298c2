// SPDX-License-Identifier: GPL-3.0-or-later
// Which preset names which program: the table that presets following the focused program are
// chosen from, kept in the order of the preset list.
#pragma once

#include "app/ui/focus_monitor.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

// The longest program name, and the longest pattern, that are matched at all, in bytes. Matching
// takes up to pattern x name steps; with this bound a focus change costs little however long the
// window's names or the presets' patterns are.
constexpr std::size_t longestMatchedProgramName = 256;

// Whether pattern names a program called name: "*" stands for any run of characters (none
// included), every other character for itself, letters in either case ("minecraft*" names
// "Minecraft 1.20"). An empty pattern names nothing, and neither a name nor a pattern longer than
// longestMatchedProgramName matches.
bool programPatternMatches(std::string_view pattern, std::string_view name);

class FocusRules {
public:
    void clear() { rules_.clear(); }
    // The programs the preset file names. A preset new to the table goes after the others; one
    // already there keeps its place; one that names no program leaves the table.
    void set(const std::string& fileName, const std::vector<std::string>& programs);
    // The first preset in the table that names the window by either of its names, leaving out those
    // that skip answers true for; none when no preset names it, and for a window without names.
    std::optional<std::string> presetFor(const FocusedWindow& window,
                                         const std::function<bool(const std::string&)>& skip) const;

private:
    struct Rule {
        std::string fileName;
        std::vector<std::string> programs;
    };
    std::vector<Rule> rules_;
};

} // namespace padloom
