// Editing a preset in the configuration window: saving on close, and capturing a bind's input.
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <fstream>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

class EditingTest : public HarnessTest {
protected:
    EditingTest() : HarnessTest({{"Pad.txt", presetText("Pad", "A on button 0")}}) {}

    // As the user does: the entry's Edit button.
    void openEditor() {
        ASSERT_EQ(harness.main("$('.preset .edit').first().click().length"), ScriptValue(1.0));
        ASSERT_TRUE(
            pumpUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())); }));
        ASSERT_EQ(harness.config("$('#name').val()"), ScriptValue("Pad"));
        ASSERT_STREQ(gtk_window_get_title(harness.shell().configWindow()), "Edit “Pad”");
    }

    // By the window's close button, or with Ctrl+W in the page.
    void closeEditor(bool byKey = false) {
        if (byKey) {
            harness.config("document.activeElement.dispatchEvent(new KeyboardEvent('keydown', "
                           "{key: 'w', ctrlKey: true, bubbles: true})); true");
        } else {
            gtk_window_close(harness.shell().configWindow());
        }
        ASSERT_TRUE(
            pumpUntil([&] { return !gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())); }));
    }

    // Records the capture's report to the page and every countdown step it shows.
    void recordCapture() {
        harness.config(
            "window.__captured = null; window.__countdown = [];"
            "if (!window.__select) {"
            "  window.__select = window.selectInputInBind;"
            "  window.selectInputInBind = function (j, b, t) { window.__captured = [j, b, t].join('|');"
            "    return window.__select.apply(this, arguments); };"
            "  new MutationObserver(() => window.__countdown.push($('#timeOut').text()))"
            "    .observe(document.getElementById('timeOut'), { childList: true, characterData: true,"
            "                                                   subtree: true });"
            "}"
            "$('#timeOut').text(''); true");
    }

    std::string savedText() {
        std::ifstream in(harness.presetFolder() / "Pad.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

class ClosingTheEditor : public EditingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingTheEditor, SavesAPresetThatLoads) {
    openEditor();
    const std::string name = "Renamed \"quoted\" \\ 100%";
    harness.config("$('#name').val(" + scriptLiteral(name) +
                   ").trigger('input'); "
                   "$('#tag').val('new tag').trigger('input'); true");
    // Programs that switch it on: trimmed, without empty or repeated ones.
    for (const char* program : {" steam_app_* ", "", "Mine\"craft*", "steam_app_*"}) {
        harness.config("$('.add-program').click(); $('input.program').last().val(" + scriptLiteral(program) +
                       "); true");
    }
    EXPECT_EQ(harness.config("$('#programs').hasClass('unfollowable')"), ScriptValue(false));
    closeEditor(GetParam());

    VantryDocument document;
    ASSERT_TRUE(document.load((harness.presetFolder() / "Pad.txt").c_str())) << savedText();
    EXPECT_EQ(document.name, name);
    EXPECT_EQ(document.tag, "new tag");
    EXPECT_EQ(document.activateFor, (std::vector<std::string>{"steam_app_*", "Mine\"craft*"}));
    EXPECT_NE(savedText().find("\"btn 0\""), std::string::npos) << savedText();
    // Closing the editor neither asks nor quits.
    EXPECT_TRUE(harness.dialogs.confirms.empty());
    EXPECT_EQ(harness.quitCount, 0);
    EXPECT_TRUE(pumpUntil([&] {
        std::vector<std::string> names = harness.listedPresetNames();
        return names.size() == 1 && names[0] == name;
    })) << harness.main("$('text > h2').text()").text();
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTheEditor, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "CtrlW" : "CloseButton"; });

TEST_F(EditingTest, NumbersThePresetCannotHoldAreRefusedWithANoteBesideTheField) {
    openEditor();
    // The bind's output becomes mouse motion, so it has a speed field (6).
    harness.config("$('select.output-kind').first().val('mou').trigger('change'); true");
    struct Case {
        const char* field;
        const char* typed;
        const char* saved; // in the preset text
        bool refused;
    };
    const Case cases[] = {
        {"index", "99999999999", "\"btn 0\"", true}, {"index", "-1", "\"btn 0\"", true},
        {"index", "2.5", "\"btn 0\"", true},         {"index", "2147483647", "\"btn 2147483647\"", false},
        {"amount", "1e999", "\"mou 0 + 6\"", true},  {"amount", "-2", "\"mou 0 + 6\"", true},
        {"amount", "2.5", "\"mou 0 + 2.5\"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        harness.config("$('.field-problem').remove(); $('input." + std::string(c.field) + "').first().val('" +
                       c.typed + "').trigger('change'); true");
        const std::string note =
            harness
                .config("$('input." + std::string(c.field) + "').first().siblings('.field-problem').text()")
                .text();
        EXPECT_EQ(!note.empty(), c.refused) << note;
        EXPECT_NE(harness.config("generatePresetString()").text().find(c.saved), std::string::npos)
            << harness.config("generatePresetString()").text();
    }
}

// Once the capture listens to the pad (it has opened the device, after discarding what was
// queued before), presses button 5, or Escape in the given window; runs inside the capture's
// own waits.
struct CaptureInput {
    ShellHarness* harness;
    VirtualJoystick* pad;
    GtkWindow* escapeIn; // null: the button
    bool sent = false;

    static gboolean tick(gpointer data) {
        auto* input = static_cast<CaptureInput*>(data);
        if (!input->harness->controller().captureRunning() ||
            !SDL_JoystickFromInstanceID(input->pad->instanceId()))
            return G_SOURCE_CONTINUE;
        if (input->escapeIn) {
            // A real key event through GTK's dispatch, as the window system would deliver it.
            GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
            key->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(input->escapeIn))));
            key->key.keyval = GDK_KEY_Escape;
            key->key.send_event = TRUE;
            gdk_event_set_device(
                key, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
            gtk_main_do_event(key);
            gdk_event_free(key);
        } else {
            input->pad->setButton(5, true);
        }
        input->sent = true;
        return G_SOURCE_REMOVE;
    }
};

TEST_F(EditingTest, ACaptureFillsTheBindWithTheInputTextAndEscapeInEitherWindowCancelsIt) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 8, 1);
    ASSERT_TRUE(pad.attached());
    openEditor();
    const std::pair<const char*, GtkWindow*> inputs[] = {
        {"Escape in the editor", harness.shell().configWindow()},
        {"Escape in the main window", harness.shell().mainWindow()},
        {"button 5", nullptr}};
    for (const auto& [what, escapeIn] : inputs) {
        SCOPED_TRACE(what);
        const bool escape = escapeIn != nullptr;
        recordCapture();
        CaptureInput input{&harness, &pad, escapeIn};
        guint source = g_timeout_add(10, CaptureInput::tick, &input);
        harness.config("appconfig.scanJoystickInput_inBindNo_(0, 0); true");
        ASSERT_TRUE(pumpUntil([&] { return harness.config("window.__captured").isString(); }));
        if (!input.sent)
            g_source_remove(source);
        EXPECT_TRUE(input.sent);
        EXPECT_EQ(harness.config("window.__captured"), ScriptValue(escape ? "0|0|" : "0|0|btn 5"));
        // Ended by the input, not by the countdown running out.
        EXPECT_EQ(harness.config("window.__countdown.includes(' [1]')"), ScriptValue(false));
        ASSERT_TRUE(pumpUntil([&] { return !harness.controller().operations.busy(); }));
    }
    closeEditor();
    EXPECT_NE(savedText().find("\"btn 5\""), std::string::npos) << savedText();
    EXPECT_EQ(savedText().find("\"btn 0\""), std::string::npos) << savedText();
}

} // namespace
} // namespace padloom::test
