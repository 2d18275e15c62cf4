// The window's start-up work on the module and its two timers, as plain
// functions over a host port. The window itself (pictures, lists, timers
// being enabled or not) is the caller's part.
#pragma once

#include "panel/Handlers.h"
#include "panel/HostPort.h"

namespace panel {

// When the window is created: the label store is filled with 255, the engine's
// stacks are emptied, every key 1 to 8 gets the "Toggle" function code and its
// key script is asked for (no vocabulary exists yet, so each run finds
// nothing), and the vocabulary is initialised.
void FormCreate(HostPort& port);
// InitVocabulary(0), then LinkReset.
void btnInitVocClick(HostPort& port);
// The first activation initialises the vocabulary again and runs script 0,
// the start-up screen; later activations do nothing.
void FormActivate(HostPort& port, PanelState& state);
// Two seconds after creation: show page 0. The page flag stays as it is.
void SplashTimerTimer(HostPort& port);
// Every 100 ms: the DelayCounter falls by one while above 0.
void Timer2Timer(HostPort& port);

}  // namespace panel
