#include "engine/timer_source.h"

#include <SDL.h>
#include <atomic>
#include <cstdint>

namespace padloom {
namespace {

// SDL_RemoveTimer does not wait for a callback that SDL's timer thread has already begun, and SDL
// may even start one just after it returns. Callers are promised that the callback is over once
// remove returns, so every SDL timer runs through a slot, held by one timer at a time under a
// generation number that no other timer shares. SDL's parameter and the id are the slot number and
// that generation, plain values, so a late call for a removed timer, or a remove for a timer that
// ended itself, finds the slot held by another generation (or free) and does nothing. Slots are
// static and never freed, since SDL's timer thread serves the whole process and may make such a
// late call after the source that started the timer is gone; nothing here takes a lock.
constexpr uint32_t slotCount = 8;
// Keeps ids positive ints; generations wrap around below it, skipping 0 (a free slot).
constexpr uint32_t generationLimit = 1u << 27;
// Marks a slot whose timer is being removed: no call goes through and no add may take it.
constexpr uint32_t removing = 1u << 31;

struct Slot {
    std::atomic<uint32_t> owner{0}; // the generation that holds the slot, 0 while free
    std::atomic<int> inFlight{0};   // calls of this slot's trampoline now running
    std::atomic<TimerCallback> callback{nullptr};
    std::atomic<void*> param{nullptr};
    // SDL's id for the timer, with the generation it belongs to, set once SDL_AddTimer returns.
    std::atomic<uint64_t> sdlTimer{0};
};

Slot slots[slotCount];
std::atomic<uint32_t> lastGeneration{0};

uint32_t nextGeneration() {
    uint32_t generation = 0;
    while (generation == 0) {
        generation = (lastGeneration.fetch_add(1) + 1) % generationLimit;
    }
    return generation;
}

uintptr_t tokenOf(uint32_t generation, uint32_t slot) {
    return uintptr_t{generation} * slotCount + slot;
}

uint64_t sdlTimerOf(uint32_t generation, SDL_TimerID id) {
    return uint64_t{generation} << 32 | static_cast<uint32_t>(id);
}

uint32_t trampoline(uint32_t interval, void* token) {
    const auto value = reinterpret_cast<uintptr_t>(token);
    Slot& slot = slots[value % slotCount];
    const auto generation = static_cast<uint32_t>(value / slotCount);
    slot.inFlight.fetch_add(1);
    uint32_t next = 0;
    if (slot.owner.load() == generation) {
        next = slot.callback.load()(interval, slot.param.load());
        if (next == 0) {
            // The timer ends itself: SDL drops it on this answer, and the slot is free again.
            uint32_t held = generation;
            slot.owner.compare_exchange_strong(held, 0);
        }
    }
    slot.inFlight.fetch_sub(1);
    return next;
}

} // namespace

int SdlTimerSource::add(uint32_t intervalMs, TimerCallback callback, void* param) {
    const uint32_t generation = nextGeneration();
    for (uint32_t i = 0; i < slotCount; ++i) {
        Slot& slot = slots[i];
        uint32_t free = 0;
        if (!slot.owner.compare_exchange_strong(free, generation)) {
            continue;
        }
        slot.sdlTimer.store(sdlTimerOf(generation, 0));
        slot.callback.store(callback);
        slot.param.store(param);
        const SDL_TimerID id =
            SDL_AddTimer(intervalMs, trampoline, reinterpret_cast<void*>(tokenOf(generation, i)));
        if (id == 0) {
            slot.owner.store(0);
            return 0;
        }
        // Unless the timer has already ended and another took the slot.
        uint64_t unset = sdlTimerOf(generation, 0);
        slot.sdlTimer.compare_exchange_strong(unset, sdlTimerOf(generation, id));
        return static_cast<int>(tokenOf(generation, i)) + 1;
    }
    return 0;
}

void SdlTimerSource::remove(int id) {
    if (id < 1) {
        return;
    }
    const auto token = static_cast<uintptr_t>(id - 1);
    Slot& slot = slots[token % slotCount];
    uint32_t generation = static_cast<uint32_t>(token / slotCount);
    if (!slot.owner.compare_exchange_strong(generation, generation | removing)) {
        return; // ended by itself, or removed before
    }
    const uint64_t sdlTimer = slot.sdlTimer.load();
    if (sdlTimer >> 32 == generation) {
        SDL_RemoveTimer(static_cast<SDL_TimerID>(sdlTimer & 0xFFFFFFFFu));
    }
    while (slot.inFlight.load() != 0) {
        SDL_Delay(1);
    }
    slot.owner.store(0);
}

} // namespace padloom
