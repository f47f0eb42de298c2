// Waits for a condition that another thread brings about; gives up after about five seconds.
#pragma once

#include <SDL.h>

namespace padloom::test {

template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) {
        SDL_Delay(5);
    }
    return condition();
}

} // namespace padloom::test
