// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/focus_rules.h"

#include <gtest/gtest.h>

namespace padloom {
namespace {

TEST(ProgramPattern, MatchesWholeNamesWithStarsForAnyRunInEitherCase) {
    const std::string long256(256, 'a');
    const std::string long257(257, 'a');
    const std::string star256 = "*" + std::string(255, 'a');
    const std::string star257 = "*" + long256;
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } rows[] = {{"steam_app_*", "steam_app_620", true},
                {"steam_app_*", "steam_app_", true},
                {"steam_app_*", "steam", false},
                {"Minecraft*", "minecraft 1.20.1", true},
                {"firefox", "Firefox", true},
                {"firefox", "firefox-esr", false},
                {"*fox", "firefox", true},
                {"*fox", "foxes", false},
                {"a*b*c", "aXbYbZc", true},
                {"a*b*c", "aXcYb", false},
                {"*", "", true},
                {"**", "anything", true},
                {"", "", false},
                {"ümlaut", "ÜMLAUT", false},
                {"*.exe", "game.exe", true},
                {"*a", "aaaa", true},
                // names and patterns longer than the bound are not matched
                {long256.c_str(), long256.c_str(), true},
                {"*", long256.c_str(), true},
                {"*", long257.c_str(), false},
                {long257.c_str(), long257.c_str(), false},
                {star256.c_str(), long257.c_str(), false},
                {star257.c_str(), long256.c_str(), false}};
    for (const auto& row : rows) {
        EXPECT_EQ(programPatternMatches(row.pattern, row.name), row.matches)
            << row.pattern << " / " << row.name;
    }
}

TEST(FocusRules, TheFirstPresetInListOrderThatNamesTheWindowWinsUnlessSkipped) {
    FocusRules rules;
    rules.set("a.txt", {"steam_app_*"});
    rules.set("b.txt", {"Steam_App_620", "xterm"});
    rules.set("c.txt", {"Navigator"});
    rules.set("a.txt", {"nothing", "steam_app_*"}); // keeps its place
    rules.set("c.txt", {});                         // names no program any more
    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(rules.presetFor({"steam_app_620", "steam_app_620"}, none), "a.txt");
    EXPECT_EQ(rules.presetFor({"steam_app_620", ""}, [](const std::string& f) { return f == "a.txt"; }),
              "b.txt");
    EXPECT_EQ(rules.presetFor({"", "XTerm"}, none), "b.txt"); // by the class name alone
    EXPECT_EQ(rules.presetFor({"Navigator", "firefox"}, none), std::nullopt);
    rules.set("d.txt", {"*"});
    EXPECT_EQ(rules.presetFor({"anything", ""}, none), "d.txt");
    EXPECT_EQ(rules.presetFor({"", ""}, none), std::nullopt); // no window: not even "*" names it
}

} // namespace
} // namespace padloom
