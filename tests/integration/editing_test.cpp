// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a preset in the configuration window: saving on close, capturing a bind's input, and
// the names and live view of the controls of a pad that SDL maps as a game controller.
#include "preset/output_kinds.h"
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

class Editing : public PadTest {
protected:
    void SetUp() override {
        PadTest::SetUp();
        if (!IsSkipped()) {
            ASSERT_TRUE(harness.openEditor());
            ASSERT_EQ(harness.config("$('#name').val()"), ScriptValue("Pad"));
            ASSERT_STREQ(gtk_window_get_title(harness.shell().configWindow()), "Edit “Pad”");
        }
    }
};

// First by the window's close button, then with Ctrl+W in the page.
TEST_F(Editing, ClosingItSavesAPresetThatLoads) {
    for (const std::string how : {"", "document.activeElement.dispatchEvent(new KeyboardEvent('keydown', "
                                      "{key: 'w', ctrlKey: true, bubbles: true}))"}) {
        SCOPED_TRACE(how.empty() ? "close button" : "Ctrl+W");
        ASSERT_TRUE(how.empty() || harness.openEditor());
        const std::string name = how.empty() ? "Renamed \"quoted\" \\ 100%" : "Again";
        harness.config("$('#name').val(" + scriptString(name) + ").trigger('input'); " +
                       "$('#tag').val('new tag').trigger('input'); true");
        // Programs that switch it on: trimmed, without empty or repeated ones.
        for (const char* program : {" steam_app_* ", "", "Mine\"craft*", "steam_app_*"}) {
            harness.config("$('.add-program').click(); $('input.program').last().val(" +
                           scriptString(program) + "); true");
        }
        EXPECT_EQ(harness.config("$('#programs').hasClass('unfollowable')"), ScriptValue(false));
        EXPECT_EQ(harness.config("$('#programs > .following').text()"),
                  ScriptValue("Follows the focused window of this X11 session."));
        ASSERT_TRUE(harness.closeEditor(how));
        const std::string saved = harness.presetFileText("Pad.txt");
        VantryDocument document;
        ASSERT_TRUE(document.load((harness.presetFolder() / "Pad.txt").c_str())) << saved;
        EXPECT_EQ(document.name, name);
        EXPECT_EQ(document.tag, "new tag");
        EXPECT_EQ(document.activateFor, (std::vector<std::string>{"steam_app_*", "Mine\"craft*"}));
        EXPECT_NE(saved.find("\"btn 0\""), std::string::npos) << saved;
        EXPECT_TRUE(pumpUntil([&] { return harness.listedPresetNames() == std::vector<std::string>{name}; }));
        EXPECT_EQ(harness.main("$('.preset').attr('title')"), ScriptValue(name + "\nnew tag\nPad.txt"));
    }
    // Closing the editor neither asks nor quits.
    EXPECT_TRUE(harness.dialogs.confirms.empty());
    EXPECT_EQ(harness.quitCount, 0);
}

TEST_F(Editing, NumbersThePresetCannotHoldGetANote) {
    // The bind's output becomes mouse motion, so it has a speed field (6).
    harness.config("$('select.output-kind').first().val('mou').trigger('change'); true");
    const std::tuple<std::string, const char*, const char*, bool> cases[] = {
        // field, typed, in the preset text afterwards, refused
        {"index", "99999999999", "\"btn 0\"", true}, {"index", "-1", "\"btn 0\"", true},
        {"index", "2.5", "\"btn 0\"", true},         {"index", "2147483647", "\"btn 2147483647\"", false},
        {"amount", "1e999", "\"mou 0 + 6\"", true},  {"amount", "-2", "\"mou 0 + 6\"", true},
        {"amount", "2.5", "\"mou 0 + 2.5\"", false},
    };
    for (const auto& [field, typed, saved, refused] : cases) {
        SCOPED_TRACE(field + " " + typed);
        const std::string input = "$('input." + field + "').first()";
        harness.config("$('.field-problem').remove(); " + input + ".val('" + typed + "').trigger('change')");
        const std::string note = harness.config(input + ".siblings('.field-problem').text()").text();
        EXPECT_EQ(!note.empty(), refused) << note;
        const std::string text = harness.config("generatePresetString()").text();
        EXPECT_NE(text.find(saved), std::string::npos) << text;
    }
}

// The editor's kinds of output are the reader's (gui/output_kinds.js is made from its table): each shows
// a sign and a speed as its texts carry them, switches at the mark unless it sets a rate, reads back.
TEST_F(Editing, OffersTheReadersKindsOfOutputAsTheirRowsSay) {
    const std::string output = "$('.output').first()";
    for (const OutputKindRow& row : outputKindRows) {
        harness.config(output + ".find('select.output-kind').val('" + row.word +
                       "').trigger('change'); true");
        EXPECT_EQ(harness
                      .config(output + ".find('option:selected').first().text() + ' ' + "
                                       "$('select.sign, input.amount').length + ' ' + switches($('.bind'))")
                      .text(),
                  row.label + (" " + std::to_string(row.hasSign + row.hasAmount)) +
                      (row.isRate ? " false" : " true"));
        const std::string text = harness.config("outputText(readOutput(" + output + "))").text();
        EXPECT_EQ(outputFromText(text.c_str()).kind, row.kind) << text;
    }
}

TEST_F(Editing, CaptureTakesTheInputOrEscapeFromEitherWindow) {
    VirtualJoystick& pad = harness.plug(2, 8, 1);
    // Records the capture's report to the page and every countdown step it shows.
    harness.config("window.__countdown = []; window.__select = window.selectInputInBind;"
                   "window.selectInputInBind = function (j, b, t) { window.__captured = [j, b, t].join('|');"
                   "  return window.__select.apply(this, arguments); };"
                   "new MutationObserver(() => window.__countdown.push($('#timeOut').text()))"
                   "  .observe(document.getElementById('timeOut'), { childList: true, characterData: true, "
                   "subtree: true }); true");
    const std::pair<const char*, GtkWindow*> inputs[] = {
        {"Escape in the editor", harness.shell().configWindow()},
        {"Escape in the main window", harness.shell().mainWindow()},
        {"button 5", nullptr}};
    for (const auto& [what, escapeIn] : inputs) {
        SCOPED_TRACE(what);
        harness.config("window.__captured = null; window.__countdown = []; $('#timeOut').text(''); true");
        // Once the capture listens to the pad (it has opened the device, after discarding what was
        // queued before), presses button 5 or Escape; runs inside the capture's own waits.
        bool sent = false;
        const auto input = everyTick([&, escapeIn = escapeIn] {
            if (!harness.controller().captureListening()) {
                return false;
            }
            if (escapeIn) {
                // A real key event through GTK's dispatch, as the window system would deliver it.
                GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
                key->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(escapeIn))));
                key->key.keyval = GDK_KEY_Escape;
                key->key.send_event = TRUE;
                gdk_event_set_device(
                    key, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
                gtk_main_do_event(key);
                gdk_event_free(key);
            } else {
                pad.setButton(5, true);
            }
            return sent = true;
        });
        harness.config("appconfig.scanJoystickInput_inBindNo_(0, 0); true");
        ASSERT_TRUE(pumpUntil([&] { return harness.config("window.__captured").isString(); }));
        EXPECT_TRUE(sent);
        EXPECT_EQ(harness.config("window.__captured"), ScriptValue(escapeIn ? "0|0|" : "0|0|btn 5"));
        // Ended by the input, not by the countdown running out.
        EXPECT_EQ(harness.config("window.__countdown.includes(' [1]')"), ScriptValue(false));
        ASSERT_TRUE(pumpUntil([&] { return !harness.controller().operations().busy(); }));
    }
    ASSERT_TRUE(harness.closeEditor());
    const std::string saved = harness.presetFileText("Pad.txt");
    EXPECT_NE(saved.find("\"btn 5\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("\"btn 0\""), std::string::npos) << saved;
}

// SDL's game-controller layer for its length, and with it the mappings added meanwhile.
struct GameControllerHold {
    GameControllerHold() { SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); }
    ~GameControllerHold() { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }
};

// Plugged in while the editor is open: an Xbox 360 pad as Linux's driver lays it out, the D-pad on
// hat 0 (SDL would map a virtual pad by its counts, the D-pad on buttons).
TEST_F(Editing, NamesLightsAndFindsThePadsControls) {
    GameControllerHold mappings;
    VirtualJoystick& pad = harness.plug(4, 12, 1, 0x045e, 0x028e);
    char guid[33] = "";
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(pad.deviceIndex()), guid, sizeof guid);
    SDL_GameControllerAddMapping((std::string(guid) +
                                  ",Xbox 360 pad,a:b0,b:b1,x:b2,y:b3,back:b6,guide:b8,start:b7,leftstick:b9,"
                                  "rightstick:b10,leftshoulder:b4,rightshoulder:b5,dpup:h0.1,dpdown:h0.4,"
                                  "dpleft:h0.8,dpright:h0.2,leftx:a0,lefty:a1,rightx:a2,righty:a3,")
                                     .c_str());
    const auto expectShows = [&](const std::string& expression, const std::string& text) {
        EXPECT_TRUE(pumpUntil([&] { return harness.config(expression).text() == text; }))
            << expression << " shows " << harness.config(expression).text() << ", not " << text;
    };
    expectShows("$('.bind .live').first().text()", "· A");
    pad.setButton(0, true);
    expectShows("$('.bind.live-on').length + ' ' + $('.live-control').text()", "1 Button 0 · A");
    pad.setButton(0, false);
    expectShows("String($('.bind.live-on').length)", "0");

    // A control without binds: the editor offers one, which the offer adds, lit while it is held.
    pad.setButton(3, true);
    expectShows("$('.add-found:visible').text()", "Add a bind for Button 3 · Y");
    harness.config("$('.add-found').click(); true");
    EXPECT_EQ(harness.config("$('.bind').length + ' ' + $('.bind.live-on').length"), ScriptValue("2 1"));

    // The new bind's row names the control its input is switched to, and its live parts at rest
    // show nothing; the axis last: an axis row's meter follows the stick half.
    const std::string last = "$('.bind').last()";
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        // the input's kind, number and direction; the row's text
        {"hat", "0", "U", "· D-pad up"},
        {"axi", "1", "-", "· Left stick up"},
    };
    for (const auto& [kind, index, direction, shown] : rows) {
        harness.config(last + ".find('select.input-kind').val('" + kind + "').trigger('change');" + last +
                       ".find('input.index').val('" + index + "').trigger('change');" + last +
                       ".find('select.direction').val('" + direction + "').trigger('change'); true");
        EXPECT_EQ(harness.config(last + ".find('.live').text()"), ScriptValue(shown)) << kind;
    }
    pad.setAxis(1, -32767);
    expectShows(last + ".find('.live-meter .fill')[0].style.width + ' ' + " + last + ".hasClass('live-on')",
                "100% true");

    // A capture owns the joystick events: the live view rests and clears what it showed as the
    // capture is asked for (Escape, queued at once, ends the capture as it starts).
    harness.controller().scanJoystickInput(0, 0);
    harness.controller().escapeCapture();
    EXPECT_EQ(harness.config("String($('.bind.live-on').length)"), ScriptValue("0"));
    ASSERT_TRUE(pumpUntil([&] { return !harness.controller().captureRunning(); }));
}

} // namespace
} // namespace padloom::test
