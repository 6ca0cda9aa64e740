#include "console/console_printer.h"

#include <cstdio>

#include "bridge/kit/client_kit.h"
#include "text/utf8.h"

namespace zorvik {

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto escape = [&out](std::string_view bytes) {
    for (char c : bytes) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
      out += escaped;
    }
  };
  while (!text.empty()) {
    const Utf8Read read = ReadUtf8(text);
    // Bytes that start no whole character are escaped one by one; what
    // follows them is read afresh.
    const std::size_t length = read.status == Utf8Read::kIncomplete ? text.size() : read.length;
    const std::string_view bytes = text.substr(0, length);
    const char32_t c = read.code_point;
    // C0 and C1 controls both start escape sequences on some terminals.
    if (read.status != Utf8Read::kValid || c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      escape(bytes);
    } else {
      out += bytes;
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string DescribeConsole(const HostConsole& console, bool listeners) {
  const MatchTable& t = console.table();
  const auto seat = [](const std::string& caption, const std::string& creature,
                       const std::string& hp) {
    std::string text = caption;
    if (!creature.empty()) text += " " + creature;
    if (!hp.empty()) text += " " + hp + "/500";
    return Printable(text);
  };
  std::string buttons;
  for (ConsoleButton button : kConsoleButtons) {
    if (!console.Usable(button)) continue;
    buttons += buttons.empty() ? "" : ", ";
    buttons += ButtonCaption(button);
  }
  std::string text = "[console] " + seat(t.seat1Caption, t.player1Creature, t.player1Hp) +
                     " | " + seat(t.seat2Caption, t.player2Creature, t.player2Hp) +
                     " | buttons: " + (buttons.empty() ? "none" : buttons);
  if (!listeners) return text;
  // What each of Chat1 ... Chat5 waits for, in the host's own order.
  static constexpr std::string_view kHeard[] = {"joins", "player 1's pick", "player 2's pick",
                                                "player 1's attack", "player 2's attack"};
  std::string listening;
  for (int n = 1; n <= 5; ++n) {
    if (!console.Listening(n)) continue;
    listening += listening.empty() ? "" : ", ";
    listening += kHeard[n - 1];
  }
  return text + " | listening for: " + (listening.empty() ? "nothing" : listening);
}

std::string DescribeInstantMessage(const std::string& to, const std::string& message) {
  // The host's instant messages to these two service names are the switch
  // for the operator's own; their text is only the host's signature.
  if (to == kImOffName) return "[client] instant messages switched off";
  if (to == kImOnName) return "[client] instant messages switched on";
  return "[client] instant message to " + Printable(to) + ": " + Printable(message);
}

void PrintedBoxes::Show(const std::string& title, const std::string& text) {
  out_ << "[box] " << Printable(title) << '\n';
  std::string_view rest = text;
  for (;;) {
    const std::size_t cr = rest.find('\r');
    out_ << "      " << Printable(rest.substr(0, cr)) << '\n';
    if (cr == std::string_view::npos) break;
    rest.remove_prefix(cr + 1);
  }
  out_ << "      [OK]" << std::endl;
}

ConsolePrinter::ConsolePrinter(HostProgram& program, std::ostream& out)
    : program_(program), out_(out) {
  program.room().Subscribe(
      [this](const std::string& name, const std::string& text) { PrintLine(name, text); });
  if (program.embedded()) ObserveEmbeddedClient();
  program.splash().AddVisibilityObserver([this](bool shown) {
    out_ << (shown ? "[splash] zørvïk by vañdør (by vandor)" : "[splash] hidden") << std::endl;
  });
  program.form().AddVisibilityObserver([this](bool shown) {
    out_ << (shown ? "[form] mail me: shown" : "[form] mail me: hidden") << std::endl;
  });
  program.console().AddChangeObserver([this] { PrintConsoleIfChanged(); });
}

void ConsolePrinter::ObserveEmbeddedClient() {
  HostProgram& program = program_;
  program.client().SetInstantMessageObserver(
      [this](const std::string& to, const std::string& message) {
        out_ << DescribeInstantMessage(to, message) << std::endl;
      });
  program.client().SetMailObserver(
      [this](const std::string& to, const std::string& subject, const std::string&) {
        out_ << "[client] mail to " << Printable(to) << ": " << Printable(subject) << std::endl;
      });
}

void ConsolePrinter::PrintConsoleIfChanged() {
  if (!program_.console().shown()) return;
  std::string state = DescribeConsole(program_.console());
  if (state == last_state_) return;
  last_state_ = std::move(state);
  out_ << last_state_ << std::endl;
}

void ConsolePrinter::PrintLine(const std::string& name, const std::string& text) {
  if (!echoed_.empty() && (echoed_.front().first.empty() || echoed_.front().first == name) &&
      echoed_.front().second == text) {
    echoed_.pop_front();
    return;
  }
  out_ << Printable(name) << ": " << Printable(text) << std::endl;
}

void ConsolePrinter::SkipEcho(const std::string& name, const std::string& text) {
  // A line the room never shows (a blank one, or one a full client drops)
  // must not hold back the lines after it for ever: only a few are kept.
  constexpr std::size_t kEchoesKept = 8;
  if (echoed_.size() == kEchoesKept) echoed_.pop_front();
  echoed_.emplace_back(name, text);
}

}  // namespace zorvik
