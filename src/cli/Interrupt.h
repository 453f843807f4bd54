// Ctrl-C during a long command. The first SIGINT only raises a flag that the
// command reads where it lets input in, so that it can stop after the shape
// in hand and report what is done; the handler restores the default action,
// so a second SIGINT ends the program at once.
#pragma once

namespace tvlc {

// Installs the handler; until then SIGINT keeps its default action.
void CatchInterrupt();
// A SIGINT arrived since CatchInterrupt.
bool Interrupted();

// The exit status of a command that a SIGINT stopped (128 + SIGINT).
constexpr int kInterruptedStatus = 130;

}  // namespace tvlc
