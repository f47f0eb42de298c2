// The real GTK panels: what they show and how their buttons answer.
#include "platform/gtk/dialog_text.h"
#include "platform/gtk/gtk_dialogs.h"
#include "tests/integration/shell_harness.h"

#include <optional>

namespace padloom::test {
namespace {

using GtkDialogsTest = HarnessTest;

// A quoted name of 2,000 characters is shortened in the middle, so the panel stays narrow.
TEST_F(GtkDialogsTest, PanelsShowTheMessageAndAnswerByButton) {
    enum Panel { confirm, confirmLater, alert };
    const std::string longName =
        "Delete \u201c" + std::string(2000, 'n') + "\u201d?\n\n" + std::string(300, 'w');
    const std::tuple<Panel, std::string, const char*, bool> cases[] = {
        // the panel, the message, the button clicked, the answer
        {confirm, "Delete 100% of it? %s %d %n", "Yes", true},
        {confirm, "<b>not bold</b> & <i>not italic</i>", "No", false},
        {confirmLater, "two\nlines", "Yes", true},
        {alert, "50% <done> %s", "_OK", false},
        {confirm, longName, "No", false},
        {alert, longName, "_OK", false},
    };
    for (const auto& [panel, message, click, expected] : cases) {
        SCOPED_TRACE(message.substr(0, 40));
        GtkDialogs dialogs;
        PanelReader reader{click};
        guint source = g_timeout_add(10, PanelReader::tick, &reader);
        std::optional<bool> answer;
        if (panel == alert) {
            dialogs.showAlert(message);
            answer = false;
        } else if (panel == confirm) {
            answer = dialogs.confirm(message);
        } else {
            dialogs.confirmLater(message, [&](bool yes) { answer = yes; });
            EXPECT_FALSE(answer.has_value()); // returned before the answer
            pumpUntil([&] { return answer.has_value(); });
        }
        if (!reader.seen) {
            g_source_remove(source);
        }
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(reader.title, panel == alert ? "Padloom" : "Please Confirm");
        const std::string& shown = panel == alert ? reader.text : reader.secondary;
        if (message.size() < 500) {
            EXPECT_EQ(shown, message);
        } else {
            EXPECT_LT(shown.size(), 500u);
            EXPECT_NE(shown.find("\u201cnnn"), std::string::npos) << shown;
            EXPECT_NE(shown.find("n\u2026n"), std::string::npos) << shown;
        }
        EXPECT_GT(reader.width, 0);
        EXPECT_LE(reader.width, GtkDialogs::maxWidth);
        EXPECT_FALSE(panel == alert ? reader.markup : reader.secondaryMarkup);
        EXPECT_EQ(reader.buttons,
                  (panel == alert ? std::vector<std::string>{"_OK"} : std::vector<std::string>{"No", "Yes"}));
    }
}

TEST_F(GtkDialogsTest, DismissingAnswersOpenPanelsAsNo) {
    GtkDialogs dialogs;
    const auto dismiss = [](gpointer data) -> gboolean {
        static_cast<GtkDialogs*>(data)->dismissAll();
        return G_SOURCE_CONTINUE;
    };
    guint source = g_timeout_add(10, dismiss, &dialogs);
    EXPECT_FALSE(dialogs.confirm("Quit?"));
    g_source_remove(source);
}

TEST(DialogText, QuotedPartsOverTheLimitAreShortenedInTheMiddle) {
    const std::pair<const char*, const char*> cases[] = {
        {"no quotes at all, however long it may be", "no quotes at all, however long it may be"},
        {"Delete \"abcdefg\"?", "Delete \"abcdefg\"?"},
        {"Delete \"abcdefghijk\"?", "Delete \"abc\u2026ijk\"?"},
        {"Delete the preset \u201cabcdefghijk\u201d? \"x\"",
         "Delete the preset \u201cabc\u2026ijk\u201d? \"x\""},
        {"\"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\"",
         "\"\u00e9\u00e9\u00e9\u2026\u00e9\u00e9\u00e9\""},
        {"an \"unclosed abcdefghijk", "an \"unclosed abcdefghijk"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(shortenQuotedParts(text, 7), shown) << text;
    }
}

} // namespace
} // namespace padloom::test
