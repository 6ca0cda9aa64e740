// RunDesktop in the program: loads the desktop module (desktop_module.cpp)
// from beside the executable, or else from the installation's lib/zorvik/,
// and runs it. Without the module the program runs the text console.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <string>

#include "app/desktop.h"

namespace zorvik {

namespace {

constexpr char kModuleName[] = "zorvik-desktop.so";
using Entry = void (*)(const ProgramOptions*, DesktopOutcome*);

// The folder of the running executable, with its final slash; empty if
// unknown.
std::string ExecutableFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  const std::string exe(path.data(), static_cast<std::size_t>(length));
  return exe.substr(0, exe.rfind('/') + 1);
}

}  // namespace

DesktopOutcome RunDesktop(const ProgramOptions& options) {
  DesktopOutcome outcome;
  std::string reasons;
  // Beside the executable in a build folder; installed, ZORVIK_MODULE_DIR
  // is the module folder relative to the executable's (../lib/zorvik).
  const std::string here = ExecutableFolder();
  if (here.empty()) {
    outcome.no_display = "the desktop windows cannot be loaded: the program's folder is unknown";
    return outcome;
  }
  for (const std::string& folder : {here, here + ZORVIK_MODULE_DIR "/"}) {
    // The module stays loaded until the program ends: the toolkit keeps
    // state of its own that outlives the call.
    void* module = dlopen((folder + kModuleName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      reasons += reasons.empty() ? "" : "; ";
      reasons += dlerror();
      continue;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(module, "zorvik_run_desktop"));
    if (!entry) {
      reasons += reasons.empty() ? "" : "; ";
      reasons += folder + kModuleName + " has no entry point";
      continue;
    }
    entry(&options, &outcome);
    return outcome;
  }
  outcome.no_display = "the desktop windows cannot be loaded: " + reasons;
  return outcome;
}

}  // namespace zorvik
