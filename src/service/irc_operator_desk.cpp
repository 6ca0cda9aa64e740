#include "service/irc_operator_desk.h"

#include <sstream>

#include "console/console_printer.h"
#include "console/text_console.h"
#include "match/chat_text.h"
#include "windows/feedback_form.h"

namespace zorvik {

namespace {

// An answer never runs longer than this many notices.
constexpr std::size_t kMostAnswerLines = 12;

constexpr std::string_view kHelp =
    "commands: get players | setup | start | stop | info | show | help | menu about | "
    "menu mail me | menu help | form | form text TEXT (\\n for a new line) | form bug report | "
    "form comments | form exit";

}  // namespace

std::string IrcCommandProblem(std::string_view command, bool may_exit) {
  if (command == "show" || command == "help" || command == "form" || command.starts_with("menu ") ||
      command.starts_with("form ")) {
    return {};
  }
  if (const auto button = ButtonFromCaption(command)) {
    if (*button == ConsoleButton::kExit && !may_exit) return "exit is not allowed from IRC here";
    return {};
  }
  return "\"" + Printable(command) + "\" is no command from IRC; send help";
}

void OperatorDesk::CapturingBoxes::Show(const std::string& title, const std::string& text) {
  if (capture) {
    *capture << "[" << Printable(title) << "]";
    std::string_view rest = text;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\r');
      *capture << '\n' << Printable(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    *capture << '\n';
  }
  shown_.Show(title, text);
}

OperatorDesk::OperatorDesk(EventLoop& loop, MessageBoxes& boxes, Notice notice,
                           std::ostream& notes)
    : loop_(loop), boxes_(boxes), notice_(std::move(notice)), notes_(notes) {}

void OperatorDesk::Attach(const std::string& channel, HostProgram& program) {
  served_.push_back(Served{channel, &program});
}

std::string OperatorDesk::ChannelList() const {
  std::string list;
  for (const Served& served : served_) list += (list.empty() ? "" : ", ") + served.channel;
  return list;
}

void OperatorDesk::SetOperators(std::vector<IrcOperator> operators, bool may_exit) {
  operators_ = std::move(operators);
  may_exit_ = may_exit;
}

void OperatorDesk::Hear(const IrcSender& sender, const std::string& text) {
  if (operators_.empty() || served_.empty()) return;
  const std::string nick(NickOf(sender.prefix));
  const std::string who =
      Printable(sender.prefix) + (sender.account.empty() ? "" : " (" + Printable(sender.account) + ")");
  if (!IsIrcOperator(operators_, sender.prefix, sender.account)) {
    if (gate_.Answer(sender.prefix, loop_.Now())) {
      notes_ << "[op] refused " << who << std::endl;
      notice_(nick, "you are not an operator of this host");
    }
    return;
  }
  std::string_view command = TrimSpaces(text);
  HostProgram* program = served_.size() == 1 ? served_.front().program : nullptr;
  if (!command.empty() && (command.front() == '#' || command.front() == '&')) {
    const std::size_t space = command.find(' ');
    const std::string_view channel = command.substr(0, space);
    program = nullptr;
    for (const Served& served : served_) {
      if (SameIrcName(channel, served.channel)) program = served.program;
    }
    if (!program) {
      notice_(nick, "this host serves " + ChannelList() + ", not " + Printable(channel));
      return;
    }
    command = space == std::string_view::npos ? std::string_view()
                                              : TrimSpaces(command.substr(space + 1));
  }
  if (command.empty()) return;
  if (!program && command != "help") {
    notice_(nick, "this host serves " + ChannelList() + ": name the channel first (" +
                      served_.front().channel + " " + Printable(command) + ")");
    return;
  }
  if (command == "help") {
    notice_(nick, std::string(kHelp) + (may_exit_ ? " | exit" : ""));
    return;
  }
  const std::string problem = IrcCommandProblem(command, may_exit_);
  if (!problem.empty()) {
    notice_(nick, problem);
    return;
  }
  notes_ << "[op] " << who << ": " << Printable(command) << std::endl;
  loop_.Post([this, program, nick, line = std::string(command)] { Press(*program, nick, line); });
}

void OperatorDesk::Press(HostProgram& program, const std::string& nick,
                         const std::string& command) {
  std::ostringstream answer;
  std::ostream* outer = boxes_.capture;
  boxes_.capture = &answer;
  RunConsoleCommand(program, command, answer);
  boxes_.capture = outer;
  std::vector<std::string> lines;
  std::istringstream read(answer.str());
  for (std::string line; std::getline(read, line);) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  if (lines.size() > kMostAnswerLines) {
    const std::size_t cut = lines.size() - kMostAnswerLines + 1;
    lines.resize(kMostAnswerLines - 1);
    lines.push_back("(" + std::to_string(cut) + " more lines)");
  }
  if (command != "show") lines.push_back(DescribeConsole(program.console(), false));
  for (const std::string& line : lines) notice_(nick, line);
}

}  // namespace zorvik
