// The main page when the application refuses an operation on a listed preset: the entry stays,
// and the page's notice gives the application's reason.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

struct RefusalCase {
    const char* what;
    const char* clicked; // inside the entry: "text" switches it on, ".delete" is its button
    std::string reason;  // what the notice says
};

class PresetListRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PresetListRefusal, KeepsTheEntryAndShowsWhy) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.start();
    ASSERT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
    // Listed as a file, now a folder: it can be neither read nor deleted.
    std::filesystem::remove(harness.presetFolder() / "Pad.txt");
    std::filesystem::create_directories(harness.presetFolder() / "Pad.txt" / "inner");

    harness.main("$('.preset').first().find('" + std::string(GetParam().clicked) + "').click()");
    ASSERT_TRUE(
        pumpUntil([&] { return harness.main("$('#notice').hasClass('open')") == ScriptValue(true); }));

    EXPECT_EQ(harness.main("$('.preset:not(.selected)').length"), ScriptValue(1.0));
    EXPECT_EQ(harness.main("$('#blockLayer').is(':visible')"), ScriptValue(false));
    const std::string notice = harness.main("$('#noticeText').text()").text();
    EXPECT_NE(notice.find(GetParam().reason), std::string::npos) << notice;
}

INSTANTIATE_TEST_SUITE_P(Cases, PresetListRefusal,
                         ::testing::Values(RefusalCase{"delete", ".delete",
                                                       "could not be deleted: Is a directory"},
                                           RefusalCase{"activate", "text", "could not be read"}),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
