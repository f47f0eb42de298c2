// The main page when the application refuses an operation on a listed preset: the entry stays,
// and the user learns why.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

namespace fs = std::filesystem;

struct RefusalCase {
    const char* what;
    const char* clicked;    // inside the entry: "text" switches it on, ".edit" and ".delete" are buttons
    std::string noticePart; // what the page's notice says, or empty for none
    std::string alertPart;  // what the application's alert says, or empty for none
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.what;
}

class PresetListRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PresetListRefusal, KeepsTheEntryAndSaysWhy) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    const RefusalCase& c = GetParam();
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.start();
    ASSERT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
    // Listed as a file, now a folder: it can be neither deleted nor edited. No joystick is connected.
    fs::remove(harness.presetFolder() / "Pad.txt");
    fs::create_directories(harness.presetFolder() / "Pad.txt" / "inner");

    ASSERT_EQ(harness.main("$('.preset').first().find('" + std::string(c.clicked) + "').click().length"),
              ScriptValue(1.0));
    ASSERT_TRUE(pumpUntil([&] {
        return harness.main("busy") == ScriptValue(false) &&
               (c.noticePart.empty() || harness.main("$('#notice').hasClass('open')") == ScriptValue(true)) &&
               (c.alertPart.empty() || !harness.dialogs.alerts.empty());
    }));

    EXPECT_EQ(harness.main("$('.preset').length"), ScriptValue(1.0));
    EXPECT_EQ(
        harness.main("$('body').hasClass('modal') || $('.preset.selected, .preset.editing').length > 0"),
        ScriptValue(false));
    EXPECT_EQ(harness.main("$('#blockLayer').is(':visible')"), ScriptValue(false));
    const std::string notice =
        harness.main("$('#notice').hasClass('open') ? $('#noticeText').text() : ''").text();
    EXPECT_NE(notice.find(c.noticePart), std::string::npos) << notice;
    EXPECT_EQ(notice.empty(), c.noticePart.empty()) << notice;
    const std::string alerts = harness.dialogs.alerts.empty() ? "" : harness.dialogs.alerts[0];
    EXPECT_EQ(harness.dialogs.alerts.size(), c.alertPart.empty() ? 0u : 1u);
    EXPECT_NE(alerts.find(c.alertPart), std::string::npos) << alerts;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PresetListRefusal,
    ::testing::Values(RefusalCase{"delete", ".delete", "could not be deleted: Is a directory", ""},
                      RefusalCase{"activate", "text", "could not be read", ""},
                      RefusalCase{"edit", ".edit", "", "could not be kept aside (Is a directory)"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
