// Script evaluation in a bare page: values, failures and the time limit.
#include "platform/gtk/web_page.h"
#include "tests/integration/shell_harness.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

class WebPageTest : public HarnessTest {
protected:
    void SetUp() override {
        HarnessTest::SetUp();
        if (IsSkipped())
            return;
        BridgeSpec bridge{"app",
                          {"webViewDocumentReady"},
                          [](const std::string&, const std::vector<ScriptValue>&, BridgeAnswer answer) {
                              answer(BridgeReply{});
                          }};
        PageHandlers handlers;
        handlers.alert = [](const std::string&, std::function<void()> done) { done(); };
        handlers.confirm = [](const std::string&, std::function<void(bool)> done) { done(false); };
        handlers.loaded = [this] { loaded = true; };
        page = std::make_unique<WebPage>(std::move(bridge), std::move(handlers));
        window = gtk_offscreen_window_new();
        gtk_container_add(GTK_CONTAINER(window), page->widget());
        gtk_widget_show_all(window);
        page->loadFile((harness.resourceDir() / "gui" / "window_main.htm").string());
        ASSERT_TRUE(pumpUntil([&] { return loaded; }));
    }
    void TearDown() override {
        if (window)
            gtk_widget_destroy(window);
    }

    std::unique_ptr<WebPage> page;
    GtkWidget* window = nullptr;
    bool loaded = false;
};

TEST_F(WebPageTest, EvaluationYieldsTheValueOfTheLastExpression) {
    struct Case {
        const char* script;
        ScriptValue expected;
    };
    const Case cases[] = {
        {"1 + 2", ScriptValue(3.0)},          {"'a' + \"b\"", ScriptValue("ab")},
        {"1 < 2", ScriptValue(true)},         {"[1, 'x']", ScriptValue("1,x")},
        {"undefined", ScriptValue()},         {"null", ScriptValue()},
        {"noSuchFunction()", ScriptValue()},  {"throw new Error('x')", ScriptValue()},
        {"syntax error here", ScriptValue()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(page->evaluate(c.script), c.expected) << c.script;
}

TEST_F(WebPageTest, AScriptThatRunsPastTheTimeLimitReadsAsUndefinedAndThePageRecovers) {
    page->setTimeLimit(std::chrono::milliseconds(200));
    EXPECT_TRUE(
        page->evaluate("const end = Date.now() + 1500; while (Date.now() < end) {} 42").isUndefined());
    page->setTimeLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(page->evaluate("6 * 7"), ScriptValue(42.0));
}

} // namespace
} // namespace padloom::test
