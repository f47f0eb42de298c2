// The real GTK panels: what they show and how their buttons answer.
#include "platform/gtk/dialog_text.h"
#include "platform/gtk/gtk_dialogs.h"
#include "tests/integration/shell_harness.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <optional>

namespace padloom::test {
namespace {

using GtkDialogsTest = HarnessTest;

// A quoted name of 2,000 characters is shortened in the middle, so the panel stays narrow.
TEST_F(GtkDialogsTest, PanelsShowTheMessageAndAnswerByButton) {
    enum class Panel { confirm, confirmLater, alert };
    const std::string longName =
        "Delete \u201c" + std::string(2000, 'n') + "\u201d?\n\n" + std::string(300, 'w');
    struct Case {
        Panel panel;
        std::string message;
        const char* click;
        bool answer;
    };
    const Case cases[] = {
        {Panel::confirm, "Delete 100% of it? %s %d %n", "Yes", true},
        {Panel::confirm, "<b>not bold</b> & <i>not italic</i>", "No", false},
        {Panel::confirmLater, "two\nlines", "Yes", true},
        {Panel::alert, "50% <done> %s", "_OK", false},
        {Panel::confirm, longName, "No", false},
        {Panel::alert, longName, "_OK", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 40));
        GtkDialogs dialogs;
        PanelReader reader;
        reader.clickLabel = c.click;
        guint source = g_timeout_add(10, PanelReader::tick, &reader);
        std::optional<bool> answer;
        if (c.panel == Panel::alert) {
            dialogs.showAlert(c.message);
            answer = false;
        } else if (c.panel == Panel::confirm) {
            answer = dialogs.confirm(c.message);
        } else {
            dialogs.confirmLater(c.message, [&](bool yes) { answer = yes; });
            EXPECT_FALSE(answer.has_value()); // returned before the answer
            pumpUntil([&] { return answer.has_value(); });
        }
        if (!reader.seen)
            g_source_remove(source);
        EXPECT_EQ(answer, c.answer);
        const bool alert = c.panel == Panel::alert;
        EXPECT_EQ(reader.title, alert ? "Padloom" : "Please Confirm");
        const std::string& shown = alert ? reader.text : reader.secondary;
        if (c.message.size() < 500) {
            EXPECT_EQ(shown, c.message);
        } else {
            EXPECT_LT(shown.size(), 500u);
            EXPECT_NE(shown.find("\u201cnnn"), std::string::npos) << shown;
            EXPECT_NE(shown.find("n\u2026n"), std::string::npos) << shown;
        }
        EXPECT_GT(reader.width, 0);
        EXPECT_LE(reader.width, GtkDialogs::maxWidth);
        EXPECT_FALSE(alert ? reader.markup : reader.secondaryMarkup);
        const std::vector<std::string> buttons =
            alert ? std::vector<std::string>{"_OK"} : std::vector<std::string>{"No", "Yes"};
        EXPECT_EQ(reader.buttons, buttons);
    }
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
