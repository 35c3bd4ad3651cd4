#pragma once
// Ctrl-C as the ESC key of the window: while a read or write runs, SIGINT
// does not end the program but is kept pending, and the next ESC check of
// the sequence takes it, so the sequence stops between two exchanges with
// result 20 and the instrument is never left inside one.

namespace zrm {

// Blocks SIGINT for the rest of the process: from now on it only marks ESC
// as pressed. A Ctrl-C that no ESC check takes is dropped at exit.
void TreatInterruptAsEsc();

// True when a SIGINT is pending; taking it clears it, as asking for ESC
// clears the key's pressed state.
bool TakeInterrupt();

// True when a SIGINT is pending, leaving it pending: every thread of a batch
// sees the one Ctrl-C.
bool InterruptPending();

}  // namespace zrm
