// What an X client receives from the X11 sink, on a private Xvfb server.
// GoogleTest comes before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "engine/key_code_table.h"
#include "platform/linux/keyboard_keys.h"
#include "platform/linux/x11_sink.h"
#include "tests/linux/private_x_server.h"

#include <X11/XF86keysym.h>
#include <X11/Xutil.h>

#include <memory>
#include <vector>

namespace padloom {
namespace {

uint16_t keyCodeOfNumber(uint32_t number) {
    return static_cast<uint16_t>(keyCodeTable[number]);
}

constexpr uint16_t sentinelKeyCode = 111; // F12

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
        sink_ = openSink({});
        ASSERT_NE(sink_, nullptr);
        // The pointer inside the window, so button events reach it.
        post(MouseEventType::mouseMoved, 300, 250);
        eventsBeforeSentinel();
    }

    std::unique_ptr<X11Sink> openSink(DisplayOrigin origin) {
        std::string whyNot;
        auto sink = X11Sink::open(server_->name().c_str(), &whyNot, origin);
        EXPECT_NE(sink, nullptr) << whyNot;
        return sink;
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
            if (XLookupKeysym(&event.xkey, 0) == XK_F12 &&
                (event.type == KeyPress || event.type == KeyRelease)) {
                if (event.type == KeyRelease) {
                    return events;
                }
                continue;
            }
            events.push_back(event);
        }
        ADD_FAILURE() << "the sentinel key never arrived";
        return events;
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

// Auxiliary key numbers (from 303 on) arrive as media keys.
TEST_F(X11SinkTest, KeysOfTheKeyTableArriveWithTheirKeysyms) {
    struct Row {
        uint32_t number;
        KeySym keysym;
    };
    const Row rows[] = {{4, XK_a}, {82, XK_Up}, {312, XF86XK_AudioRaiseVolume}};
    for (const Row& row : rows) {
        for (const bool down : {true, false}) {
            if (row.number >= firstSystemKeyNumber) {
                sink_->postSystemDefined(keyCodeTable[row.number] << 16 | (down ? 0x0A00 : 0));
            } else {
                sink_->postKeyboard(keyCodeOfNumber(row.number), down, 0);
            }
        }
        const std::vector<XEvent> events = eventsBeforeSentinel();
        ASSERT_EQ(events.size(), 2u) << "key number " << row.number;
        EXPECT_EQ(events[0].type, KeyPress);
        EXPECT_EQ(events[1].type, KeyRelease);
        EXPECT_EQ(XLookupKeysym(const_cast<XKeyEvent*>(&events[0].xkey), 0), row.keysym)
            << "key number " << row.number;
        EXPECT_EQ(events[1].xkey.keycode, events[0].xkey.keycode);
    }
}

TEST_F(X11SinkTest, ALetterPressedWithShiftHeldIsACapital) {
    sink_->postKeyboard(keyCodeOfNumber(225), true, std::nullopt); // left shift
    sink_->postKeyboard(keyCodeOfNumber(4), true, 0x20000);
    sink_->postKeyboard(keyCodeOfNumber(4), false, 0x20000);
    sink_->postKeyboard(keyCodeOfNumber(225), false, std::nullopt);
    std::vector<XEvent> events = eventsBeforeSentinel();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(XLookupKeysym(&events[0].xkey, 0), XK_Shift_L);
    ASSERT_EQ(events[1].type, KeyPress);
    EXPECT_TRUE(events[1].xkey.state & ShiftMask);
    char text[8] = {};
    KeySym keysym = 0;
    ASSERT_EQ(XLookupString(&events[1].xkey, text, sizeof text, &keysym, nullptr), 1);
    EXPECT_STREQ(text, "A");
    EXPECT_EQ(events[3].type, KeyRelease);
    EXPECT_EQ(XLookupKeysym(&events[3].xkey, 0), XK_Shift_L);
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
    EXPECT_EQ(event.type, KeyRelease);
    EXPECT_EQ(XLookupKeysym(&event.xkey, 0), XK_a);
}

TEST_F(X11SinkTest, ThePointerIsTheCursorLocationMovedByDisplayZerosOrigin) {
    struct Row {
        DisplayOrigin origin;
        float x, y;
        int rootX, rootY;
    };
    const Row rows[] = {
        {{0, 0}, 300, 250, 300, 250},
        {{0, 0}, 1279, 0, 1279, 0},
        {{100, 50}, 10, 20, 110, 70},
        {{640, 0}, -200, 5, 440, 5}, // a display left of display 0
    };
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
        EXPECT_EQ(sink_->cursorLocation().x, row.x - 7);
        EXPECT_EQ(sink_->cursorLocation().y, row.y + 9);
    }
}

// X positions are whole pixels: half-pixel steps must still add up to motion.
TEST_F(X11SinkTest, StepsSmallerThanAPixelAddUp) {
    post(MouseEventType::mouseMoved, 200, 100);
    for (int step = 0; step < 4; ++step) {
        const CursorPoint at = sink_->cursorLocation();
        post(MouseEventType::mouseMoved, at.x + 0.5f, at.y - 0.5f);
    }
    int x = 0, y = 0;
    pointer(&x, &y);
    EXPECT_EQ(x, 202);
    EXPECT_EQ(y, 98);
}

// Xvfb's synthetic pointer, like Xorg's, has 10 buttons: X buttons 11 and 12 (mouse buttons 6
// and 7) would be refused with an X error, which ends an Xlib program, so they are skipped (X button 0).
TEST_F(X11SinkTest, MouseButtonsArriveAsXButtonsAndThoseThePointerLacksAreSkipped) {
    using enum MouseEventType;
    struct Row {
        int32_t button;
        MouseEventType down, up;
        unsigned xButton;
    };
    const Row rows[] = {
        {0, leftMouseDown, leftMouseUp, 1},   {1, rightMouseDown, rightMouseUp, 3},
        {2, otherMouseDown, otherMouseUp, 2}, {3, otherMouseDown, otherMouseUp, 8},
        {4, otherMouseDown, otherMouseUp, 9}, {5, otherMouseDown, otherMouseUp, 10},
        {6, otherMouseDown, otherMouseUp, 0}, {7, otherMouseDown, otherMouseUp, 0},
        {8, otherMouseDown, otherMouseUp, 0}, {-1, otherMouseDown, otherMouseUp, 0},
    };
    for (const Row& row : rows) {
        sink_->postMouse(row.down, 300, 250, row.button, 1, 0, 0);
        sink_->postMouse(row.up, 300, 250, row.button, 1, 0, 0);
        const std::vector<XEvent> events = eventsBeforeSentinel();
        ASSERT_EQ(events.size(), row.xButton ? 2u : 0u) << "button " << row.button;
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].type, i == 0 ? ButtonPress : ButtonRelease);
            EXPECT_EQ(events[i].xbutton.button, row.xButton) << "button " << row.button;
        }
    }
}

// Lines down are button 5, left button 6; the pixel rule is X11Wheel's.
TEST_F(X11SinkTest, ScrollArrivesAsWheelButtonClicks) {
    sink_->postScroll(ScrollUnits::lines, -2, 1);
    const std::vector<XEvent> events = eventsBeforeSentinel();
    const unsigned clicks[] = {5, 5, 6};
    ASSERT_EQ(events.size(), 6u);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].type, i % 2 == 0 ? ButtonPress : ButtonRelease);
        EXPECT_EQ(events[i].xbutton.button, clicks[i / 2]);
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
