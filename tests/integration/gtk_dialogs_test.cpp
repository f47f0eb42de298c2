// The real GTK panels: what they show and how their buttons answer.
#include "platform/gtk/dialog_text.h"
#include "platform/gtk/gtk_dialogs.h"
#include "tests/integration/shell_harness.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

class GtkDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ShellHarness::displayAvailable())
            GTEST_SKIP() << "no display";
    }
};

TEST_F(GtkDialogsTest, ConfirmShowsItsTitleAndTheMessageUnchangedAndAnswersByButton) {
    struct Case {
        const char* message;
        const char* click;
        bool answer;
    };
    const Case cases[] = {
        {"Delete 100% of it? %s %d %n", "Yes", true},
        {"<b>not bold</b> & <i>not italic</i>", "No", false},
        {"two\nlines", "Yes", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        GtkDialogs dialogs;
        PanelReader reader;
        reader.clickLabel = c.click;
        guint source = g_timeout_add(10, PanelReader::tick, &reader);
        EXPECT_EQ(dialogs.confirm(c.message), c.answer);
        if (!reader.seen)
            g_source_remove(source);
        EXPECT_EQ(reader.title, "Please Confirm");
        EXPECT_EQ(reader.text, "Please Confirm");
        EXPECT_EQ(reader.secondary, c.message);
        EXPECT_FALSE(reader.secondaryMarkup);
        EXPECT_EQ(reader.buttons, (std::vector<std::string>{"No", "Yes"}));
    }
}

TEST_F(GtkDialogsTest, AlertShowsTheMessageUnchanged) {
    GtkDialogs dialogs;
    PanelReader reader;
    reader.clickLabel = "_OK";
    guint source = g_timeout_add(10, PanelReader::tick, &reader);
    dialogs.showAlert("50% <done> %s");
    if (!reader.seen)
        g_source_remove(source);
    EXPECT_EQ(reader.text, "50% <done> %s");
    EXPECT_FALSE(reader.markup);
}

TEST(DialogText, QuotedPartsLongerThanTheLimitAreShortenedInTheMiddle) {
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"no quotes at all, however long it may be", "no quotes at all, however long it may be"},
        {"Delete \"abcdefg\"?", "Delete \"abcdefg\"?"},
        {"Delete \"abcdefghijk\"?", "Delete \"abc\u2026ijk\"?"},
        {"Delete the preset \u201cabcdefghijk\u201d? \"x\"",
         "Delete the preset \u201cabc\u2026ijk\u201d? \"x\""},
        {"\"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\"",
         "\"\u00e9\u00e9\u00e9\u2026\u00e9\u00e9\u00e9\""},
        {"an \"unclosed abcdefghijk", "an \"unclosed abcdefghijk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shortenQuotedParts(c.text, 7), c.shown) << c.text;
}

TEST_F(GtkDialogsTest, PanelsQuotingAVeryLongNameStayNarrowAndShortenIt) {
    const std::string name(2000, 'n');
    const std::string message = "Delete the preset \u201c" + name + "\u201d?\n\n" + std::string(300, 'w');
    for (bool confirm : {true, false}) {
        GtkDialogs dialogs;
        PanelReader reader;
        reader.clickLabel = confirm ? "No" : "_OK";
        guint source = g_timeout_add(10, PanelReader::tick, &reader);
        if (confirm)
            dialogs.confirm(message);
        else
            dialogs.showAlert(message);
        if (!reader.seen)
            g_source_remove(source);
        const std::string& shown = confirm ? reader.secondary : reader.text;
        EXPECT_GT(reader.width, 0);
        EXPECT_LE(reader.width, GtkDialogs::maxWidth);
        EXPECT_NE(shown.find("\u201cnnn"), std::string::npos) << shown;
        EXPECT_NE(shown.find("n\u2026n"), std::string::npos) << shown;
        EXPECT_LT(shown.size(), 500u);
    }
}

TEST_F(GtkDialogsTest, DismissingAnswersOpenPanelsAsNo) {
    GtkDialogs dialogs;
    guint source = g_timeout_add(
        10,
        [](gpointer data) -> gboolean {
            static_cast<GtkDialogs*>(data)->dismissAll();
            return G_SOURCE_CONTINUE;
        },
        &dialogs);
    EXPECT_FALSE(dialogs.confirm("Quit?"));
    g_source_remove(source);
}

} // namespace
} // namespace padloom::test
