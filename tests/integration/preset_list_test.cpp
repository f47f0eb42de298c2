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

class PresetListRefusal : public HarnessTest, public ::testing::WithParamInterface<RefusalCase> {
protected:
    PresetListRefusal() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}
};

TEST_P(PresetListRefusal, KeepsTheEntryAndShowsWhy) {
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

// The pointer stays on one preset's Copy button for three clicks: three copies with distinct
// names, and the list never slides another preset under the pointer.
class PresetList : public HarnessTest {};

TEST_F(PresetList, CopyClickedThreeTimesInOnePlaceSwitchesNothingOn) {
    for (const std::string name : {"Alpha", "Racing", "Zulu"}) {
        harness.writePreset(name + ".txt", presetText(name, "tag"));
    }
    harness.start();
    harness.main("const r = $('.preset').eq(1).find('.copy')[0].getBoundingClientRect();"
                 "window.pointer = [r.left + r.width / 2, r.top + r.height / 2]");
    for (int copies = 1; copies <= 3; ++copies) {
        harness.main("document.elementFromPoint(pointer[0], pointer[1]).click()");
        ASSERT_TRUE(pumpUntil(
            [&] { return harness.main("!busy && $('.preset').length") == ScriptValue(3.0 + copies); }));
    }
    EXPECT_EQ(harness.listedPresetNames(),
              (std::vector<std::string>{"Alpha", "Racing", "Racing copy", "Racing copy 2", "Racing copy 3",
                                        "Zulu"}));
    EXPECT_EQ(harness.main("$('.preset.selected').length + $('#notice.open').length"), ScriptValue(0.0));
    EXPECT_TRUE(harness.dialogs.alerts.empty());
}

// A file that does not read is listed last, by file name, with the reader's message; it can be
// shown in the file manager and deleted, the confirmation naming the file.
TEST_F(PresetList, UnreadableFileIsListedWithTheReadersMessage) {
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.writePreset("broken.txt", "{\n  \"name\": oops\n}");
    harness.start();
    ASSERT_EQ(harness.listedPresetNames(), (std::vector<std::string>{"Pad", "broken.txt"}));
    EXPECT_EQ(harness.main("$('.unreadable p').text()").text(),
              "Does not read: Error at line 2: Unexpected character");

    harness.main("$('.unreadable').click(); $('.unreadable .show').click()");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.revealed.empty(); }));
    EXPECT_EQ(harness.desktop.revealed[0], (harness.presetFolder() / "broken.txt").string());
    harness.main("$('.unreadable .delete').click()");
    ASSERT_TRUE(pumpUntil([&] { return harness.listedPresetNames().size() == 1; }));
    ASSERT_EQ(harness.dialogs.confirms.size(), 1u);
    EXPECT_NE(harness.dialogs.confirms[0].find("“broken.txt”"), std::string::npos);
    EXPECT_EQ(harness.main("$('.preset.selected').length + $('#notice.open').length"), ScriptValue(0.0));
}

} // namespace
} // namespace padloom::test
