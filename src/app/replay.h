// `zorvik replay`: runs the real program on the embedded client with the
// virtual-time loop, driven by a script, and writes the transcript. The
// same script gives the same transcript byte for byte on every run.
#pragma once

#include <ostream>
#include <string_view>

#include "app/host_program.h"

namespace zorvik {

// Replays `script`. Returns the exit status: 0 after the replay, 2 when a
// script line cannot be read ("error: line N: REASON" on `errors`, nothing
// run).
int RunReplay(std::string_view script, const ProgramOptions& options, std::ostream& transcript,
              std::ostream& errors);

}  // namespace zorvik
