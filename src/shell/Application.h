#pragma once

namespace slipcraft {

// The whole program: script commands without a window, else the start sequence and
// the message loop. Returns the exit status.
int runApplication(int argc, char** argv);

} // namespace slipcraft
