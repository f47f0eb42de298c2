// Script evaluation in a page: values, failures and the time limit.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

class WebPageTest : public HarnessTest {
protected:
    WebPageTest() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}
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
        EXPECT_EQ(harness.main(c.script), c.expected) << c.script;
}

TEST_F(WebPageTest, AScriptThatRunsPastTheTimeLimitReadsAsUndefinedAndThePageRecovers) {
    WebPage& page = harness.shell().mainPage();
    page.setTimeLimit(std::chrono::milliseconds(200));
    EXPECT_TRUE(page.evaluate("const end = Date.now() + 1500; while (Date.now() < end) {} 42").isUndefined());
    page.setTimeLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(page.evaluate("6 * 7"), ScriptValue(42.0));
}

} // namespace
} // namespace padloom::test
