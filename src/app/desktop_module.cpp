// The desktop front end as a module of its own (zorvik-desktop.so), loaded
// by the program only when it opens its windows: a replay, a demo, the text
// console and an IRC host never map the toolkit and X11 libraries, which
// are most of a small process's resident memory.
#include "app/desktop.h"

// The module's one entry point, found by name (desktop_loader.cpp). Both
// sides are built from the same sources by the same compiler, so the C++
// types may cross.
extern "C" __attribute__((visibility("default"))) void zorvik_run_desktop(
    const zorvik::ProgramOptions* options, zorvik::DesktopOutcome* outcome) {
  *outcome = zorvik::RunDesktop(*options);
}
