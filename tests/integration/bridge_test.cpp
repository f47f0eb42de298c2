// What a page can reach of the application, and how its alert() and confirm() are answered.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

const char* const kOperationsSorted =
    "activatePreset_,createOrEditPreset_,deactivatePreset,deletePreset_,generateValidFilename,"
    "generateValidFilenameWithName_,scanJoystickInput_inBindNo_,showPresetFile_,updateConfigWindowHeight,"
    "webViewDocumentReady";

class BridgeTest : public HarnessTest {
protected:
    BridgeTest() : HarnessTest({{"First.txt", presetText("First", "one")}}) {}

    ScriptValue in(const std::string& global, const std::string& script) {
        return global == "app" ? harness.main(script) : harness.config(script);
    }
    PageResult awaitIn(const std::string& global, const std::string& expression) {
        return global == "app" ? harness.awaitMain(expression) : harness.awaitConfig(expression);
    }
};

// No prototype, so nothing inherited (toString, constructor, __proto__ tricks) is reachable; the
// page can neither add to the global nor replace it.
TEST_F(BridgeTest, EachPageGlobalOffersExactlyThePageOperationsAndNothingElse) {
    for (const std::string g : {"app", "appconfig"}) {
        EXPECT_EQ(in(g, "try { " + g + ".showAlert = () => 1; } catch (e) {} try { window." + g +
                            " = {}; } catch (e) {} [Reflect.ownKeys(" + g +
                            ").map(String).sort(), Object.values(" + g +
                            ").every((f) => typeof f === 'function'), Object.getPrototypeOf(" + g +
                            ") === null, Object.isFrozen(" + g + "), typeof " + g + ".showAlert].join(' ')"),
                  ScriptValue(std::string(kOperationsSorted) + " true true true undefined"))
            << g;
    }
}

TEST_F(BridgeTest, MessagesPostedAroundTheGlobalAreRefused) {
    struct Case {
        const char* what;
        const char* message;
    };
    const Case cases[] = {
        {"an operation that is not offered", "{op: 'showAlert', args: ['from the page']}"},
        {"a property of the controller", "{op: 'editingPresetPath', args: []}"},
        {"no operation name", "{args: []}"},
        {"arguments that are not an array", "{op: 'deletePreset_', args: 'First.txt'}"},
        {"not an object", "'deletePreset_'"},
        {"wrong argument types", "{op: 'scanJoystickInput_inBindNo_', args: ['x', {}]}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageResult result = harness.awaitMain(std::string("window.webkit.messageHandlers.app.postMessage(") +
                                              c.message + ")");
        ASSERT_TRUE(result.settled);
        EXPECT_TRUE(result.rejected);
    }
    EXPECT_TRUE(harness.dialogs.alerts.empty());
    EXPECT_TRUE(std::filesystem::exists(harness.presetFolder() / "First.txt"));
}

TEST_F(BridgeTest, AlertsAndConfirmsShowTheMessageUnchangedAndAnswerThePage) {
    struct Case {
        const char* global;
        const char* call;
        bool answer;
        const char* message;
    };
    const Case cases[] = {
        {"app", "confirm", true, "Delete 100% of \"First\"? %s %d <b>not bold</b>"},
        {"app", "confirm", false, "Second line follows\nhere"},
        {"app", "alert", false, "from the list"},
        {"appconfig", "alert", false, "from the editor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        harness.dialogs = {};
        harness.dialogs.answer = c.answer;
        const PageResult result =
            awaitIn(c.global, std::string(c.call) + "(" + scriptLiteral(c.message) + ")");
        const bool confirm = std::string(c.call) == "confirm";
        EXPECT_EQ(result.value, confirm ? ScriptValue(c.answer) : ScriptValue());
        EXPECT_EQ(confirm ? harness.dialogs.confirms : harness.dialogs.alerts,
                  (std::vector<std::string>{c.message}));
    }
}

TEST_F(BridgeTest, LinksLeavingThePageOpenInTheDesktopsHandler) {
    harness.main("const a = document.createElement('a'); a.href = 'https://example.org/x'; "
                 "document.body.appendChild(a); a.click(); true");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.opened.empty(); }));
    EXPECT_EQ(harness.desktop.opened[0], "https://example.org/x");
    // The page itself stays.
    EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function"));
}

} // namespace
} // namespace padloom::test
