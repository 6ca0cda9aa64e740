// `zorvik replay`: runs the real program on the embedded client with the
// virtual-time loop, driven by a script, and writes the transcript. The
// same script gives the same transcript byte for byte on every run.
#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <string>

#include "app/host_program.h"

namespace zorvik {

// Replays `script`, which is read twice: checked whole first, then fed as
// it falls due, so it must be able to seek back to its start (a file, or a
// string stream). Returns the exit status: 0 after the replay, 2 when a
// script line cannot be read ("error: line N: REASON" on `errors`, nothing
// run) or the script cannot be read again.
int RunReplay(std::istream& script, const ProgramOptions& options, std::ostream& transcript,
              std::ostream& errors);

// `zorvik replay FILE`: replays the file, or standard input for "" and "-"
// (held in memory, since a pipe cannot seek back), with the transcript on
// `transcript`. A file that cannot be opened or read is status 2, as a bad
// line is, with "zorvik: cannot open FILE: REASON" on `errors`.
int RunReplayFile(const std::string& file, const ProgramOptions& options,
                  std::ostream& transcript, std::ostream& errors);

// The `#console` record's fields after the time, for `console` as it is
// now: both seats, creatures and hit points, the usable match buttons and
// the listeners that are on. The match logs write it too.
std::array<std::string, 9> ConsoleRecord(const HostConsole& console);

}  // namespace zorvik
