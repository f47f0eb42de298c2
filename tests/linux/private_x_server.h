// SPDX-License-Identifier: GPL-3.0-or-later
// An Xvfb server of the test's own, so X tests neither need nor disturb a shared display: the
// pointer, the focus and the keyboard map are the test's alone.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <sys/types.h>

namespace padloom::test {

class PrivateXServer {
public:
    // Starts Xvfb with one 1280x1024 screen; running() is false when it could not be started.
    PrivateXServer();
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool running() const { return !name_.empty(); }
    // ":N"
    const std::string& name() const { return name_; }
    // Why running() is false.
    const std::string& failure() const { return failure_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string failure_;
};

// A mapped window of a separate client connection, with the input focus and every key, button
// and motion event selected, at (100, 100), 400 by 300 pixels.
class TestWindow {
public:
    explicit TestWindow(const std::string& displayName);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    Display* display() const { return display_; }
    // Makes the window's cursor fully transparent (as games hide it).
    void hideCursor();
    // The next key or button event, skipping others (keyboard map changes are applied); false
    // when none comes within a few seconds.
    bool nextInputEvent(XEvent* event);
    // The pointer in root coordinates.
    void pointer(int* x, int* y);

private:
    Display* display_ = nullptr;
    Window window_ = 0;
};

} // namespace padloom::test
