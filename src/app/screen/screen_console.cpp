#include "app/screen/screen_console.h"

#include <algorithm>

#include "app/console_printer.h"
#include "app/text_console.h"
#include "bridge/ascii_case.h"
#include "bridge/irc/irc_message.h"
#include "match/chat_text.h"
#include "windows/line_breaks.h"

namespace zorvik {

namespace {

// Rows above the room: the title, two seats, the buttons and a rule.
constexpr int kTopRows = 5;
constexpr int kBarWidth = 20;  // 25 hit points a cell
constexpr std::size_t kNamesKept = 500;

// Splits `text` into rows of at most `width` columns.
std::vector<std::string> Wrap(std::string_view text, int width) {
  std::vector<std::string> rows(1);
  int used = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Glyph glyph = NextGlyph(text, at);
    at += glyph.bytes.size();
    if (used + glyph.width > width && used > 0) {
      rows.emplace_back();
      used = 0;
    }
    rows.back() += glyph.bytes;
    used += glyph.width;
  }
  return rows;
}

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
          Note("[client] instant message to " + Printable(to) + ": " + Printable(message));
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
  return console.Usable(ConsoleButton::kStop) || console.Listening(1);
}

void ScreenConsole::PressButton(std::size_t index) {
  const ConsoleButton button = kConsoleButtons[index];
  HostConsole& console = program().console();
  if (!console.Usable(button)) {
    return SetStatus("\"" + std::string(ButtonCaption(button)) + "\" cannot be pressed now");
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

bool ScreenConsole::TakesKeys() const {
  return confirming_ || !open_boxes_.empty() || menu_open_ || program().form().shown();
}

bool ScreenConsole::HandleKey(int key) {
  if (confirming_) {
    confirming_ = false;
    if (key == 'y' || key == 'Y' || key == kKeyInterrupt) {
      if (program().console().Usable(ConsoleButton::kExit)) {
        Later([&shown = program()] { shown.console().Press(ConsoleButton::kExit); });
      } else if (quit_) {
        quit_();
      }
    }
    Changed();
    return true;
  }
  if (key == kKeyInterrupt) {
    if (MatchRunning()) {
      confirming_ = true;
      Changed();
    } else if (program().console().Usable(ConsoleButton::kExit)) {
      Later([&shown = program()] { shown.console().Press(ConsoleButton::kExit); });
    } else if (quit_) {
      quit_();
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
  const int top = rows >= kTopRows + 5 ? kTopRows : 0;
  const bool status_row = rows >= 3;
  const int room_top = top;
  const int room_height = std::max(0, rows - top - 1 - (status_row ? 1 : 0));
  room_height_ = std::max(1, room_height);
  if (top) DrawTop(screen);
  DrawRoom(screen, room_top, room_height);
  if (status_row) {
    const int row = rows - 2;
    screen.Fill(row, 0, cols, " ", Style::kStatus);
    std::string status = status_;
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
  // the version's place.
  const std::string title =
      views_.size() > 1
          ? Printable(view().name) + " [" + std::to_string(current_ + 1) + "/" +
                std::to_string(views_.size()) + "]  F1-F6 buttons  F7/F8 channel  PgUp/PgDn  help"
          : std::string("zorvik ") + ZORVIK_VERSION + "  F1-F6 buttons  PgUp/PgDn  Tab  help";
  screen.Put(0, 1, title, Style::kTitle);
  if (link_) {
    const std::string link = "IRC: " + link_(current_).text + " ";
    screen.Put(0, std::max(0, cols - TextWidth(link)), link, Style::kTitle);
  }
  const MatchTable& t = console.table();
  const auto seat = [&](int row, const std::string& caption, const std::string& creature,
                        const std::string& hp_text) {
    int col = screen.Put(row, 1, Printable(caption), Style::kPlain, 28);
    col = std::max(col + 1, 30);
    col = screen.Put(row, col, Printable(creature), Style::kPlain, 13);
    if (hp_text.empty()) return;
    col = std::max(col + 1, 44);
    int hp = 0;
    try {
      hp = std::stoi(hp_text);
    } catch (...) {
      hp = 0;
    }
    const Style style = HpStyle(hp);
    col = screen.Put(row, col, Printable(hp_text) + "/500 ", style);
    const int filled = std::clamp((hp * kBarWidth + 499) / 500, 0, kBarWidth);
    col = screen.Put(row, col, "[", Style::kBorder);
    screen.Fill(row, col, filled, "\u2588", style);
    screen.Fill(row, col + filled, kBarWidth - filled, "\u00b7", Style::kBarEmpty);
    screen.Put(row, col + kBarWidth, "]", Style::kBorder);
  };
  seat(1, t.seat1Caption, t.player1Creature, t.player1Hp);
  seat(2, t.seat2Caption, t.player2Creature, t.player2Hp);
  int col = 1;
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    const bool usable = console.Usable(kConsoleButtons[i]);
    const std::string label =
        "F" + std::to_string(i + 1) + " " + std::string(ButtonCaption(kConsoleButtons[i]));
    col = screen.Put(3, col, label, usable ? Style::kButton : Style::kButtonDim) + 2;
  }
  screen.Fill(4, 0, cols, "\u2500", Style::kBorder);
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
    std::vector<std::string> wrapped = Wrap(name + Printable(line->text), std::max(1, cols - 1));
    for (std::size_t i = wrapped.size(); i-- > 0;) {
      rows.push_back(Row{std::move(wrapped[i]), style,
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
  screen.Put(top, left + 2, " " + title + " ", Style::kTitle, std::max(0, width - 4));
  return top;
}

void ScreenConsole::DrawOverlay(VirtualScreen& screen) const {
  const int cols = screen.cols();
  if (program().form().shown()) {
    std::vector<std::string> lines;
    std::size_t from = 0, cursor_line = 0, cursor_byte = 0;
    for (;;) {
      const std::size_t nl = form_text_.find('\n', from);
      const std::size_t end = nl == std::string::npos ? form_text_.size() : nl;
      if (form_point_ >= from && form_point_ <= end) {
        cursor_line = lines.size();
        cursor_byte = form_point_ - from;
      }
      lines.push_back(form_text_.substr(from, end - from));
      if (nl == std::string::npos) break;
      from = nl + 1;
    }
    const int height = std::min(screen.rows(), 14);
    const int width = std::min(cols, 60);
    int left = 0;
    const int top = DrawFrame(screen, height, width, "mail me", left);
    const int area = std::max(1, height - 4);
    const int first = std::max(0, static_cast<int>(cursor_line) - area + 1);
    for (int r = 0; r < area && first + r < static_cast<int>(lines.size()); ++r) {
      screen.Put(top + 1 + r, left + 2, Printable(lines[static_cast<std::size_t>(first + r)]),
                 Style::kPlain, width - 4);
    }
    int col = left + 2;
    const char* captions[] = {"bug report", "comments", "exit"};
    for (int i = 0; i < 3; ++i) {
      col = screen.Put(top + height - 2, col, std::string("[") + captions[i] + "]",
                       form_focus_ == i + 1 ? Style::kSelected : Style::kButton) + 2;
    }
    if (form_focus_ == 0) {
      screen.cursor_row = top + 1 + static_cast<int>(cursor_line) - first;
      screen.cursor_col = std::min(
          left + width - 2,
          left + 2 + TextWidth(Printable(lines[cursor_line].substr(0, cursor_byte))));
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
    int left = 0;
    const int height = static_cast<int>(box.lines.size()) + 4;
    const int top = DrawFrame(screen, height, width, box.title, left);
    for (std::size_t i = 0; i < box.lines.size(); ++i) {
      screen.Put(top + 1 + static_cast<int>(i), left + 2, box.lines[i], Style::kPlain,
                 std::max(0, std::min(width, cols) - 4));
    }
    screen.Put(top + std::min(height, screen.rows()) - 2, left + std::min(width, cols) / 2 - 3,
               "[ OK ]", Style::kSelected);
  }
  if (confirming_) {
    int left = 0;
    const int top = DrawFrame(screen, 3, 44, "Ctrl-C", left);
    screen.Put(top + 1, left + 2, "End the match and exit? (y/n)", Style::kPlain, 40);
  }
}

}  // namespace zorvik
