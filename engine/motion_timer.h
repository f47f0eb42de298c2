// When the motion tick runs. JoystickManager::init starts the motion timer for a preset that moves
// the cursor or the wheel, and deinit stops it. In between it rests while every motion and wheel
// rate is 0: the tick that finds them so ends the timer, and SDL's timer thread sleeps. The first
// non-zero rate wakes it on the phase it had, so the next tick comes when it would have come had
// the timer run all along.
//
// Start and stop run on the main thread, apart from the evaluation that sets the rates (the
// activation lock keeps them so); the tick and the wake meet through atomics only.
#pragma once

#include <cstdint>

namespace padloom {

// Starts the timer with this period on the current timer source, replacing a running one; false
// when the source could not start it.
bool startMotionTimer(uint32_t periodMs);
// Stops it, resting or not; once this returns no tick runs. Safe when it was never started.
void stopMotionTimer();
// True while the timer is started and resting.
bool motionTimerResting();

// For the rates (MotionRate): a rate became non-zero.
void wakeMotionTimer();
// For the tick: notes when it began, which sets the phase of a later wake.
void noteMotionTick();
// For a tick that found every rate 0: true when its timer is to end, because it rests now or was
// stopped; false when a rate came meanwhile and the timer goes on.
bool motionTimerRests();
// The period the tick answers while its timer goes on.
uint32_t motionTimerPeriod();

} // namespace padloom
