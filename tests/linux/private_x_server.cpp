// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/linux/private_x_server.h"

#include <X11/Xutil.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padloom::test {

constexpr int startTimeoutMs = 10000;
constexpr int eventTimeoutMs = 5000;

PrivateXServer::PrivateXServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure_ = std::strerror(errno);
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        // The server goes with the test even when the test dies without running its destructors.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The child keeps the write end open across exec for -displayfd. -noreset: the server
        // would otherwise reset (refusing connections for a moment) each time its last client goes.
        fcntl(fds[1], F_SETFD, 0);
        const std::string fd = std::to_string(fds[1]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd readable{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&readable, 1, startTimeoutMs) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        failure_ = "Xvfb did not start (is it installed?)";
        return;
    }
    name_ = ":" + number;
}

PrivateXServer::~PrivateXServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

TestWindow::TestWindow(const std::string& displayName) {
    display_ = XOpenDisplay(displayName.c_str());
    if (!display_) {
        return;
    }
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | StructureNotifyMask;
    window_ = XCreateWindow(display_, RootWindow(display_, screen), 100, 100, 400, 300, 0, CopyFromParent,
                            InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
    XMapRaised(display_, window_);
    XEvent event;
    do {
        XNextEvent(display_, &event);
    } while (event.type != MapNotify);
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
}

TestWindow::~TestWindow() {
    if (display_) {
        XCloseDisplay(display_);
    }
}

void TestWindow::hideCursor() {
    const Pixmap blank = XCreatePixmap(display_, window_, 1, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
    XDefineCursor(display_, window_, cursor);
    XFreePixmap(display_, blank);
    XSync(display_, False);
}

bool TestWindow::nextInputEvent(XEvent* event) {
    pollfd readable{ConnectionNumber(display_), POLLIN, 0};
    for (;;) {
        while (XPending(display_) > 0) {
            XNextEvent(display_, event);
            if (event->type == MappingNotify) {
                XRefreshKeyboardMapping(&event->xmapping);
            }
            if (event->type == KeyPress || event->type == KeyRelease || event->type == ButtonPress ||
                event->type == ButtonRelease) {
                return true;
            }
        }
        if (poll(&readable, 1, eventTimeoutMs) != 1) {
            return false;
        }
    }
}

void TestWindow::pointer(int* x, int* y) {
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, x, y, &windowX, &windowY, &mask);
}

} // namespace padloom::test
