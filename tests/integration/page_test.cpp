// What a page can reach of the application, how its alert() and confirm() are answered, and
// what evaluating a script in it yields.
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

class Page : public HarnessTest {
protected:
    Page() : HarnessTest({{"First.txt", presetText("First", "one")}}) {}
};

// No prototype, so nothing inherited (toString, constructor, __proto__ tricks) is reachable; the
// page can neither add to the global nor replace it.
TEST_F(Page, EachGlobalOffersThePageOperationsAndNothingElse) {
    for (const std::string g : {"app", "appconfig"}) {
        const std::string script = "try { " + g + ".showAlert = () => 1; } catch (e) {} try { window." + g +
                                   " = {}; } catch (e) {} [Reflect.ownKeys(" + g + ").map(String).sort(), " +
                                   "Object.values(" + g + ").every((f) => typeof f === 'function'), " +
                                   "Object.getPrototypeOf(" + g + ") === null, Object.isFrozen(" + g +
                                   "), typeof " + g + ".showAlert].join(' ')";
        EXPECT_EQ(
            (g == "app" ? harness.main(script) : harness.config(script)),
            ScriptValue("activatePreset_,createOrEditPreset_,deactivatePreset,deletePreset_,"
                        "generateValidFilename,generateValidFilenameWithName_,scanJoystickInput_inBindNo_,"
                        "showPresetFile_,updateConfigWindowHeight,webViewDocumentReady true true true "
                        "undefined"))
            << g;
    }
}

TEST_F(Page, MessagesPostedAroundTheGlobalAreRefused) {
    for (const char* message :
         {"{op: 'showAlert', args: ['from the page']}",              // not offered
          "{op: 'editingPresetPath', args: []}",                     // a property of the controller
          "{args: []}",                                              // no operation
          "{op: 'deletePreset_', args: 'First.txt'}",                // arguments not an array
          "'deletePreset_'",                                         // not an object
          "{op: 'scanJoystickInput_inBindNo_', args: ['x', {}]}"}) { // wrong argument types
        const PageResult result =
            harness.awaitMain(std::string("window.webkit.messageHandlers.app.postMessage(") + message + ")");
        EXPECT_TRUE(result.settled && result.rejected) << message;
    }
    EXPECT_TRUE(harness.dialogs.alerts.empty());
    EXPECT_TRUE(std::filesystem::exists(harness.presetFolder() / "First.txt"));
}

TEST_F(Page, AlertsAndConfirmsShowTheMessageUnchanged) {
    const std::tuple<bool, const char*, bool, const char*> cases[] = {
        // in the main page, the call, the answer, the message
        {true, "confirm", true, "Delete 100% of \"First\"? %s %d <b>not bold</b>"},
        {true, "confirm", false, "Second line follows\nhere"},
        {true, "alert", false, "from the list"},
        {false, "alert", false, "from the editor"},
    };
    for (const auto& [inMain, call, answer, message] : cases) {
        SCOPED_TRACE(message);
        harness.dialogs = {};
        harness.dialogs.answer = answer;
        const std::string script = std::string(call) + "(" + scriptString(message) + ")";
        const PageResult result = inMain ? harness.awaitMain(script) : harness.awaitConfig(script);
        const bool confirm = std::string(call) == "confirm";
        EXPECT_EQ(result.value, confirm ? ScriptValue(answer) : ScriptValue());
        EXPECT_EQ(confirm ? harness.dialogs.confirms : harness.dialogs.alerts,
                  std::vector<std::string>{message});
    }
}

TEST_F(Page, LinksLeavingItOpenInTheDesktopsHandler) {
    harness.main("const a = document.createElement('a'); a.href = 'https://example.org/x'; "
                 "document.body.appendChild(a); a.click(); true");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.opened.empty(); }));
    EXPECT_EQ(harness.desktop.opened[0], "https://example.org/x");
    EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function")); // the page stays
}

// A script that fails, or runs past the time limit, reads as undefined; the page recovers.
TEST_F(Page, EvaluationYieldsTheLastExpressionsValue) {
    const std::pair<const char*, ScriptValue> cases[] = {
        {"1 + 2", ScriptValue(3.0)},          {"'a' + \"b\"", ScriptValue("ab")},
        {"1 < 2", ScriptValue(true)},         {"[1, 'x']", ScriptValue("1,x")},
        {"undefined", ScriptValue()},         {"null", ScriptValue()},
        {"noSuchFunction()", ScriptValue()},  {"throw new Error('x')", ScriptValue()},
        {"syntax error here", ScriptValue()},
    };
    for (const auto& [script, expected] : cases) {
        EXPECT_EQ(harness.main(script), expected) << script;
    }
    WebPage& page = harness.shell().mainPage();
    page.setTimeLimit(std::chrono::milliseconds(200));
    EXPECT_TRUE(page.evaluate("const end = Date.now() + 1500; while (Date.now() < end) {} 42").isUndefined());
    page.setTimeLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(page.evaluate("6 * 7"), ScriptValue(42.0));
}

} // namespace
} // namespace padloom::test
