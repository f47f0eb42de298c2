// SPDX-License-Identifier: GPL-3.0-or-later
// Requests from outside the app (padloomctl, padloom --activate, the application actions), each
// answered once, in its own answer, when it has run.
//
// A request that comes while the app is starting waits until the preset list has been filled.
// Then it runs as the controller's operation, after the one in progress (a page's call, another
// request): being busy is no reason to refuse. While a panel or a joystick detection waits for
// the user, a request is refused instead, and so is one still waiting for its turn when a panel
// or a detection opens. A request the app did not run before it quit is answered so.
#pragma once

#include "app/desktop/preset_switching.h"
#include "app/outcome.h"
#include "app/ui/main_loop.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padloom {

class RemoteControl;

struct RemoteAnswer {
    Outcome<> done;
    std::string activeFile; // the active preset afterwards, relative to the preset folder; "" for none
};
using RemoteAnswerFn = std::function<void(const RemoteAnswer&)>;

class RemoteRequests {
public:
    // loop: where the requests that wait are looked at again.
    explicit RemoteRequests(MainLoop& loop);
    ~RemoteRequests(); // answers the requests still waiting
    RemoteRequests(const RemoteRequests&) = delete;
    RemoteRequests& operator=(const RemoteRequests&) = delete;

    // The controller that runs the requests from now on. Null: none any more (the app quits);
    // the requests still waiting are answered.
    void attach(PresetSwitching* presets);

    void activate(const std::string& name, RemoteAnswerFn answer);
    void deactivate(RemoteAnswerFn answer);
    // The active preset's file name; empty when none is active or no controller is attached.
    std::string activeFile() const;
    // How many requests have not been answered yet.
    size_t waiting() const;

private:
    struct Request;
    void submit(std::function<Outcome<>(RemoteControl&)> run, RemoteAnswerFn answer);
    void advance();
    void refuseWhileTheUserIsAsked();
    std::shared_ptr<Request> nextToQueue() const;
    void queue(const std::shared_ptr<Request>& request);
    void check();
    void answerAll(const Problem& problem);
    bool ready() const;

    MainLoop& loop_;
    PresetSwitching* presets_ = nullptr;
    std::vector<std::shared_ptr<Request>> requests_;
    bool checkScheduled_ = false;
    std::shared_ptr<RemoteRequests*> self_ = std::make_shared<RemoteRequests*>(this);
};

} // namespace padloom
