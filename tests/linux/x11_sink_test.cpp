// SPDX-License-Identifier: GPL-3.0-or-later
// What an X client receives from the X11 sink, on a private Xvfb server.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "engine/key_code_table.h"
#include "platform/linux/keyboard_keys.h"
#include "platform/linux/x11_sink.h"
#include "tests/linux/private_x_server.h"

#include <X11/XF86keysym.h>
#include <X11/Xutil.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace padloom {
namespace {

uint16_t keyCodeOfNumber(uint32_t number) {
    return static_cast<uint16_t>(keyCodeTable[number]);
}

constexpr uint16_t sentinelKeyCode = 111; // F12

// What a client receives: the event type with the keysym of a key (as XLookupString reads it,
// modifiers included) or the number of a button.
using Arrival = std::pair<int, unsigned long>;

Arrival arrival(XEvent& event) {
    if (event.type != KeyPress && event.type != KeyRelease) {
        return {event.type, event.xbutton.button};
    }
    char text[8];
    KeySym keysym = NoSymbol;
    XLookupString(&event.xkey, text, sizeof text, &keysym, nullptr);
    return {event.type, keysym};
}

// One server for the suite; each test has a new window with the focus and a new sink.
class X11SinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<test::PrivateXServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (!server_->running()) {
            GTEST_SKIP() << server_->failure();
        }
        window_ = std::make_unique<test::TestWindow>(server_->name());
        ASSERT_NE(window_->display(), nullptr);
        std::string whyNot;
        sink_ = X11Sink::open(server_->name().c_str(), &whyNot, DisplayOrigin{});
        ASSERT_NE(sink_, nullptr) << whyNot;
        // The pointer inside the window, so button events reach it.
        post(MouseEventType::mouseMoved, 300, 250);
        eventsBeforeSentinel();
    }

    void post(MouseEventType type, float x, float y, int64_t dx = 0, int64_t dy = 0) {
        sink_->postMouse(type, x, y, 0, 0, dx, dy);
    }

    // The server handles one client's requests in order, so once the sentinel key's release has
    // arrived, everything the sink posted before it has been handled. Returns the key and
    // button events that came before the sentinel.
    std::vector<XEvent> eventsBeforeSentinel() {
        sink_->postKeyboard(sentinelKeyCode, true, 0);
        sink_->postKeyboard(sentinelKeyCode, false, 0);
        std::vector<XEvent> events;
        XEvent event;
        while (window_->nextInputEvent(&event)) {
            if (event.type == KeyRelease && XLookupKeysym(&event.xkey, 0) == XK_F12) {
                return events;
            }
            if (event.type != KeyPress || XLookupKeysym(&event.xkey, 0) != XK_F12) {
                events.push_back(event);
            }
        }
        ADD_FAILURE() << "the sentinel key never arrived";
        return events;
    }
    std::vector<Arrival> arrivalsBeforeSentinel() {
        std::vector<Arrival> arrivals;
        for (XEvent& event : eventsBeforeSentinel()) {
            arrivals.push_back(arrival(event));
        }
        return arrivals;
    }

    // The first keysym of keycode in the server's map as it is now.
    KeySym serverKeysym(KeyCode keycode) {
        int perKeycode = 0;
        KeySym* syms = XGetKeyboardMapping(window_->display(), keycode, 1, &perKeycode);
        const KeySym first = syms && perKeycode > 0 ? syms[0] : NoSymbol;
        XFree(syms);
        return first;
    }

    void pointer(int* x, int* y) {
        eventsBeforeSentinel();
        window_->pointer(x, y);
    }

    static inline std::unique_ptr<test::PrivateXServer> server_;
    std::unique_ptr<test::TestWindow> window_;
    std::unique_ptr<X11Sink> sink_;
};

using Post = std::function<void(X11Sink&)>;

// A preset key number; auxiliary ones (from 303 on) are posted as media keys.
Post press(uint32_t number, bool down, std::optional<uint64_t> flags = 0) {
    return [=](X11Sink& sink) {
        if (number >= firstSystemKeyNumber) {
            sink.postSystemDefined(keyCodeTable[number] << 16 | (down ? 0x0A00 : 0));
        } else {
            sink.postKeyboard(keyCodeOfNumber(number), down, flags);
        }
    };
}
// The button number picks the button; the type says only press or release.
Post click(int32_t button) {
    return [=](X11Sink& sink) {
        sink.postMouse(MouseEventType::otherMouseDown, 300, 250, button, 1, 0, 0);
        sink.postMouse(MouseEventType::otherMouseUp, 300, 250, button, 1, 0, 0);
    };
}
// A press and its release (the release type is the press type's successor).
std::vector<Arrival> pressed(int type, unsigned long detail) {
    return {{type, detail}, {type + 1, detail}};
}

// Xvfb's synthetic pointer, like Xorg's, has 10 buttons: X buttons 11 and 12 (mouse buttons 6
// and 7) would be refused with an X error, which ends an Xlib program, so they are skipped.
// Wheel lines down are button 5, left button 6; the pixel rule is X11Wheel's.
TEST_F(X11SinkTest, KeysButtonsAndWheelArriveAsXEvents) {
    struct Row {
        const char* what;
        std::vector<Post> posts;
        std::vector<Arrival> expected;
    };
    const Post wheel = [](X11Sink& sink) { sink.postScroll(ScrollUnits::lines, -2, 1); };
    const int key = KeyPress, button = ButtonPress;
    // clang-format off
    const Row rows[] = {
        {"a", {press(4, true), press(4, false)}, pressed(key, XK_a)},
        {"up", {press(82, true), press(82, false)}, pressed(key, XK_Up)},
        {"volume up", {press(312, true), press(312, false)}, pressed(key, XF86XK_AudioRaiseVolume)},
        {"a with shift held is a capital",
         {press(225, true, std::nullopt), press(4, true, 0x20000), press(4, false, 0x20000), press(225, false, std::nullopt)},
         {{KeyPress, XK_Shift_L}, {KeyPress, XK_A}, {KeyRelease, XK_A}, {KeyRelease, XK_Shift_L}}},
        {"left", {click(0)}, pressed(button, 1)},
        {"right", {click(1)}, pressed(button, 3)},
        {"middle", {click(2)}, pressed(button, 2)},
        {"button 3", {click(3)}, pressed(button, 8)},
        {"button 4", {click(4)}, pressed(button, 9)},
        {"button 5", {click(5)}, pressed(button, 10)},
        {"buttons the pointer lacks, and no buttons", {click(6), click(7), click(8), click(-1)}, {}},
        {"wheel", {wheel}, {{button, 5}, {ButtonRelease, 5}, {button, 5}, {ButtonRelease, 5}, {button, 6}, {ButtonRelease, 6}}},
    };
    // clang-format on
    for (const Row& row : rows) {
        for (const Post& post : row.posts) {
            post(*sink_);
        }
        EXPECT_EQ(arrivalsBeforeSentinel(), row.expected) << row.what;
    }
}

TEST_F(X11SinkTest, AKeysymMissingFromTheMapIsLentASpareKeycodeUntilTheSinkGoes) {
    const KeyboardKey* missing = nullptr;
    for (const KeyboardKey& key : keyboardKeys()) {
        if (XKeysymToKeycode(window_->display(), key.keysym) == 0) {
            missing = &key;
            break;
        }
    }
    if (!missing) {
        GTEST_SKIP() << "this server's keyboard map has every keysym";
    }
    sink_->postKeyboard(missing->keyCode, true, 0);
    sink_->postKeyboard(missing->keyCode, false, 0);
    const std::vector<XEvent> events = eventsBeforeSentinel();
    ASSERT_EQ(events.size(), 2u) << missing->name;
    const KeyCode lent = static_cast<KeyCode>(events[0].xkey.keycode);
    EXPECT_EQ(serverKeysym(lent), missing->keysym) << missing->name;

    sink_.reset(); // closing its connection waits until the server has handled its requests
    EXPECT_EQ(serverKeysym(lent), static_cast<KeySym>(NoSymbol));
}

TEST_F(X11SinkTest, AKeyStillHeldIsReleasedWhenTheSinkGoes) {
    sink_->postKeyboard(keyCodeOfNumber(4), true, 0);
    eventsBeforeSentinel();
    sink_.reset();
    XEvent event;
    ASSERT_TRUE(window_->nextInputEvent(&event));
    EXPECT_EQ(arrival(event), (Arrival{KeyRelease, XK_a}));
}

// X positions are whole pixels; the location keeps the fraction, so that half-pixel steps add up.
TEST_F(X11SinkTest, ThePointerIsTheCursorLocationMovedByDisplayZerosOrigin) {
    struct Row {
        DisplayOrigin origin;
        float x, y;
        int rootX, rootY;
    };
    // the last origin: display 0 right of another display
    const Row rows[] = {{{0, 0}, 300, 250, 300, 250},
                        {{0, 0}, 1279, 0, 1279, 0},
                        {{0, 0}, 10.5f, 20.5f, 10, 20},
                        {{100, 50}, 10, 20, 110, 70},
                        {{640, 0}, -200.5f, 5, 439, 5}};
    for (const Row& row : rows) {
        sink_->setDisplayOrigin(row.origin);
        post(MouseEventType::mouseMoved, row.x, row.y, 1, 1);
        int x = 0, y = 0;
        pointer(&x, &y);
        EXPECT_EQ(x, row.rootX) << row.x << "," << row.y;
        EXPECT_EQ(y, row.rootY) << row.x << "," << row.y;
        EXPECT_EQ(sink_->cursorLocation().x, row.x);
        EXPECT_EQ(sink_->cursorLocation().y, row.y);
        // the location is the pointer's, wherever another client moved it
        XWarpPointer(window_->display(), None, DefaultRootWindow(window_->display()), 0, 0, 0, 0,
                     row.rootX - 7, row.rootY + 9);
        XSync(window_->display(), False);
        EXPECT_EQ(sink_->cursorLocation().x, row.rootX - 7 - row.origin.x);
        EXPECT_EQ(sink_->cursorLocation().y, row.rootY + 9 - row.origin.y);
    }
}

// With the cursor hidden (and the Minecraft fix on) the engine reads the location, asks whether
// the cursor is visible, and posts motion at that same location carrying only the deltas. A game
// that hides the cursor reads exactly those, so they must move the pointer. The cursor counts as
// hidden where its image is fully transparent.
TEST_F(X11SinkTest, MotionInPlaceOfACursorHiddenByATransparentImageMovesByItsDeltas) {
    window_->hideCursor();
    struct Row {
        bool askedVisibility;
        float postedX;
        int expectedX;
    };
    const Row rows[] = {
        {true, 200, 206},  // in place of the hidden cursor: relative motion
        {false, 200, 200}, // not asked (fix off): a warp to the posted position
        {true, 203, 203},  // asked, but posted elsewhere: a warp
    };
    for (const Row& row : rows) {
        post(MouseEventType::mouseMoved, 200, 200);
        eventsBeforeSentinel();
        sink_->cursorLocation();
        if (row.askedVisibility) {
            ASSERT_FALSE(sink_->cursorVisible());
        }
        post(MouseEventType::mouseMoved, row.postedX, 200, 6, 0);
        int x = 0, y = 0;
        pointer(&x, &y);
        EXPECT_EQ(x, row.expectedX) << "asked: " << row.askedVisibility << ", posted at " << row.postedX;
        EXPECT_EQ(y, 200);
    }
    post(MouseEventType::mouseMoved, 900, 900); // over the root window, whose cursor shows
    eventsBeforeSentinel();
    EXPECT_TRUE(sink_->cursorVisible());
}

} // namespace
} // namespace padloom
