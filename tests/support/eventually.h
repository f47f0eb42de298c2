// SPDX-License-Identifier: GPL-3.0-or-later
// Waits for a condition that another thread or process brings about; gives up after about five
// seconds.
#pragma once

#include <chrono>
#include <thread>

namespace padloom::test {

template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 5000 && !condition(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

} // namespace padloom::test
