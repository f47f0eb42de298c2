#include "engine/timer_source.h"

#include <SDL.h>
#include <atomic>
#include <cstdint>

namespace padloom {
namespace {

// SDL_RemoveTimer does not wait for a callback that SDL's timer thread has already begun, and SDL
// may even start one just after it returns. The engine frees nothing the tick reads, but callers are
// promised that the callback is over once remove returns, so every SDL timer runs through a slot:
// the slot says whether the timer is still wanted and how many calls are in flight. SDL's parameter
// is the slot number and its generation, a plain value, so a late call for a removed timer finds
// the slot retired (or reused under another generation) and returns 0, which ends it in SDL too.
// Slots are static and never freed, and nothing here takes a lock.
constexpr uintptr_t slotCount = 8;

struct Slot {
    std::atomic<bool> live{false};
    std::atomic<uintptr_t> generation{0};
    std::atomic<int> inFlight{0};
    std::atomic<TimerCallback> callback{nullptr};
    std::atomic<void*> param{nullptr};
    std::atomic<SDL_TimerID> sdlId{0};
};

Slot slots[slotCount];

uint32_t trampoline(uint32_t interval, void* token) {
    const auto value = reinterpret_cast<uintptr_t>(token);
    Slot& slot = slots[value % slotCount];
    slot.inFlight.fetch_add(1);
    uint32_t next = 0;
    if (slot.live.load() && slot.generation.load() == value / slotCount) {
        next = slot.callback.load()(interval, slot.param.load());
    }
    slot.inFlight.fetch_sub(1);
    return next;
}

class SdlTimerSource final : public TimerSource {
public:
    int add(uint32_t intervalMs, TimerCallback callback, void* param) override {
        for (uintptr_t i = 0; i < slotCount; ++i) {
            Slot& slot = slots[i];
            if (slot.live.load() || slot.sdlId.load() != 0) {
                continue;
            }
            const uintptr_t generation = slot.generation.load() + 1;
            slot.generation.store(generation);
            slot.callback.store(callback);
            slot.param.store(param);
            slot.live.store(true);
            const SDL_TimerID id =
                SDL_AddTimer(intervalMs, trampoline, reinterpret_cast<void*>(generation * slotCount + i));
            if (id == 0) {
                slot.live.store(false);
                return 0;
            }
            slot.sdlId.store(id);
            return static_cast<int>(i) + 1;
        }
        return 0;
    }

    // Must not be called from the callback itself: it waits for that call to end.
    void remove(int id) override {
        if (id < 1 || static_cast<uintptr_t>(id) > slotCount) {
            return;
        }
        Slot& slot = slots[id - 1];
        slot.live.store(false);
        SDL_RemoveTimer(slot.sdlId.load());
        while (slot.inFlight.load() != 0) {
            SDL_Delay(1);
        }
        slot.sdlId.store(0);
    }
};

SdlTimerSource sdlTimerSource;
std::atomic<TimerSource*> currentSource{&sdlTimerSource};

} // namespace

TimerSource& timerSource() {
    return *currentSource.load(std::memory_order_acquire);
}

void setTimerSource(TimerSource* source) {
    currentSource.store(source ? source : &sdlTimerSource, std::memory_order_release);
}

} // namespace padloom
