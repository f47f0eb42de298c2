// SPDX-License-Identifier: GPL-3.0-or-later
// The real GTK panels: what they show and how their buttons answer. After a panel has been
// answered, the main window still lays itself out: when the window manager resizes it, the menu
// bar, the page and the label follow (checked on a display of its own with openbox, the window
// manager under which panels once left the window frozen).
// Before Xlib's macros (None) and before padloom::Window, which Xlib's Window must not meet.
#include <gtest/gtest.h>

#include "tests/linux/private_x_server.h"

#include "platform/gtk/shell/dialog_text.h"
#include "platform/gtk/shell/gtk_dialogs.h"
#include "tests/integration/shell_harness.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gdk/gdkx.h>
#include <optional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padloom::test {
namespace {

using Panels = HarnessTest;

// A quoted name of 2,000 characters is shortened in the middle, so the panel stays narrow.
TEST_F(Panels, ShowTheMessageAndAnswerByButton) {
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

TEST_F(Panels, DismissingAnswersTheOpenOnesAsNo) {
    GtkDialogs dialogs;
    const auto dismissing = everyTick([&] { return dialogs.dismissAll(), false; });
    EXPECT_FALSE(dialogs.confirm("Quit?"));
}

TEST(DialogText, ShortensLongQuotedPartsInTheMiddle) {
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

// openbox on the display, until destroyed; running() once it manages the screen.
class Openbox {
public:
    explicit Openbox(const std::string& display) : pid_(fork()) {
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            setenv("DISPLAY", display.c_str(), 1);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        Display* x = XOpenDisplay(display.c_str());
        const Atom manager = XInternAtom(x, "WM_S0", False);
        for (int i = 0; i < 500 && !running_ && waitpid(pid_, nullptr, WNOHANG) == 0; ++i, usleep(10000)) {
            running_ = XGetSelectionOwner(x, manager) != None;
        }
        XCloseDisplay(x);
    }
    ~Openbox() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool running() const { return running_; }

private:
    pid_t pid_;
    bool running_ = false;
};

// Asks the window manager to resize the window, as a pager or the user's drag does.
void resizeByWindowManager(GtkWindow* window, int width, int height) {
    GdkWindow* gdk = gtk_widget_get_window(GTK_WIDGET(window));
    Display* x = GDK_WINDOW_XDISPLAY(gdk);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = GDK_WINDOW_XID(gdk);
    event.xclient.message_type = XInternAtom(x, "_NET_MOVERESIZE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (1 << 10) | (1 << 11) | (2 << 12); // width, height; from a pager
    event.xclient.data.l[3] = width;
    event.xclient.data.l[4] = height;
    XSendEvent(x, DefaultRootWindow(x), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(x);
}

// Set in the child process that runs the case on the private display.
constexpr char onOwnDisplay[] = "PADLOOM_TEST_ON_OWN_DISPLAY";

// Runs the current case again, alone, in a child process of this program on the display.
ProgramOutcome runCaseOn(const std::string& display) {
    const ::testing::TestInfo& self = *::testing::UnitTest::GetInstance()->current_test_info();
    return runProgram({"env", "-u", "WAYLAND_DISPLAY", "DISPLAY=" + display, std::string(onOwnDisplay) + "=1",
                       std::filesystem::read_symlink("/proc/self/exe").string(),
                       "--gtest_filter=" + std::string(self.test_suite_name()) + "." + self.name()});
}

// GTK keeps the display it opened first for the whole process, so the case runs in a child
// process, on an X server with openbox of its own: the cases that run after it in this process
// keep their display, whatever the order.
TEST(WindowLayout, TheMainWindowFollowsAResizeAfterAPanel) {
    if (std::getenv(onOwnDisplay) == nullptr) {
        PrivateXServer server;
        if (!server.running()) {
            GTEST_SKIP() << server.failure();
        }
        Openbox openbox(server.name());
        if (!openbox.running()) {
            GTEST_SKIP() << "openbox did not start (is it installed?)";
        }
        const ProgramOutcome child = runCaseOn(server.name());
        if (child.exit == 0 && child.out.find("[  SKIPPED ]") != std::string::npos) {
            GTEST_SKIP() << child.out;
        }
        EXPECT_EQ(child.exit, 0) << child.out << child.err;
        EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << child.out;
        return;
    }
    ASSERT_TRUE(ShellHarness::displayAvailable());
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad"));
    harness.useRealDialogs = true;
    harness.start();
    GtkWidget* whichJoysticks = harness.shell().menu().item(&MenuOutlets::whichJoysticks_mi).widget();
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        // the panel, what shows it, the button clicked
        {"the page's confirm", [&] { harness.main("$('.preset .delete').first().click(); true"); }, "No"},
        {"an alert of the menu", [&] { gtk_menu_item_activate(GTK_MENU_ITEM(whichJoysticks)); }, "_OK"},
    };
    GtkWidget* page = harness.shell().mainPage().widget();
    int width = 520;
    for (const auto& [panel, show, click] : cases) {
        SCOPED_TRACE(panel);
        PanelReader reader{click};
        show();
        ASSERT_TRUE(pumpUntil([&] { return reader.seen; }));
        ASSERT_TRUE(pumpUntil([&] { return !harness.controller().operations().busy(); }));
        width += 80;
        resizeByWindowManager(harness.shell().mainWindow(), width, 500);
        EXPECT_TRUE(
            pumpUntil([&] { return gtk_widget_get_allocated_width(page) == width; }, std::chrono::seconds(5)))
            << gtk_widget_get_allocated_width(page);
        EXPECT_TRUE(pumpUntil([&] { return harness.main("window.innerWidth") == ScriptValue(double(width)); },
                              std::chrono::seconds(5)))
            << harness.main("window.innerWidth").text();
    }
    EXPECT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
}

} // namespace
} // namespace padloom::test
