// SPDX-License-Identifier: GPL-3.0-or-later
// What the uinput sink writes, decoded from the records it writes into a pipe, and the device
// itself where this machine lets a test make one.
#include "platform/linux/uinput_device.h"
#include "platform/linux/uinput_sink.h"
#include "tests/support/fixed_displays.h"

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace padloom {
namespace {

using Record = std::tuple<uint16_t, uint16_t, int32_t>; // type, code, value

constexpr Record syn{EV_SYN, SYN_REPORT, 0};

constexpr Record rel(uint16_t code, int32_t value) {
    return {EV_REL, code, value};
}

class PipeSink {
public:
    explicit PipeSink(std::optional<CursorPoint> start = CursorPoint{960, 540},
                      DisplaySource* displays = nullptr) {
        EXPECT_EQ(pipe2(fds_, O_CLOEXEC), 0);
        fcntl(fds_[0], F_SETFL, O_NONBLOCK);
        sink_ = std::make_unique<UinputSink>(std::make_unique<FdInputEventWriter>(fds_[1]), start, displays);
    }
    ~PipeSink() {
        sink_.reset();
        close(fds_[0]);
        close(fds_[1]);
    }
    UinputSink& operator*() { return *sink_; }
    UinputSink* operator->() { return sink_.get(); }
    int readEnd() const { return fds_[0]; }

    // Everything written since the last call.
    std::vector<Record> written() {
        std::vector<Record> records;
        input_event event;
        ssize_t got;
        while ((got = read(fds_[0], &event, sizeof event)) == sizeof event) {
            records.push_back({event.type, event.code, event.value});
        }
        EXPECT_LE(got, 0) << "a record cut short";
        return records;
    }

private:
    int fds_[2] = {-1, -1};
    std::unique_ptr<UinputSink> sink_;
};

using Post = std::function<void(UinputSink&)>;

Post key(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    return [=](UinputSink& sink) { sink.postKeyboard(keyCode, down, flags); };
}
Post auxiliary(int32_t data1) {
    return [=](UinputSink& sink) { sink.postSystemDefined(data1); };
}
Post scroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    return [=](UinputSink& sink) { sink.postScroll(units, vertical, horizontal); };
}

// Rows run in order on one sink: the pixel rows carry what earlier rows left pending.
TEST(UinputSink, EventsBecomeEvdevRecordsEndingInOneSynReport) {
    struct Row {
        const char* what;
        Post post;
        std::vector<Record> expected;
    };
    constexpr auto lines = ScrollUnits::lines;
    constexpr auto pixels = ScrollUnits::pixels;
    constexpr int32_t min = std::numeric_limits<int32_t>::min();
    const Row rows[] = {
        {"A", key(0, true, 0), {{EV_KEY, KEY_A, 1}, syn}},
        {"flags are the modifier keys' own business", key(0, false, 0x20000), {{EV_KEY, KEY_A, 0}, syn}},
        {"shift", key(56, true, std::nullopt), {{EV_KEY, KEY_LEFTSHIFT, 1}, syn}},
        {"right shift", key(60, false, std::nullopt), {{EV_KEY, KEY_RIGHTSHIFT, 0}, syn}},
        {"a code without a key writes nothing, not even a SYN_REPORT", key(0xFFFF, true, 0), {}},
        {"function", key(63, true, std::nullopt), {}},
        {"past the key table", key(273, true, 0), {}},
        {"volume up", auxiliary(0 << 16 | 0x0A00), {{EV_KEY, KEY_VOLUMEUP, 1}, syn}},
        {"volume up released", auxiliary(0 << 16), {{EV_KEY, KEY_VOLUMEUP, 0}, syn}},
        {"brightness down released", auxiliary(22 << 16), {{EV_KEY, KEY_BRIGHTNESSDOWN, 0}, syn}},
        {"auxiliary type -1", auxiliary(static_cast<int32_t>(0xFFFF0A00)), {}},
        {"auxiliary type 2, a gap", auxiliary(2 << 16 | 0x0A00), {}},
        {"auxiliary type 23, past the table", auxiliary(23 << 16 | 0x0A00), {}},
        {"a line up", scroll(lines, 1, 0), {rel(REL_WHEEL, 1), rel(REL_WHEEL_HI_RES, 120), syn}},
        {"two lines down", scroll(lines, -2, 0), {rel(REL_WHEEL, -2), rel(REL_WHEEL_HI_RES, -240), syn}},
        // a positive horizontal amount scrolls left, which evdev counts negative
        {"a line left", scroll(lines, 0, 1), {rel(REL_HWHEEL, -1), rel(REL_HWHEEL_HI_RES, -120), syn}},
        {"no lines", scroll(lines, 0, 0), {}},
        {"the most lines", scroll(lines, min, 0), {rel(REL_WHEEL, min), rel(REL_WHEEL_HI_RES, min), syn}},
        {"6 pixels", scroll(pixels, 6, 0), {rel(REL_WHEEL_HI_RES, 72), syn}},
        {"144 crosses 120", scroll(pixels, 6, 0), {rel(REL_WHEEL_HI_RES, 72), rel(REL_WHEEL, 1), syn}},
        {"216", scroll(pixels, 6, 0), {rel(REL_WHEEL_HI_RES, 72), syn}},
        {"back to 144, no click", scroll(pixels, -6, 0), {rel(REL_WHEEL_HI_RES, -72), syn}},
        // 24 pending (216 sent, one click of it): -240 leaves -216, worth one click down
        {"-216", scroll(pixels, -20, 0), {rel(REL_WHEEL_HI_RES, -240), rel(REL_WHEEL, -1), syn}},
        {"-120 reached", scroll(pixels, -2, 0), {rel(REL_WHEEL_HI_RES, -24), rel(REL_WHEEL, -1), syn}},
        {"10 pixels left", scroll(pixels, 0, 10), {rel(REL_HWHEEL_HI_RES, -120), rel(REL_HWHEEL, -1), syn}},
        {"a rate below one pixel posts a zero scroll", scroll(pixels, 0, 0), {}},
    };
    PipeSink sink;
    for (const Row& row : rows) {
        row.post(*sink);
        EXPECT_EQ(sink.written(), row.expected) << row.what;
    }
}

// The button number picks the button; the type says only press or release.
TEST(UinputSink, MouseButtonsPressTheirEvdevButtons) {
    const uint16_t buttons[] = {BTN_LEFT,  BTN_RIGHT,   BTN_MIDDLE, BTN_SIDE,
                                BTN_EXTRA, BTN_FORWARD, BTN_BACK,   BTN_TASK};
    PipeSink sink;
    for (int32_t button : {0, 1, 2, 3, 4, 5, 6, 7, -1, 8, 1000}) {
        sink->postMouse(MouseEventType::otherMouseDown, 5, 5, button, 1, 0, 0);
        sink->postMouse(MouseEventType::otherMouseUp, 5, 5, button, 1, 0, 0);
        const uint16_t code = button >= 0 && button < 8 ? buttons[button] : 0;
        const std::vector<Record> expected = {{EV_KEY, code, 1}, syn, {EV_KEY, code, 0}, syn};
        EXPECT_EQ(sink.written(), code ? expected : std::vector<Record>{}) << "button " << button;
    }
}

TEST(UinputSink, MotionSendsTheDeltasAndTracksThePostedPosition) {
    struct Row {
        MouseEventType type;
        float x, y;
        int64_t dx, dy;
        std::vector<Record> expected;
    };
    const int64_t huge = int64_t{1} << 40;
    using limits = std::numeric_limits<int32_t>;
    using enum MouseEventType;
    const Row rows[] = {
        {mouseMoved, 966, 540, 6, 0, {rel(REL_X, 6), syn}},
        {mouseMoved, 966, 537.5, 0, -2, {rel(REL_Y, -2), syn}},
        {leftMouseDragged, 970, 541, 4, 4, {rel(REL_X, 4), rel(REL_Y, 4), syn}},
        {otherMouseDragged, 1919, 541, 6, 0, {rel(REL_X, 6), syn}},
        {mouseMoved, 1919.5, 541, 0, 0, {}}, // a sub-pixel step moves only the tracked cursor
        {mouseMoved, 0, 0, huge, -huge, {rel(REL_X, limits::max()), rel(REL_Y, limits::min()), syn}},
    };
    PipeSink sink;
    EXPECT_EQ(sink->cursorLocation().x, 960);
    EXPECT_EQ(sink->cursorLocation().y, 540);
    for (const Row& row : rows) {
        sink->postMouse(row.type, row.x, row.y, 0, 0, row.dx, row.dy);
        EXPECT_EQ(sink.written(), row.expected) << "to " << row.x << "," << row.y;
        EXPECT_EQ(sink->cursorLocation().x, row.x);
        EXPECT_EQ(sink->cursorLocation().y, row.y);
    }
    EXPECT_TRUE(sink->cursorVisible());
}

// A sink made before any display is known (the app makes it before SDL's video starts) must
// still start in the middle of display 0, not in its corner.
TEST(UinputSink, WithoutAStartTheCursorBeginsAtTheCentreOfDisplayZeroWhenFirstAsked) {
    struct Row {
        const char* name;
        MouseEventType firstEvent; // posted before the first question
        CursorPoint expected;
    };
    const Row rows[] = {
        {"nothing before", MouseEventType::leftMouseUp, {960, 540}},
        {"a button before", MouseEventType::leftMouseDown, {960, 540}},
        {"motion before", MouseEventType::mouseMoved, {5, 6}},
    };
    for (const Row& row : rows) {
        test::FixedDisplays displays{{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
        PipeSink sink(std::nullopt, &displays);
        if (row.firstEvent != MouseEventType::leftMouseUp) {
            sink->postMouse(row.firstEvent, 5, 6, 0, 1, 1, 1);
        }
        EXPECT_EQ(sink->cursorLocation().x, row.expected.x) << row.name;
        EXPECT_EQ(sink->cursorLocation().y, row.expected.y) << row.name;
    }
}

// The polling thread and the motion tick post at once: every frame must reach the device whole.
TEST(UinputSink, FramesFromTwoThreadsStayWhole) {
    PipeSink sink;
    constexpr int perThread = 2000;
    ASSERT_GE(fcntl(sink.readEnd(), F_SETPIPE_SZ, 1 << 20), int{perThread * 5 * sizeof(input_event)})
        << "the pipe holds every record, so that no writer waits for a reader";
    std::thread keys([&] {
        for (int i = 0; i < perThread; ++i) {
            sink->postKeyboard(0, i % 2 == 0, 0); // KEY_A, SYN: 2 records
        }
    });
    for (int i = 0; i < perThread; ++i) {
        sink->postMouse(MouseEventType::mouseMoved, 0, 0, 0, 0, 1, 1); // REL_X, REL_Y, SYN: 3 records
    }
    keys.join();
    const std::vector<Record> records = sink.written();
    ASSERT_EQ(records.size(), size_t{perThread} * 5);
    const std::vector<Record> motion{rel(REL_X, 1), rel(REL_Y, 1), syn};
    int frames = 0;
    for (size_t at = 0; at < records.size(); ++frames) {
        const std::vector<Record> frame =
            std::get<0>(records[at]) == EV_KEY ? std::vector{records[at], syn} : motion;
        ASSERT_LE(at + frame.size(), records.size());
        ASSERT_TRUE(std::equal(frame.begin(), frame.end(), records.begin() + at)) << "at " << at;
        at += frame.size();
    }
    EXPECT_EQ(frames, 2 * perThread);
}

// Root (which runs the tests) may write anywhere, so the permission case is checked on its text.
TEST(UinputDevice, NoPermissionTellsHowToInstallTheUdevRule) {
    const std::string reason = uinputUnavailableReason("/dev/uinput", EACCES, true);
    for (const char* mention : {"No permission to write /dev/uinput", "sudo cmake --install build",
                                "60-padloom-uinput.rules", "log out and in again"}) {
        EXPECT_NE(reason.find(mention), std::string::npos) << reason;
    }
}

TEST(UinputDevice, TheDeviceOffersEveryKeyButtonAndAxis) {
    if (access("/dev/uinput", W_OK) != 0) {
        GTEST_SKIP() << "/dev/uinput cannot be written here (" << std::strerror(errno)
                     << "), so no virtual device can be made";
    }
    std::string whyNot;
    std::unique_ptr<UinputDevice> device = UinputDevice::create("/dev/uinput", &whyNot);
    ASSERT_NE(device, nullptr) << whyNot;
    const int fd = open(device->devnode().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << device->devnode();
    libevdev* evdev = nullptr;
    ASSERT_EQ(libevdev_new_from_fd(fd, &evdev), 0);
    EXPECT_STREQ(libevdev_get_name(evdev), "Padloom virtual input");
    for (unsigned code :
         {KEY_A, KEY_SPACE, KEY_LEFTSHIFT, KEY_F24, KEY_VOLUMEUP, KEY_EJECTCD, BTN_LEFT, BTN_TASK}) {
        EXPECT_TRUE(libevdev_has_event_code(evdev, EV_KEY, code)) << code;
    }
    for (unsigned code : {REL_X, REL_Y, REL_WHEEL, REL_HWHEEL, REL_WHEEL_HI_RES, REL_HWHEEL_HI_RES}) {
        EXPECT_TRUE(libevdev_has_event_code(evdev, EV_REL, code)) << code;
    }
    libevdev_free(evdev);
    close(fd);
}

} // namespace
} // namespace padloom
