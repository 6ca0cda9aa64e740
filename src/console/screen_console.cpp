#include "console/screen_console.h"

#include <algorithm>

#include "console/console_advice.h"
#include "console/console_printer.h"
#include "console/text_console.h"
#include "text/ascii_case.h"
#include "bridge/irc/irc_message.h"
#include "match/chat_text.h"
#include "windows/line_breaks.h"
#include "windows/text_fit.h"

namespace zorvik {

namespace {

constexpr std::size_t kNamesKept = 500;

// The seats' columns where the screen is wide enough: the caption, the
// creature's name, and the bar at 25 hit points a cell. A narrower bar
// holds more a cell; below 5 cells (100 each) it says too little to keep.
constexpr int kCaptionColumns = 28;
constexpr int kCreatureColumns = 13;
constexpr int kBarWidth = 20;
constexpr int kNarrowestBar = 5;

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string lf = ToLf(text);
  std::size_t from = 0;
  for (;;) {
    const std::size_t nl = lf.find('\n', from);
    lines.push_back(Printable(std::string_view(lf).substr(from, nl - from)));
    if (nl == std::string::npos) break;
    from = nl + 1;
  }
  return lines;
}

Style HpStyle(int hp) {
  return hp > 250 ? Style::kHpGood : hp > 100 ? Style::kHpFair : Style::kHpLow;
}

// The widths of the seat rows' parts, the same on both seats so that they
// line up. A row is the caption, the creature's name, the hit points
// ("500/500", never cut) and the bar in brackets, one blank apart.
struct SeatColumns {
  int caption;
  int creature;  // 0: no creature column
  int bar;       // cells inside the brackets; 0: no bar
};

// The columns for seats on `width` columns, given the widest caption,
// creature name and hit points of the two (0: none). Where today's columns
// do not fit, they shrink to their texts; then the bar shrinks and goes;
// then the creature's name is cut, and the caption, each to a few columns
// first and then further. The hit points go last, cut by the screen's edge.
SeatColumns FitSeats(int width, int caption, int creature, int number) {
  const auto need = [number](const SeatColumns& c) {
    int columns = c.caption + (c.creature > 0 ? 1 + c.creature : 0);
    if (number > 0) columns += 1 + number + (c.bar > 0 ? 2 + c.bar + 1 : 0);
    return columns;
  };
  SeatColumns c{kCaptionColumns, kCreatureColumns, number > 0 ? kBarWidth : 0};
  if (need(c) <= width) return c;
  c.caption = std::min(caption, kCaptionColumns);
  c.creature = std::min(creature, kCreatureColumns);
  const auto shrink = [&](int& part, int least) {
    while (need(c) > width && part > least) --part;
  };
  shrink(c.bar, kNarrowestBar);
  if (need(c) > width) c.bar = 0;
  shrink(c.creature, std::min(c.creature, 6));  // "bulba…"
  shrink(c.caption, std::min(c.caption, 12));   // "player1:[a…]"
  shrink(c.creature, std::min(c.creature, 1));
  shrink(c.caption, std::min(c.caption, 1));
  return c;
}

std::string ButtonLabel(std::size_t index) {
  return "F" + std::to_string(index + 1) + " " + std::string(ButtonCaption(kConsoleButtons[index]));
}

// Where each button's label goes on `cols` columns: in the console's order
// from column 1, two blanks apart, on as many rows as it takes to show every
// label whole. `row` counts from the first row of buttons.
struct ButtonPlace {
  int row;
  int col;
};
std::vector<ButtonPlace> PlaceButtons(int cols) {
  std::vector<ButtonPlace> places;
  int row = 0, col = 1;
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    const int width = TextWidth(ButtonLabel(i));
    if (col > 1 && col + width > cols) {
      ++row;
      col = 1;
    }
    places.push_back({row, col});
    col += width + 2;
  }
  return places;
}

// Rows above the room: the title, two seats, the buttons and a rule.
int TopRows(int cols) {
  return 3 + PlaceButtons(cols).back().row + 1 + 1;
}

}  // namespace

int ScreenConsole::NoteBuffer::sync() {
  std::string text = str();
  str("");
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t nl = text.find('\n', from);
    owner_.Note(text.substr(from, nl == std::string::npos ? std::string::npos : nl - from));
    if (nl == std::string::npos) break;
    from = nl + 1;
  }
  return 0;
}

void ScreenConsole::Boxes::Show(const std::string& title, const std::string& text) {
  const std::uint64_t id = ++owner_.last_box_;
  owner_.open_boxes_.push_back(Box{id, Printable(title), SplitLines(text)});
  owner_.Changed();
  owner_.wait_([this, id] {
    return std::none_of(owner_.open_boxes_.begin(), owner_.open_boxes_.end(),
                        [id](const Box& box) { return box.id == id; });
  });
}

ScreenConsole::ScreenConsole(HostProgram& program, ModalWait wait)
    : ScreenConsole(std::vector<ConsoleFrontEnd::Channel>{{"", &program}}, std::move(wait)) {}

ScreenConsole::ScreenConsole(const std::vector<ConsoleFrontEnd::Channel>& channels,
                             ModalWait wait)
    : wait_(std::move(wait)) {
  for (const ConsoleFrontEnd::Channel& channel : channels) {
    views_.push_back(std::make_unique<View>(View{channel.name, channel.program, {}, 0, {}, {}}));
    Observe(views_.size() - 1);
  }
}

void ScreenConsole::Observe(std::size_t index) {
  View& shown = *views_[index];
  HostProgram& program = *shown.program;
  program.room().Subscribe([this, &shown](const std::string& name, const std::string& text) {
    AddLine(shown, ScreenLine{name, text, KindOf(shown, name)});
  });
  program.console().AddChangeObserver([this] { Changed(); });
  program.form().AddVisibilityObserver([this, index](bool visible) {
    if (visible && index == current_) LoadForm();
    Changed();
  });
  if (program.embedded()) {
    shown.host_nick = program.client().operator_screen_name();
    program.client().SetInstantMessageObserver(
        [this](const std::string& to, const std::string& message) {
          Note(DescribeInstantMessage(to, message));
        });
    program.client().SetMailObserver(
        [this](const std::string& to, const std::string& subject, const std::string&) {
          Note("[client] mail to " + Printable(to) + ": " + Printable(subject));
        });
  }
}

void ScreenConsole::LoadForm() {
  form_text_ = ToLf(program().form().text());
  form_point_ = form_text_.size();
  form_focus_ = 0;
}

void ScreenConsole::HostLine(const std::string& nick, const std::string& text) {
  ChannelHostLine(0, nick, text);
}

void ScreenConsole::ChannelHostLine(std::size_t index, const std::string& nick,
                                    const std::string& text) {
  if (index >= views_.size()) return;
  View& shown = *views_[index];
  shown.host_nick = nick;
  AddLine(shown, ScreenLine{nick, text, LineKind::kHost});
}

void ScreenConsole::ShowChannel(std::size_t index) {
  current_ = index % views_.size();
  if (program().form().shown()) LoadForm();
  SetStatus("");
}

// "channel" lists the channels and "channel #NAME" shows one; false when
// `command` is no such command or there is one channel only.
bool ScreenConsole::SwitchCommand(std::string_view command) {
  if (views_.size() < 2 || !(command == "channel" || command.starts_with("channel "))) {
    return false;
  }
  const std::string_view name = TrimSpaces(command.substr(7));
  if (name.empty()) {
    std::string list = "[channel] channels:";
    for (std::size_t i = 0; i < views_.size(); ++i) {
      list += " " + Printable(views_[i]->name) + (i == current_ ? " (shown)" : "");
    }
    Note(list);
    return true;
  }
  for (std::size_t i = 0; i < views_.size(); ++i) {
    if (!SameIrcName(views_[i]->name, name)) continue;
    ShowChannel(i);
    Note("[channel] showing " + Printable(view().name) + ": " +
         DescribeConsole(program().console()));
    return true;
  }
  SetStatus("no channel " + Printable(std::string(name)) + " here; type channel");
  return true;
}

LineKind ScreenConsole::KindOf(const View& shown, const std::string& name) const {
  const std::string lower = AsciiLowerCase(name);
  if (lower == AsciiLowerCase(shown.host_nick)) return LineKind::kHost;
  const MatchTable& t = shown.program->console().table();
  if ((!t.player1Name.empty() && lower == AsciiLowerCase(t.player1Name)) ||
      (!t.player2Name.empty() && lower == AsciiLowerCase(t.player2Name))) {
    return LineKind::kPlayer;
  }
  return LineKind::kSpectator;
}

void ScreenConsole::AddLine(View& shown, ScreenLine line) {
  if (line.kind != LineKind::kNote && line.kind != LineKind::kHost && !line.name.empty()) {
    if (shown.names_seen.size() >= kNamesKept) shown.names_seen.erase(shown.names_seen.begin());
    shown.names_seen.insert(line.name);
  }
  shown.room.push_back(std::move(line));
  if (shown.room.size() > kScrollback) shown.room.pop_front();
  Changed();
}

void ScreenConsole::Note(const std::string& line) {
  if (line.rfind("[?] ", 0) == 0) return SetStatus(line.substr(4));
  AddLine(view(), ScreenLine{"", line, LineKind::kNote});
}

void ScreenConsole::SetStatus(std::string status) {
  status_ = std::move(status);
  Changed();
}

void ScreenConsole::Later(std::function<void()> task) {
  program().loop().Post(std::move(task));
}

bool ScreenConsole::MatchRunning() const {
  const HostConsole& console = program().console();
  if (MatchOver(console)) return false;  // nothing is lost by leaving now
  return console.Usable(ConsoleButton::kStop) || console.Listening(1);
}

void ScreenConsole::PressButton(std::size_t index) {
  const ConsoleButton button = kConsoleButtons[index];
  HostConsole& console = program().console();
  if (!console.Usable(button)) return SetStatus(WhyNotUsable(console, button));
  if (button == ConsoleButton::kExit && MatchRunning()) {
    return Ask("exit", "End the match and exit? (y/n)",
               [this, &shown = program()] { shown.console().Press(ConsoleButton::kExit); });
  }
  if (button == ConsoleButton::kSetup && BattleRunning(console)) {
    return Ask("setup", "The battle is on. Start the picks again? (y/n)",
               [this, &shown = program()] { shown.console().Press(ConsoleButton::kSetup); });
  }
  SetStatus("");
  Later([this, &shown = program(), button] {
    if (!shown.console().Press(button)) return;
    if (button == ConsoleButton::kInfo) {
      menu_open_ = true;
      menu_choice_ = 0;
      Changed();
    }
  });
}

void ScreenConsole::Ask(std::string title, std::string text, std::function<void()> yes,
                        int yes_key) {
  question_ = Question{std::move(title), std::move(text), std::move(yes), yes_key};
  Changed();
}

void ScreenConsole::ExitOrQuit() {
  if (program().console().Usable(ConsoleButton::kExit)) {
    Later([&shown = program()] { shown.console().Press(ConsoleButton::kExit); });
  } else if (quit_) {
    quit_();
  }
}

bool ScreenConsole::TakesKeys() const {
  return question_ || !open_boxes_.empty() || menu_open_ || program().form().shown();
}

bool ScreenConsole::HandleKey(int key) {
  if (question_) {
    const bool yes = key == 'y' || key == 'Y' || key == question_->yes_key;
    std::function<void()> action = std::move(question_->yes);
    question_.reset();
    if (yes) {
      SetStatus("");
      Later(std::move(action));
    }
    Changed();
    return true;
  }
  if (key == kKeyInterrupt) {
    if (MatchRunning()) {
      // A second Ctrl-C answers yes.
      Ask("Ctrl-C", "End the match and exit? (y/n)", [this] { ExitOrQuit(); }, kKeyInterrupt);
    } else {
      ExitOrQuit();
    }
    return true;
  }
  if (key == kKeyPageUp || key == kKeyPageDown) {
    const int page = std::max(1, room_height_ - 1);
    view().scrolled = std::max(0, view().scrolled + (key == kKeyPageUp ? page : -page));
    Changed();
    return true;
  }
  if (!open_boxes_.empty()) {
    if (key == kKeyEnter || key == kKeyEscape || key == ' ') {
      open_boxes_.pop_front();
      Changed();
    }
    return true;
  }
  if (menu_open_) {
    // The entries that can be chosen, without the separator.
    std::vector<MenuItem> items;
    for (const MenuEntry& entry : kInfoMenu) {
      if (entry.item) items.push_back(*entry.item);
    }
    if (key == kKeyUp) menu_choice_ = (menu_choice_ + items.size() - 1) % items.size();
    if (key == kKeyDown || key == kKeyTab) menu_choice_ = (menu_choice_ + 1) % items.size();
    if (key == kKeyEscape) menu_open_ = false;
    if (key == kKeyEnter) {
      menu_open_ = false;
      const MenuItem item = items[menu_choice_];
      Later([&shown = program(), item] { shown.menu().Choose(item); });
    }
    Changed();
    return true;
  }
  if (program().form().shown()) return FormKey(key);
  if (key >= kKeyF1 && key <= kKeyF6) {
    PressButton(static_cast<std::size_t>(key - kKeyF1));
    return true;
  }
  if ((key == kKeyF7 || key == kKeyF8) && views_.size() > 1) {
    ShowChannel(current_ + (key == kKeyF7 ? views_.size() - 1 : 1));
    return true;
  }
  return false;
}

void ScreenConsole::FormEdited() {
  program().form().SetText(ToCrLf(form_text_));
  Changed();
}

bool ScreenConsole::FormKey(int key) {
  const auto press = [this](FormButton button) {
    Later([&shown = program(), button] { shown.form().Press(button); });
  };
  if (key == kKeyEscape) {
    press(FormButton::kExit);
  } else if (key == kKeyTab) {
    form_focus_ = (form_focus_ + 1) % 4;
  } else if (key == kKeyBackTab) {
    form_focus_ = (form_focus_ + 3) % 4;
  } else if (form_focus_ > 0) {
    if (key == kKeyEnter || key == ' ') {
      press(std::array{FormButton::kBugReport, FormButton::kComments,
                       FormButton::kExit}[static_cast<std::size_t>(form_focus_ - 1)]);
    } else if (key == kKeyLeft || key == kKeyUp) {
      form_focus_ = form_focus_ == 1 ? 3 : form_focus_ - 1;
    } else if (key == kKeyRight || key == kKeyDown) {
      form_focus_ = form_focus_ == 3 ? 1 : form_focus_ + 1;
    }
  } else {
    std::string& text = form_text_;
    std::size_t& point = form_point_;
    const auto back = [&text](std::size_t at) {
      do --at;
      while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
      return at;
    };
    const auto forward = [&text](std::size_t at) {
      do ++at;
      while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
      return at;
    };
    const std::size_t line_start = point == 0 ? 0 : text.rfind('\n', point - 1) + 1;
    const std::size_t line_end = std::min(text.find('\n', point), text.size());
    if (key == kKeyEnter) {
      text.insert(point++, 1, '\n');
      FormEdited();
    } else if (key == kKeyBackspace || key == 8) {
      if (point > 0) {
        const std::size_t from = back(point);
        text.erase(from, point - from);
        point = from;
        FormEdited();
      }
    } else if (key == kKeyDelete) {
      if (point < text.size()) {
        text.erase(point, forward(point) - point);
        FormEdited();
      }
    } else if (key == kKeyLeft) {
      if (point > 0) point = back(point);
    } else if (key == kKeyRight) {
      if (point < text.size()) point = forward(point);
    } else if (key == kKeyHome) {
      point = line_start;
    } else if (key == kKeyEnd) {
      point = line_end;
    } else if (key == kKeyUp) {
      if (line_start > 0) {
        const std::size_t up_start = line_start == 1 ? 0 : text.rfind('\n', line_start - 2) + 1;
        point = std::min(up_start + (point - line_start), line_start - 1);
      }
    } else if (key == kKeyDown) {
      if (line_end < text.size()) {
        const std::size_t down_end = std::min(text.find('\n', line_end + 1), text.size());
        point = std::min(line_end + 1 + (point - line_start), down_end);
      }
    } else if (key >= 0x20 && key <= 0xFF && key != 0x7F) {
      text.insert(point++, 1, static_cast<char>(key));
      FormEdited();
    }
  }
  Changed();
  return true;
}

void ScreenConsole::Submit(const std::string& line) {
  SetStatus("");
  view().scrolled = 0;
  if (!commands_) return SetStatus("the demo plays itself; F2 (exit) leaves");
  const std::string_view command = TrimSpaces(line);
  if (const auto button = ButtonFromCaption(command)) {
    const auto at = std::find(kConsoleButtons.begin(), kConsoleButtons.end(), *button);
    return PressButton(static_cast<std::size_t>(at - kConsoleButtons.begin()));
  }
  if (SwitchCommand(command)) return;
  Later([this, &shown = program(), line] { RunConsoleCommand(shown, line, notes_); });
}

std::vector<std::string> ScreenConsole::Complete(std::string_view typed) const {
  std::vector<std::string> candidates;
  const std::size_t space = typed.find_last_of(' ');
  if (space == std::string_view::npos || StartsWithIgnoringAsciiCase(typed, "menu ") ||
      StartsWithIgnoringAsciiCase(typed, "form ") || StartsWithIgnoringAsciiCase(typed, "get ")) {
    std::vector<std::string> whole = {"get players", "setup", "start", "stop", "info", "exit",
                                      "say ", "form", "form text ", "click", "show", "help"};
    for (const MenuEntry& entry : kInfoMenu) {
      if (entry.item) whole.push_back("menu " + std::string(entry.caption));
    }
    for (FormButton button : {FormButton::kBugReport, FormButton::kComments, FormButton::kExit}) {
      whole.push_back("form " + std::string(FormButtonCaption(button)));
    }
    if (views_.size() > 1) {
      whole.push_back("channel");
      for (const auto& one : views_) whole.push_back("channel " + Printable(one->name));
    }
    if (program().embedded()) {
      for (const std::string& name : view().names_seen) whole.push_back(Printable(name) + ": ");
    }
    for (const std::string& one : whole) {
      if (StartsWithIgnoringAsciiCase(one, typed)) candidates.push_back(one);
    }
    if (space == std::string_view::npos || !candidates.empty()) return candidates;
  }
  // The word being typed: a creature or a move after a slash, else a name.
  const std::string_view before = typed.substr(0, space + 1);
  const std::string_view word = typed.substr(space + 1);
  std::vector<std::string> words;
  const MatchTable& t = program().console().table();
  if (!word.empty() && word.front() == '/') {
    for (const auto* list : {&t.player1Moves, &t.player2Moves, &t.roster}) {
      for (const std::string& one : *list) words.push_back("/" + one);
    }
  } else {
    for (const std::string& name : view().names_seen) words.push_back(Printable(name));
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  for (const std::string& one : words) {
    if (StartsWithIgnoringAsciiCase(one, word)) candidates.push_back(std::string(before) + one);
  }
  return candidates;
}

void ScreenConsole::Draw(VirtualScreen& screen, const InputLine& input) const {
  screen.Clear();
  const int rows = screen.rows();
  const int cols = screen.cols();
  if (rows <= 0 || cols <= 0) return;
  // Small terminals give up the top first, then the status line.
  const int top_rows = TopRows(cols);
  const int top = rows >= top_rows + 5 ? top_rows : 0;
  const bool status_row = rows >= 3;
  const int room_top = top;
  const int room_height = std::max(0, rows - top - 1 - (status_row ? 1 : 0));
  room_height_ = std::max(1, room_height);
  if (top) DrawTop(screen);
  DrawRoom(screen, room_top, room_height);
  if (status_row) {
    const int row = rows - 2;
    screen.Fill(row, 0, cols, " ", Style::kStatus);
    // With nothing else to say, the status line says what comes next.
    std::string status = status_.empty() ? NextStep(program().console()) : status_;
    if (view().scrolled > 0) status = "[scrolled back; PgDn for newer] " + status;
    screen.Put(row, 1, status, Style::kStatus);
  }
  // The input line scrolls sideways to keep the cursor in view.
  const std::string prompt = "> ";
  const int prompt_width = TextWidth(prompt);
  const int room_for_text = std::max(1, cols - prompt_width - 1);
  const int before = TextWidth(std::string_view(input.text).substr(0, input.point));
  const int shift = before > room_for_text ? before - room_for_text : 0;
  std::string shown;
  int skipped = 0;
  for (std::size_t at = 0; at < input.text.size();) {
    const Glyph glyph = NextGlyph(input.text, at);
    at += glyph.bytes.size();
    if (skipped < shift) {
      skipped += glyph.width;
      continue;
    }
    shown += glyph.bytes;
  }
  const int row = rows - 1;
  screen.Put(row, 0, prompt, Style::kTitle);
  screen.Put(row, prompt_width, Printable(shown), Style::kPlain);
  screen.cursor_row = row;
  screen.cursor_col = std::min(cols - 1, prompt_width + before - shift);
  DrawOverlay(screen);
}

void ScreenConsole::DrawTop(VirtualScreen& screen) const {
  const int cols = screen.cols();
  const HostConsole& console = program().console();
  screen.Fill(0, 0, cols, " ", Style::kTitle);
  // With several channels the shown one and the keys to the others take
  // the version's place. The link's state keeps the right end; the title
  // is cut before it.
  const std::string title =
      views_.size() > 1
          ? Printable(view().name) + " [" + std::to_string(current_ + 1) + "/" +
                std::to_string(views_.size()) + "]  F1-F6 buttons  F7/F8 channel  PgUp/PgDn  help"
          : std::string("zorvik ") + ZORVIK_VERSION + "  F1-F6 buttons  PgUp/PgDn  Tab  help";
  int title_width = cols - 1;
  if (link_) {
    const std::string link = CutToWidth("IRC: " + link_(current_).text, cols - 1) + " ";
    const int link_col = std::max(0, cols - TextWidth(link));
    screen.Put(0, link_col, link, Style::kTitle);
    title_width = link_col - 2;
  }
  screen.Put(0, 1, CutToWidth(title, title_width), Style::kTitle);
  const MatchTable& t = console.table();
  const std::string hp_texts[2] = {t.player1Hp.empty() ? "" : Printable(t.player1Hp) + "/500",
                                   t.player2Hp.empty() ? "" : Printable(t.player2Hp) + "/500"};
  const SeatColumns fit = FitSeats(
      cols - 1,
      std::max(TextWidth(Printable(t.seat1Caption)), TextWidth(Printable(t.seat2Caption))),
      std::max(TextWidth(Printable(t.player1Creature)), TextWidth(Printable(t.player2Creature))),
      std::max(TextWidth(hp_texts[0]), TextWidth(hp_texts[1])));
  const auto seat = [&](int row, const std::string& caption, const std::string& creature,
                        const std::string& hp, const std::string& hp_text) {
    int col = 1;
    screen.Put(row, col, CutToWidth(Printable(caption), fit.caption), Style::kPlain);
    col += fit.caption + 1;
    if (fit.creature > 0) {
      screen.Put(row, col, CutToWidth(Printable(creature), fit.creature), Style::kPlain);
      col += fit.creature + 1;
    }
    if (hp_text.empty()) return;
    int points = 0;
    try {
      points = std::stoi(hp);
    } catch (...) {
      points = 0;
    }
    const Style style = HpStyle(points);
    if (fit.bar == 0) {
      screen.Put(row, col, hp_text, style);
      return;
    }
    col = screen.Put(row, col, hp_text + " ", style);
    const int filled = std::clamp((points * fit.bar + 499) / 500, 0, fit.bar);
    col = screen.Put(row, col, "[", Style::kBorder);
    screen.Fill(row, col, filled, "\u2588", style);
    screen.Fill(row, col + filled, fit.bar - filled, "\u00b7", Style::kBarEmpty);
    screen.Put(row, col + fit.bar, "]", Style::kBorder);
  };
  seat(1, t.seat1Caption, t.player1Creature, t.player1Hp, hp_texts[0]);
  seat(2, t.seat2Caption, t.player2Creature, t.player2Hp, hp_texts[1]);
  const std::vector<ButtonPlace> places = PlaceButtons(cols);
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    const bool usable = console.Usable(kConsoleButtons[i]);
    screen.Put(3 + places[i].row, places[i].col, ButtonLabel(i),
               usable ? Style::kButton : Style::kButtonDim);
  }
  screen.Fill(3 + places.back().row + 1, 0, cols, "\u2500", Style::kBorder);
}

void ScreenConsole::DrawRoom(VirtualScreen& screen, int top, int height) const {
  if (height <= 0) return;
  const int cols = screen.cols();
  // Rows from the newest line back, only as many as the view needs.
  struct Row {
    std::string text;
    Style style;
    int name_width;  // columns of the name at its start, in the name's style
  };
  std::vector<Row> rows;
  const std::size_t wanted = static_cast<std::size_t>(height + view().scrolled);
  const std::deque<ScreenLine>& room = view().room;
  for (auto line = room.rbegin(); line != room.rend() && rows.size() < wanted; ++line) {
    const Style style = line->kind == LineKind::kHost     ? Style::kHostLine
                        : line->kind == LineKind::kPlayer ? Style::kPlayerLine
                        : line->kind == LineKind::kNote   ? Style::kNote
                                                          : Style::kSpectatorLine;
    const std::string name = line->name.empty() ? "" : Printable(line->name) + ": ";
    const std::string whole = name + Printable(line->text);
    const std::vector<std::string_view> wrapped = WrapAtSpaces(whole, cols - 1);
    for (std::size_t i = wrapped.size(); i-- > 0;) {
      rows.push_back(Row{std::string(wrapped[i]), style,
                         i == 0 ? std::min(TextWidth(name), cols) : 0});
    }
  }
  const int first = static_cast<int>(std::min(rows.size(), wanted));
  // rows[0] is the newest; the view ends `scrolled` rows before it.
  const int skip = std::min(view().scrolled, std::max(0, first - height));
  int row = top + height - 1;
  for (int i = skip; i < static_cast<int>(rows.size()) && row >= top; ++i, --row) {
    const Row& r = rows[static_cast<std::size_t>(i)];
    const bool note = r.style == Style::kNote;
    if (r.name_width > 0 && !note) {
      std::size_t cut = 0;
      for (int w = 0; cut < r.text.size() && w < r.name_width;) {
        const Glyph glyph = NextGlyph(r.text, cut);
        w += glyph.width;
        cut += glyph.bytes.size();
      }
      const int col = screen.Put(row, 0, std::string_view(r.text).substr(0, cut), r.style);
      screen.Put(row, col, std::string_view(r.text).substr(cut), Style::kPlain);
    } else {
      screen.Put(row, 0, r.text, note ? Style::kNote : Style::kPlain);
    }
  }
}

int ScreenConsole::DrawFrame(VirtualScreen& screen, int height, int width,
                             const std::string& title, int& left) const {
  width = std::min(width, screen.cols());
  height = std::min(height, screen.rows());
  left = (screen.cols() - width) / 2;
  const int top = (screen.rows() - height) / 2;
  for (int r = 0; r < height; ++r) {
    const bool edge = r == 0 || r == height - 1;
    screen.Fill(top + r, left, width, edge ? "\u2500" : " ", edge ? Style::kBorder : Style::kPlain);
    screen.Put(top + r, left, r == 0 ? "\u250c" : r == height - 1 ? "\u2514" : "\u2502",
               Style::kBorder);
    screen.Put(top + r, left + width - 1,
               r == 0 ? "\u2510" : r == height - 1 ? "\u2518" : "\u2502", Style::kBorder);
  }
  screen.Put(top, left + 2, " " + CutToWidth(title, width - 6) + " ", Style::kTitle,
             std::max(0, width - 4));
  return top;
}

void ScreenConsole::DrawOverlay(VirtualScreen& screen) const {
  const int cols = screen.cols();
  if (program().form().shown()) {
    const int height = std::min(screen.rows(), 14);
    const int width = std::min(cols, 60);
    // The text's lines wrapped at blanks to the box, and the cursor's place
    // among the rows: on the last row of its line that starts at or before it.
    std::vector<std::string> rows;
    std::size_t cursor_row = 0;
    int cursor_col = 0;
    for (std::size_t from = 0;;) {
      const std::size_t nl = form_text_.find('\n', from);
      const std::size_t end = nl == std::string::npos ? form_text_.size() : nl;
      const std::string line = Printable(std::string_view(form_text_).substr(from, end - from));
      const bool cursor_here = form_point_ >= from && form_point_ <= end;
      const std::size_t cursor =
          cursor_here ? Printable(std::string_view(form_text_).substr(from, form_point_ - from)).size()
                      : 0;
      const std::vector<std::string_view> wrapped = WrapAtSpaces(line, width - 4);
      for (std::size_t i = 0; i < wrapped.size(); ++i) {
        const auto row_from = static_cast<std::size_t>(wrapped[i].data() - line.data());
        if (cursor_here && (i == 0 || row_from <= cursor)) {
          cursor_row = rows.size();
          cursor_col = row_from <= cursor
                           ? TextWidth(std::string_view(line).substr(row_from, cursor - row_from))
                           : 0;
        }
        rows.emplace_back(wrapped[i]);
      }
      if (nl == std::string::npos) break;
      from = nl + 1;
    }
    int left = 0;
    const int top = DrawFrame(screen, height, width, "mail me", left);
    const int area = std::max(1, height - 4);
    const int first = std::max(0, static_cast<int>(cursor_row) - area + 1);
    for (int r = 0; r < area && first + r < static_cast<int>(rows.size()); ++r) {
      screen.Put(top + 1 + r, left + 2, rows[static_cast<std::size_t>(first + r)], Style::kPlain,
                 width - 4);
    }
    int col = left + 2;
    const char* captions[] = {"bug report", "comments", "exit"};
    for (int i = 0; i < 3; ++i) {
      col = screen.Put(top + height - 2, col, std::string("[") + captions[i] + "]",
                       form_focus_ == i + 1 ? Style::kSelected : Style::kButton) + 2;
    }
    if (form_focus_ == 0) {
      screen.cursor_row = top + 1 + static_cast<int>(cursor_row) - first;
      screen.cursor_col = std::min(left + width - 2, left + 2 + cursor_col);
    }
  }
  if (menu_open_) {
    int left = 0;
    const int top = DrawFrame(screen, 6, 16, "info", left);
    std::size_t index = 0;
    int row = top + 1;
    for (const MenuEntry& entry : kInfoMenu) {
      if (!entry.item) {
        screen.Fill(row++, left + 1, 14, "\u2500", Style::kBorder);
        continue;
      }
      screen.Put(row++, left + 2, std::string(entry.caption),
                 index++ == menu_choice_ ? Style::kSelected : Style::kPlain, 12);
    }
  }
  if (!open_boxes_.empty()) {
    const Box& box = open_boxes_.front();
    int width = TextWidth(box.title) + 6;
    for (const std::string& line : box.lines) width = std::max(width, TextWidth(line) + 4);
    width = std::min(width, cols);
    // Where the screen is narrower than the text, the text wraps to it.
    std::vector<std::string_view> rows;
    for (const std::string& line : box.lines) {
      for (std::string_view row : WrapAtSpaces(line, width - 4)) rows.push_back(row);
    }
    const int height = std::min(static_cast<int>(rows.size()) + 4, screen.rows());
    int left = 0;
    const int top = DrawFrame(screen, height, width, box.title, left);
    for (int i = 0; i < height - 4; ++i) {
      screen.Put(top + 1 + i, left + 2, rows[static_cast<std::size_t>(i)], Style::kPlain,
                 std::max(0, width - 4));
    }
    screen.Put(top + height - 2, left + width / 2 - 3, "[ OK ]", Style::kSelected);
  }
  if (question_) {
    const int width = std::min(cols, TextWidth(question_->text) + 4);
    const std::vector<std::string_view> rows = WrapAtSpaces(question_->text, width - 4);
    int left = 0;
    const int top =
        DrawFrame(screen, static_cast<int>(rows.size()) + 2, width, question_->title, left);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      screen.Put(top + 1 + static_cast<int>(i), left + 2, rows[i], Style::kPlain, width - 4);
    }
  }
}

}  // namespace zorvik
