// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The pump step that the link runs while it waits on the box: the window keeps
// painting and its timers keep running, but clicks and keys wait in the queue
// until the wait is over, so that no button handler runs in the middle of an
// exchange with the box.
namespace kvx::platform {

// Processes the pending paint, timer and socket events of the calling thread;
// user input stays queued.
void PompeEvenements();

// True while the calling thread is inside a pump step, that is inside a wait
// on the box: requests from outside the window (another start, a signal)
// must wait for the exchange to end.
bool DansPompe();

// The same step as a hook to hand to the link.
std::function<void()> CrochetPompe();

}  // namespace kvx::platform
