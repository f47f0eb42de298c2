// Which sink PADLOOM_OUTPUT and the session give, and what the user is told when the preferred
// one cannot be had.
#include <gtest/gtest.h>

#include "platform/linux/sink_selection.h"
#include "tests/linux/private_x_server.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>

namespace padloom {
namespace {

TEST(OutputChoice, ParsesExactlyTheFourNames) {
    struct Row {
        const char* text;
        std::optional<OutputChoice> choice;
    };
    const Row rows[] = {
        {"auto", OutputChoice::automatic}, {"x11", OutputChoice::x11}, {"uinput", OutputChoice::uinput},
        {"print", OutputChoice::print},    {"", std::nullopt},         {"X11", std::nullopt},
        {"auto ", std::nullopt},           {"wayland", std::nullopt},  {"automatic", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseOutputChoice(row.text), row.choice) << '"' << row.text << '"';
        if (row.choice) {
            EXPECT_STREQ(outputChoiceName(*row.choice), row.text);
        }
    }
}

TEST(OutputChoice, ComesFromPadloomOutputAndDefaultsToAuto) {
    struct Row {
        const char* value; // null: unset
        OutputChoice choice;
        const char* warningMentions; // null: no warning
    };
    const Row rows[] = {
        {nullptr, OutputChoice::automatic, nullptr},
        {"", OutputChoice::automatic, nullptr},
        {"print", OutputChoice::print, nullptr},
        {"uinput", OutputChoice::uinput, nullptr},
        {"joystick", OutputChoice::automatic,
         "PADLOOM_OUTPUT=\"joystick\" is not one of auto, x11, uinput, print"},
    };
    for (const Row& row : rows) {
        if (row.value) {
            setenv("PADLOOM_OUTPUT", row.value, 1);
        } else {
            unsetenv("PADLOOM_OUTPUT");
        }
        std::string warning;
        EXPECT_EQ(outputChoiceFromEnvironment(&warning), row.choice) << (row.value ? row.value : "(unset)");
        if (row.warningMentions) {
            EXPECT_NE(warning.find(row.warningMentions), std::string::npos) << warning;
        } else {
            EXPECT_EQ(warning, "");
        }
    }
    unsetenv("PADLOOM_OUTPUT");
}

// Without an X server of its own: every X case here has no display or an unreachable one.
TEST(SinkSelection, FallsBackToPrintAndSaysWhyAndHowToFixIt) {
    test::TempFolder folder;
    const std::string missing = folder.file("uinput");
    const std::string plainFile = folder.write("not-uinput", "");
    struct Row {
        const char* name;
        OutputChoice choice;
        std::optional<std::string> display;
        std::string uinputPath;
        std::vector<std::string> mentions;
    };
    const Row rows[] = {
        {"console without uinput",
         OutputChoice::automatic,
         std::nullopt,
         missing,
         {"printed to standard output", "DISPLAY is not set", "sudo modprobe uinput"}},
        {"a path that is no uinput device",
         OutputChoice::automatic,
         std::nullopt,
         plainFile,
         {"Cannot create a virtual input device"}},
        {"unreachable X server",
         OutputChoice::automatic,
         ":9999",
         missing,
         {"x11: Cannot open the X display \":9999\"", "uinput: "}},
        {"x11 asked for",
         OutputChoice::x11,
         std::nullopt,
         missing,
         {"x11 (as chosen): There is no X display"}},
        {"uinput asked for",
         OutputChoice::uinput,
         std::nullopt,
         missing,
         {"uinput (as chosen): ", "modprobe", "x11: "}},
    };
    for (const Row& row : rows) {
        SinkEnvironment environment;
        environment.display = row.display;
        environment.uinputPath = row.uinputPath;
        const SinkSelection selection = selectEventSink(row.choice, environment);
        ASSERT_NE(selection.sink, nullptr) << row.name;
        EXPECT_EQ(selection.name, "print") << row.name;
        for (const std::string& mention : row.mentions) {
            EXPECT_NE(selection.warning.find(mention), std::string::npos)
                << row.name << ": " << selection.warning;
        }
    }
}

TEST(SinkSelection, PrintAskedForIsHadWithoutAWarning) {
    SinkEnvironment environment;
    environment.display = ":9999";
    const SinkSelection selection = selectEventSink(OutputChoice::print, environment);
    ASSERT_NE(selection.sink, nullptr);
    EXPECT_EQ(selection.name, "print");
    EXPECT_EQ(selection.warning, "");
}

class SinkSelectionOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.running()) {
            GTEST_SKIP() << server_.failure();
        }
    }
    SinkEnvironment environment(std::optional<std::string> sessionType = std::nullopt,
                                std::optional<std::string> waylandDisplay = std::nullopt) {
        SinkEnvironment environment;
        environment.display = server_.name();
        environment.sessionType = std::move(sessionType);
        environment.waylandDisplay = std::move(waylandDisplay);
        environment.uinputPath = folder_.file("no-uinput");
        return environment;
    }

    test::PrivateXServer server_;
    test::TempFolder folder_;
};

TEST_F(SinkSelectionOnX, AutoTakesX11OnAnX11Session) {
    for (const char* sessionType : {"x11", "tty", ""}) {
        const SinkSelection selection = selectEventSink(OutputChoice::automatic, environment(sessionType));
        EXPECT_EQ(selection.name, "x11") << sessionType;
        EXPECT_EQ(selection.warning, "") << sessionType;
    }
}

// On Wayland, XTest reaches only XWayland programs: auto leaves it for uinput (here missing).
TEST_F(SinkSelectionOnX, AutoPassesOverX11OnAWaylandSession) {
    struct Row {
        std::optional<std::string> sessionType;
        std::optional<std::string> waylandDisplay;
    };
    const Row rows[] = {{"wayland", std::nullopt}, {std::nullopt, "wayland-0"}, {"x11", "wayland-1"}};
    for (const Row& row : rows) {
        const SinkSelection selection =
            selectEventSink(OutputChoice::automatic, environment(row.sessionType, row.waylandDisplay));
        EXPECT_EQ(selection.name, "print");
        EXPECT_NE(selection.warning.find("Wayland session"), std::string::npos) << selection.warning;
    }
}

TEST_F(SinkSelectionOnX, X11AskedForOnWaylandIsHadWithAWarning) {
    const SinkSelection selection = selectEventSink(OutputChoice::x11, environment("wayland", "wayland-0"));
    EXPECT_EQ(selection.name, "x11");
    EXPECT_NE(selection.warning.find("only X11 programs"), std::string::npos) << selection.warning;
}

TEST_F(SinkSelectionOnX, UinputAskedForButMissingFallsBackToX11) {
    const SinkSelection selection = selectEventSink(OutputChoice::uinput, environment("x11"));
    EXPECT_EQ(selection.name, "x11");
    EXPECT_NE(selection.warning.find("uinput (as chosen): "), std::string::npos) << selection.warning;
    EXPECT_NE(selection.warning.find("Using x11 instead."), std::string::npos) << selection.warning;
}

} // namespace
} // namespace padloom
