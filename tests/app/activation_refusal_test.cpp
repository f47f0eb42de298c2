// What activation answers the page: true, or why the preset was not switched on.
#include "tests/app/joystick_fixture.h"

namespace padloom::test {
namespace {

struct RefusalCase {
    const char* what;
    bool pad;               // a joystick is connected
    bool captureQueued;     // the editor has asked for a capture
    std::string name;       // the name the page sends
    std::string whyNotPart; // part of the reason; empty when the preset is switched on
};

// Names the case in test output.
inline void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.what;
}

class ActivationAnswer : public JoystickAppTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ActivationAnswer, NamesTheReasonItWasRefused) {
    const RefusalCase& c = GetParam();
    if (c.pad) {
        addPad();
    }
    const std::string preset = "{\"name\":\"P\",\"tag\":\"t\",\"joysticks\":[]}";
    writePreset("sub/a.txt", preset);
    writePreset("suba.txt", "{ broken");
    if (c.captureQueued) {
        controller().scanJoystickInput(0, 0);
    }

    std::string whyNot;
    EXPECT_EQ(controller().activatePreset(c.name, &whyNot), c.whyNotPart.empty());

    EXPECT_NE(whyNot.find(c.whyNotPart), std::string::npos) << whyNot;
    loop.runQueued();
    controller().deactivatePreset();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ActivationAnswer,
    ::testing::Values(RefusalCase{"SubfolderPresetByItsListedPath", true, false, "sub/a.txt", ""},
                      RefusalCase{"TextThatDoesNotRead", true, false, "suba.txt",
                                  "could not be read: Error at line 1"},
                      RefusalCase{"MissingFile", true, false, "gone.txt", "could not be read: Can't open"},
                      RefusalCase{"NoJoystick", false, false, "sub/a.txt", "No joystick is connected"},
                      RefusalCase{"CaptureRunning", true, true, "sub/a.txt", "being detected in the editor"},
                      RefusalCase{"NameOutsideTheFolder", true, false, "../a.txt", "not a preset file name"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
