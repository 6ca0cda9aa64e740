// RunDesktop for builds without the desktop toolkit: there is never a
// display to run on, and the program falls back to the text console.
#include "app/desktop.h"

namespace zorvik {

DesktopOutcome RunDesktop(const ProgramOptions&) {
  DesktopOutcome outcome;
  outcome.no_display = "built without the desktop windows";
  return outcome;
}

}  // namespace zorvik
