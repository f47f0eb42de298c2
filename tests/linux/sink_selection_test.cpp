// SPDX-License-Identifier: GPL-3.0-or-later
// Which sink PADLOOM_OUTPUT and the session give, and what the user is told when the preferred
// one cannot be had.
#include <gtest/gtest.h>

#include "platform/linux/sink_selection.h"
#include "tests/linux/private_x_server.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>

namespace padloom {
namespace {

// PADLOOM_OUTPUT names the choice exactly; unset or empty it is auto, and anything else is auto
// with a warning (whose text padloomctl's tests pin).
TEST(OutputChoice, ComesFromExactlyTheFourNamesInPadloomOutput) {
    struct Row {
        const char* text;
        std::optional<OutputChoice> choice;
    };
    const Row rows[] = {
        {"auto", OutputChoice::automatic}, {"x11", OutputChoice::x11}, {"uinput", OutputChoice::uinput},
        {"print", OutputChoice::print},    {"", std::nullopt},         {"X11", std::nullopt},
        {"auto ", std::nullopt},           {"joystick", std::nullopt}, {"automatic", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseOutputChoice(row.text), row.choice) << '"' << row.text << '"';
        if (row.choice) {
            EXPECT_STREQ(outputChoiceName(*row.choice), row.text);
        }
        setenv("PADLOOM_OUTPUT", row.text, 1);
        std::string warning;
        EXPECT_EQ(outputChoiceFromEnvironment(&warning), row.choice.value_or(OutputChoice::automatic));
        EXPECT_EQ(warning.empty(), row.choice || *row.text == '\0') << warning;
    }
    unsetenv("PADLOOM_OUTPUT");
    std::string warning;
    EXPECT_EQ(outputChoiceFromEnvironment(&warning), OutputChoice::automatic);
    EXPECT_EQ(warning, "");
}

// The X cases run against a private X server, an unreachable one, or none; uinput is a missing path
// or a plain file, since no test may make a real device. An empty list of mentions means no warning.
TEST(SinkSelection, TakesTheFirstSinkThatWorksAndSaysWhyTheOthersDidNot) {
    test::PrivateXServer server;
    test::TempFolder folder;
    enum class X { none, unreachable, running };
    const auto automatic = OutputChoice::automatic;
    struct Row {
        const char* name;
        OutputChoice choice;
        X x;
        const char* sessionType; // null: unset, as is waylandDisplay
        const char* waylandDisplay;
        bool uinputIsAPlainFile; // else a missing path
        const char* sink;
        std::vector<std::string> mentions;
    };
    // clang-format off
    const Row rows[] = {
        {"console without uinput", automatic, X::none, nullptr, nullptr, false, "print",
         {"printed to standard output", "DISPLAY is not set", "sudo modprobe uinput"}},
        {"a path that is no uinput device", automatic, X::none, nullptr, nullptr, true, "print",
         {"Cannot create a virtual input device"}},
        {"unreachable X server", automatic, X::unreachable, nullptr, nullptr, false, "print",
         {"x11: Cannot open the X display \":9999\"", "uinput: "}},
        {"x11 asked for without X", OutputChoice::x11, X::none, nullptr, nullptr, false, "print",
         {"x11 (as chosen): There is no X display"}},
        {"uinput asked for without either", OutputChoice::uinput, X::none, nullptr, nullptr, false, "print",
         {"uinput (as chosen): ", "modprobe", "x11: "}},
        {"print asked for", OutputChoice::print, X::unreachable, nullptr, nullptr, false, "print", {}},
        {"X11 session", automatic, X::running, "x11", nullptr, false, "x11", {}},
        {"tty session with X", automatic, X::running, "tty", nullptr, false, "x11", {}},
        {"empty session type", automatic, X::running, "", nullptr, false, "x11", {}},
        // On Wayland, XTest reaches only XWayland programs: auto leaves it for uinput (here missing).
        {"Wayland session", automatic, X::running, "wayland", nullptr, false, "print", {"Wayland session"}},
        {"Wayland display", automatic, X::running, nullptr, "wayland-0", false, "print", {"Wayland session"}},
        {"Wayland display on x11", automatic, X::running, "x11", "wayland-1", false, "print",
         {"Wayland session"}},
        {"x11 asked for on Wayland", OutputChoice::x11, X::running, "wayland", "wayland-0", false, "x11",
         {"only X11 programs"}},
        {"uinput asked for but missing", OutputChoice::uinput, X::running, "x11", nullptr, false, "x11",
         {"uinput (as chosen): ", "Using x11 instead."}},
    };
    // clang-format on
    const auto optional = [](const char* value) {
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    for (const Row& row : rows) {
        if (row.x == X::running && !server.running()) {
            ADD_FAILURE() << row.name << ": " << server.failure();
            continue;
        }
        SinkEnvironment environment;
        environment.display = optional(row.x == X::none          ? nullptr
                                       : row.x == X::unreachable ? ":9999"
                                                                 : server.name().c_str());
        environment.sessionType = optional(row.sessionType);
        environment.waylandDisplay = optional(row.waylandDisplay);
        environment.uinputPath =
            row.uinputIsAPlainFile ? folder.write("not-uinput", "") : folder.file("uinput");
        const SinkSelection selection = selectEventSink(row.choice, environment);
        ASSERT_NE(selection.sink, nullptr) << row.name;
        EXPECT_EQ(selection.name, row.sink) << row.name;
        if (row.mentions.empty()) {
            EXPECT_EQ(selection.warning, "") << row.name;
        }
        for (const std::string& mention : row.mentions) {
            EXPECT_NE(selection.warning.find(mention), std::string::npos)
                << row.name << ": " << selection.warning;
        }
    }
}

} // namespace
} // namespace padloom
