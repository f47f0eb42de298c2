#include "tests/app/app_doubles.h"

#include <algorithm>

namespace padloom::test {

void ScriptedCaptureEvents::runDue() {
    for (auto& [time, action] : actions) {
        if (action && time <= now) {
            auto run = std::move(action);
            action = nullptr;
            run();
        }
    }
}

bool ScriptedCaptureEvents::waitForEvent(uint32_t timeoutMs) {
    const uint32_t deadline = now + timeoutMs;
    for (;;) {
        runDue();
        if (sdlEventPending()) {
            return true;
        }
        uint32_t next = deadline;
        for (const auto& [time, action] : actions) {
            if (action && time > now && time < next) {
                next = time;
            }
        }
        if (now >= deadline) {
            return false;
        }
        now = next;
    }
}

} // namespace padloom::test
