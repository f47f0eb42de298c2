// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/remote_requests.h"

#include "app/desktop/remote_control.h"

#include <algorithm>

namespace padloom {
namespace {

constexpr uint32_t checkIntervalMs = 100;
// A client waits 30 s for its answer. A request still waiting for the start-up after about 25 s
// is refused, so that it is never done after its client has given up and said it was not.
constexpr int startPatienceChecks = 250;

const Problem starting{"Padloom is still starting; try again in a moment."};
const Problem quit{"Padloom quit before it could do this."};

} // namespace

struct RemoteRequests::Request {
    enum class Stage { early, queued, running, answered };

    std::function<Outcome<>(RemoteControl&)> run;
    RemoteAnswerFn answer;
    Stage stage = Stage::early;
    int checks = 0; // while it waits for the start-up

    // Once only: a request answered as the app quits is not answered again when its operation ends.
    void finish(const Outcome<>& done, PresetSwitching* presets) {
        if (stage == Stage::answered) {
            return;
        }
        stage = Stage::answered;
        const RemoteAnswer reply{done, presets ? presets->activePresetFile() : std::string()};
        const RemoteAnswerFn send = std::move(answer);
        send(reply);
    }
};

RemoteRequests::RemoteRequests(MainLoop& loop) : loop_(loop) {}

RemoteRequests::~RemoteRequests() {
    answerAll(quit);
}

void RemoteRequests::attach(PresetSwitching* presets) {
    if (!presets) {
        answerAll(quit);
    }
    presets_ = presets;
    advance();
}

void RemoteRequests::activate(const std::string& name, RemoteAnswerFn answer) {
    submit([name](RemoteControl& control) { return control.activateNow(name); }, std::move(answer));
}

void RemoteRequests::deactivate(RemoteAnswerFn answer) {
    submit([](RemoteControl& control) { return control.deactivateNow(); }, std::move(answer));
}

std::string RemoteRequests::activeFile() const {
    return presets_ ? presets_->activePresetFile() : std::string();
}

size_t RemoteRequests::waiting() const {
    return std::count_if(requests_.begin(), requests_.end(),
                         [](const auto& request) { return request->stage != Request::Stage::answered; });
}

void RemoteRequests::submit(std::function<Outcome<>(RemoteControl&)> run, RemoteAnswerFn answer) {
    auto request = std::make_shared<Request>();
    request->run = std::move(run);
    request->answer = std::move(answer);
    requests_.push_back(std::move(request));
    advance();
}

bool RemoteRequests::ready() const {
    return presets_ && presets_->presetListShown();
}

// Runs the requests whose turn has come; a request's operation may run at once, inside this, and
// new requests may come meanwhile: the list is looked at anew after each.
void RemoteRequests::advance() {
    std::erase_if(requests_, [](const auto& request) { return request->stage == Request::Stage::answered; });
    refuseWhileTheUserIsAsked();
    while (const std::shared_ptr<Request> next = nextToQueue()) {
        queue(next);
    }
    if (waiting() > 0 && !checkScheduled_) {
        checkScheduled_ = true;
        loop_.runLater(checkIntervalMs, [self = std::weak_ptr<RemoteRequests*>(self_)] {
            if (const std::shared_ptr<RemoteRequests*> alive = self.lock()) {
                (*alive)->check();
            }
        });
    }
}

void RemoteRequests::refuseWhileTheUserIsAsked() {
    if (!ready()) {
        return;
    }
    const Outcome<> takes = RemoteControl(*presets_).takesRequests();
    if (takes) {
        return;
    }
    for (const std::shared_ptr<Request>& request : std::vector(requests_)) {
        if (request->stage == Request::Stage::early || request->stage == Request::Stage::queued) {
            request->finish(takes, presets_);
        }
    }
}

std::shared_ptr<RemoteRequests::Request> RemoteRequests::nextToQueue() const {
    if (!ready()) {
        return nullptr;
    }
    for (const std::shared_ptr<Request>& request : requests_) {
        if (request->stage == Request::Stage::early) {
            return request;
        }
    }
    return nullptr;
}

void RemoteRequests::queue(const std::shared_ptr<Request>& request) {
    request->stage = Request::Stage::queued;
    PresetSwitching& presets = *presets_;
    presets.runOperation([&presets, request] {
        if (request->stage != Request::Stage::queued) {
            return; // refused while it waited
        }
        RemoteControl control(presets);
        if (const Outcome<> takes = control.takesRequests(); !takes) {
            request->finish(takes, &presets);
            return;
        }
        request->stage = Request::Stage::running;
        request->finish(request->run(control), &presets);
    });
}

void RemoteRequests::check() {
    checkScheduled_ = false;
    for (const std::shared_ptr<Request>& request : std::vector(requests_)) {
        if (request->stage == Request::Stage::early && !ready() && ++request->checks > startPatienceChecks) {
            request->finish(starting, presets_);
        }
    }
    advance();
}

void RemoteRequests::answerAll(const Problem& problem) {
    for (const std::shared_ptr<Request>& request : std::vector(requests_)) {
        if (request->stage != Request::Stage::answered) {
            request->finish(problem, presets_);
        }
    }
    requests_.clear();
}

} // namespace padloom
