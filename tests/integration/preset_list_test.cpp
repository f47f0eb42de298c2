// The main page's list: what it shows when the application refuses an operation, copies made
// in one place, and files that do not read.
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

class PresetList : public HarnessTest {
protected:
    // Nothing is switched on and no notice is open.
    bool calm() {
        return harness.main("$('.preset.selected').length + $('#notice.open').length") == ScriptValue(0.0);
    }
};

// The entry stays, and the page's notice gives the application's reason.
TEST_F(PresetList, ARefusedOperationKeepsTheEntryAndShowsWhy) {
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.start();
    // Listed as a file, now a folder: it can be neither read nor deleted.
    std::filesystem::remove(harness.presetFolder() / "Pad.txt");
    std::filesystem::create_directories(harness.presetFolder() / "Pad.txt" / "inner");
    const std::pair<const char*, const char*> cases[] = {
        // what is clicked in the entry ("text" switches it on), what the notice says
        {".delete", "could not be deleted: Is a directory"},
        {"text", "could not be read"},
    };
    for (const auto& [clicked, reason] : cases) {
        SCOPED_TRACE(clicked);
        harness.main("hideNotice(); $('.preset').first().find('" + std::string(clicked) + "').click()");
        ASSERT_TRUE(
            pumpUntil([&] { return harness.main("$('#notice').hasClass('open')") == ScriptValue(true); }));
        EXPECT_EQ(harness.main("$('.preset:not(.selected)').length"), ScriptValue(1.0));
        EXPECT_EQ(harness.main("$('#blockLayer').is(':visible')"), ScriptValue(false));
        const std::string notice = harness.main("$('#noticeText').text()").text();
        EXPECT_NE(notice.find(reason), std::string::npos) << notice;
    }
}

// The pointer stays on one preset's Copy button for three clicks: three copies with distinct
// names, and the list never slides another preset under the pointer.
TEST_F(PresetList, CopyClickedThriceInOnePlaceSwitchesNothingOn) {
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
    EXPECT_TRUE(calm());
    EXPECT_TRUE(harness.dialogs.alerts.empty());
}

// A file that does not read is listed last, by file name, with the reader's message; it can be
// shown in the file manager and deleted, the confirmation naming the file.
TEST_F(PresetList, UnreadableFileIsListedWithTheReadersMessage) {
    harness.writePreset("Pad.txt", presetText("Pad", "tag"));
    harness.writePreset("broken.txt", "{\n  \"name\": oops\n}");
    harness.start();
    ASSERT_EQ(harness.listedPresetNames(), (std::vector<std::string>{"Pad", "broken.txt"}));
    EXPECT_EQ(harness.main("$('.unreadable p').text()"),
              ScriptValue("Does not read: Error at line 2: Unexpected character"));
    harness.main("$('.unreadable').click(); $('.unreadable .show').click()");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.revealed.empty(); }));
    EXPECT_EQ(harness.desktop.revealed[0], (harness.presetFolder() / "broken.txt").string());
    harness.main("$('.unreadable .delete').click()");
    ASSERT_TRUE(pumpUntil([&] { return harness.listedPresetNames().size() == 1; }));
    ASSERT_EQ(harness.dialogs.confirms.size(), 1u);
    EXPECT_NE(harness.dialogs.confirms[0].find("“broken.txt”"), std::string::npos);
    EXPECT_TRUE(calm());
}

} // namespace
} // namespace padloom::test
