#include "console/text_console.h"

#include <unistd.h>

#include <cerrno>
#include <memory>

#include "console/console_advice.h"
#include "match/chat_text.h"

namespace zorvik {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

void Refuse(std::ostream& out, std::string_view what) {
  out << "[?] " << what << " (type help)" << std::endl;
}

void FormCommand(HostProgram& program, std::string_view rest, std::ostream& out) {
  FeedbackForm& form = program.form();
  if (rest.empty()) {
    if (!form.shown()) return Refuse(out, "the feedback form is not shown");
    out << "[form] text:\n" << Printable(form.text()) << std::endl;
    return;
  }
  if (StartsWith(rest, "text ")) {
    if (!form.shown()) return Refuse(out, "the feedback form is not shown");
    // "\n" typed in the text stands for a line break, as in a text box.
    std::string text;
    std::string_view typed = rest.substr(5);
    for (std::size_t i = 0; i < typed.size(); ++i) {
      if (typed[i] == '\\' && i + 1 < typed.size() && typed[i + 1] == 'n') {
        text += "\r\n";
        ++i;
      } else {
        text += typed[i];
      }
    }
    form.SetText(std::move(text));
    out << "[form] text replaced" << std::endl;
    return;
  }
  const auto button = FormButtonFromCaption(rest);
  if (!button) return Refuse(out, "the form has no button \"" + Printable(rest) + "\"");
  if (!form.Press(*button)) Refuse(out, "the feedback form is not shown");
}

}  // namespace

std::string_view ConsoleHelp() {
  return "commands:\n"
         "  get players | setup | start | stop | info | exit   press a console button\n"
         "  NAME: TEXT         NAME says TEXT in the room (e.g. alice: -join; not on IRC)\n"
         "  say TEXT           the host says TEXT in the room\n"
         "  menu about | menu mail me | menu help              choose from the info menu\n"
         "  form               show the feedback form's text\n"
         "  form text TEXT     replace it (\\n for a new line)\n"
         "  form bug report | form comments | form exit        press a form button\n"
         "  click              click the splash window\n"
         "  show               print the console's state\n"
         "  help               this list";
}

void RunConsoleCommand(HostProgram& program, std::string_view command, std::ostream& out,
                       const SpokenObserver& spoken) {
  HostConsole& console = program.console();
  command = TrimSpaces(command);
  if (command.empty()) return;
  if (command == "help" || command == "?") {
    out << ConsoleHelp() << std::endl;
    return;
  }
  if (command == "show") {
    out << DescribeConsole(console, true) << std::endl;
    return;
  }
  if (command == "click") {
    if (!program.splash().Click()) Refuse(out, "the splash window is not shown");
    return;
  }
  if (const auto button = ButtonFromCaption(command)) {
    if (!console.Usable(*button)) {
      return Refuse(out, WhyNotUsable(console, *button));
    }
    if (*button == ConsoleButton::kInfo) {
      out << "[menu] about | mail me | - | help   (type: menu ITEM)" << std::endl;
    }
    console.Press(*button);
    return;
  }
  if (StartsWith(command, "menu ")) {
    const auto item = MenuItemFromCaption(TrimSpaces(command.substr(5)));
    if (!item) return Refuse(out, "the info menu has about, mail me and help");
    if (!console.Usable(ConsoleButton::kInfo)) return Refuse(out, "the console is not shown");
    program.menu().Choose(*item);
    return;
  }
  if (command == "form" || StartsWith(command, "form ")) {
    return FormCommand(program, command.substr(command.size() > 4 ? 5 : 4), out);
  }
  if (StartsWith(command, "say ")) {
    const std::string text(command.substr(4));
    if (spoken) spoken("", text);
    program.chat().ChatSend(text);
    return;
  }
  const std::size_t colon = command.find(':');
  if (colon != std::string_view::npos && colon > 0) {
    // On IRC everyone speaks from their own client: the operator can only
    // be the host.
    if (!program.embedded()) return Refuse(out, "on this client you speak as the host only: say TEXT");
    std::string_view text = command.substr(colon + 1);
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const std::string name(TrimSpaces(command.substr(0, colon)));
    if (spoken) spoken(name, std::string(text));
    program.client().Say(name, std::string(text));
    return;
  }
  Refuse(out, "unknown command \"" + Printable(command) + "\"");
}

ConsoleInputLines::ConsoleInputLines(LineSink sink, std::ostream& out)
    : sink_(std::move(sink)), out_(out) {}

void ConsoleInputLines::Feed(std::string_view bytes) {
  pending_.append(bytes);
  std::size_t newline;
  while ((newline = pending_.find('\n')) != std::string::npos) {
    std::string line = pending_.substr(0, newline);
    pending_.erase(0, newline + 1);
    if (overlong_) {
      overlong_ = false;
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    sink_(std::move(line));
  }
  if (pending_.size() > kLongestCommand) {
    Refuse(out_, "that line is longer than " + std::to_string(kLongestCommand) +
                     " bytes, the longest a command can be; it was dropped");
    pending_.clear();
    overlong_ = true;
  }
}

void PostConsoleCommand(EventLoop& loop, HostProgram& program, std::string line,
                        std::ostream& out, const SpokenObserver& spoken) {
  // Commands run as tasks of their own, so a command that waits never
  // holds up reading the next one.
  loop.Post([&program, &out, spoken, line = std::move(line)] {
    RunConsoleCommand(program, line, out, spoken);
  });
}

void ReadConsoleLines(EventLoop& loop, int input, std::ostream& out,
                      ConsoleInputLines::LineSink sink) {
  auto lines = std::make_shared<ConsoleInputLines>(std::move(sink), out);
  loop.WatchReadable(input, [&loop, &out, input, lines] {
    char buffer[4096];
    const ssize_t got = read(input, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (got <= 0) {
      loop.Unwatch(input);
      out << "[input closed] the host runs on until nothing is left to do" << std::endl;
      return;
    }
    lines->Feed(std::string_view(buffer, static_cast<std::size_t>(got)));
  });
}

void ReadConsoleCommands(EventLoop& loop, HostProgram& program, int input, std::ostream& out,
                         SpokenObserver spoken) {
  ReadConsoleLines(loop, input, out, [&loop, &program, &out, spoken](std::string line) {
    PostConsoleCommand(loop, program, std::move(line), out, spoken);
  });
}

}  // namespace zorvik
