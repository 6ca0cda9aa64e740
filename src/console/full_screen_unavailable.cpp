// Built in place of the full-screen console when ncursesw or readline is
// missing: terminals get the log of lines.
#include "console/console_front_end.h"

namespace zorvik {

std::unique_ptr<ConsoleFrontEnd> MakeFullScreenConsole(PollLoop&, int, std::ostream&) {
  return nullptr;
}

bool FullScreenAvailable() {
  return false;
}

}  // namespace zorvik
