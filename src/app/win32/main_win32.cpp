// zorvik.exe: the chat-room game host on Windows, in windows of its own
// beside the desktop chat client (or on the embedded one), the text console
// with --text or --embedded, and the replay.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>

#include "app/command_line.h"
#include "replay/replay.h"
#include "app/win32/win32_console.h"
#include "app/win32/win32_desktop.h"

int main(int argc, char** argv) {
  // Bytes out as the program makes them (UTF-8, LF), as on every platform;
  // a console is told to show them as UTF-8.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  std::ios::sync_with_stdio(false);

  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // --embedded is Windows's own: elsewhere the embedded client is the only one.
  const auto embedded = std::find(args.begin(), args.end(), "--embedded");
  const zorvik::Win32Client client =
      embedded == args.end() ? zorvik::Win32Client::kDesktop : zorvik::Win32Client::kEmbedded;
  if (embedded != args.end()) args.erase(embedded);

  const zorvik::ParsedCommandLine parsed = zorvik::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    // A config file's error names its file and line; the usage would not help.
    std::cerr << "zorvik: " << parsed.error << (parsed.config_error ? "" : " (see zorvik --help)")
              << '\n';
    return 2;
  }
  const zorvik::CommandLine& command = parsed.command;
  switch (command.mode) {
    case zorvik::Mode::kHelp:
      std::cout << zorvik::UsageText()
                << "On Windows, zorvik [OPTIONS] opens the program's windows beside the desktop\n"
                   "chat client, or on the embedded client when none is running; --text hosts\n"
                   "beside the desktop chat client in this console, --embedded on the embedded\n"
                   "client in this console. demo and irc are not built.\n";
      return 0;
    case zorvik::Mode::kVersion:
      std::cout << "zorvik " << ZORVIK_VERSION << '\n';
      return 0;
    case zorvik::Mode::kReplay:
      return zorvik::RunReplayFile(command.replay_file, command.program, std::cout, std::cerr);
    case zorvik::Mode::kDemo:
      std::cerr << "zorvik: the demo is not built on Windows\n";
      return 2;
    case zorvik::Mode::kIrc:
      std::cerr << "zorvik: IRC is not built on Windows\n";
      return 2;
    case zorvik::Mode::kConsole:
      if (!command.text_console && client == zorvik::Win32Client::kDesktop) {
        return zorvik::RunWin32Desktop(command.program, std::cout);
      }
      return zorvik::RunWin32Console(command.program, client, std::cout);
  }
  return 0;
}
