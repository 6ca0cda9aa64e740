// zorvik.exe: the chat-room game host on Windows, beside the desktop chat
// client (or on the embedded one with --embedded), and the replay.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>

#include "app/command_line.h"
#include "app/replay.h"
#include "app/win32/win32_console.h"

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
    std::cerr << "zorvik: " << parsed.error << " (see zorvik --help)\n";
    return 2;
  }
  const zorvik::CommandLine& command = parsed.command;
  switch (command.mode) {
    case zorvik::Mode::kHelp:
      std::cout << zorvik::UsageText()
                << "On Windows, zorvik [OPTIONS] [--text] hosts beside the desktop chat client;\n"
                   "--embedded hosts on the embedded client instead. demo and irc are not built.\n";
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
      // No desktop windows of its own on Windows: the console is the text
      // console, with or without --text.
      return zorvik::RunWin32Console(command.program, client, std::cout);
  }
  return 0;
}
