// The full-screen console on a terminal: ncursesw draws ScreenConsole's
// virtual screen, and GNU readline edits the input line through its
// callback interface. Nothing here blocks: the loop's descriptor watch on
// the terminal feeds keys one at a time, so every wait of the host stays
// nested in the loop as everywhere else. Readline never touches the
// terminal itself: its terminal set-up, output and redisplay are ours.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include <curses.h>
#include <readline/history.h>
#include <readline/readline.h>

#include "console/console_front_end.h"
#include "console/console_printer.h"
#include "console/key_reader.h"
#include "console/screen_console.h"
#include "console/text_console.h"
#include "text/utf8.h"

namespace zorvik {

namespace {

// Readline and the signal handlers are process-wide; so is the one screen.
class FullScreenConsole;
FullScreenConsole* the_screen = nullptr;
int signal_pipe[2] = {-1, -1};

void OnSignal(int number) {
  const char byte = static_cast<char>(number);
  // Nothing to do if the pipe is full: a redraw or the end is on its way.
  [[maybe_unused]] const ssize_t written = write(signal_pipe[1], &byte, 1);
}

constexpr int kSignals[] = {SIGWINCH, SIGTERM, SIGHUP, SIGINT, SIGQUIT};

// A crash must not leave the terminal in the alternate screen with keys in
// raw mode: the fatal signals put it back first, with only what a signal
// handler may call (write, tcsetattr), from what Open prepared, and then
// take their old course.
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction fatal_old_actions[std::size(kFatalSignals)] = {};
char restore_bytes[256];
std::size_t restore_length = 0;
termios saved_modes{};
bool have_saved_modes = false;

void OnFatalSignal(int number) {
  [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, restore_bytes, restore_length);
  if (have_saved_modes) tcsetattr(STDIN_FILENO, TCSANOW, &saved_modes);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) {
    if (kFatalSignals[i] == number) sigaction(number, &fatal_old_actions[i], nullptr);
  }
  raise(number);
}

// The terminal's own sequences that leave the full screen: the normal
// screen, the cursor keys in normal mode, the cursor shown, plain text.
void PrepareRestore() {
  restore_length = 0;
  for (const char* capability : {"sgr0", "cnorm", "rmkx", "rmcup"}) {
    const char* sequence = tigetstr(const_cast<char*>(capability));
    if (sequence == nullptr || sequence == reinterpret_cast<char*>(-1)) continue;
    const std::size_t length = std::strlen(sequence);
    if (restore_length + length > sizeof restore_bytes) break;
    std::memcpy(restore_bytes + restore_length, sequence, length);
    restore_length += length;
  }
}

class FullScreenConsole : public ConsoleFrontEnd {
 public:
  FullScreenConsole(PollLoop& loop, int input, std::ostream& out)
      : loop_(loop), input_(input), out_(out) {}
  ~FullScreenConsole() override { Restore(); }

  // Sets the terminal up; false (and nothing changed) when it cannot be.
  bool Open();

  // One stream for the front end's whole life: runners keep a reference
  // to it from before the screen is there.
  std::ostream& notes() override { return notes_; }
  MessageBoxes& boxes() override { return boxes_; }
  void Attach(HostProgram& program, bool commands) override;
  void HostLine(const std::string& nick, const std::string& text) override {
    if (screen_) screen_->HostLine(nick, text);
  }
  void AttachChannels(std::vector<Channel> channels) override;
  void ChannelHostLine(std::size_t index, const std::string& nick,
                       const std::string& text) override {
    if (screen_) screen_->ChannelHostLine(index, nick, text);
  }
  void SetLinkState(std::function<LinkState(std::size_t)> state) override {
    link_ = std::move(state);
    if (screen_) screen_->SetLinkState(link_);
  }

 private:
  // Boxes asked for before Attach are shown through the screen once it is there.
  class LateBoxes : public MessageBoxes {
   public:
    explicit LateBoxes(FullScreenConsole& owner) : owner_(owner) {}
    void Show(const std::string& title, const std::string& text) override {
      if (owner_.screen_) owner_.screen_->boxes().Show(title, text);
    }

   private:
    FullScreenConsole& owner_;
  };

  // The runner's news: kept until the screen is there, then passed on to
  // its room as notes.
  class NotesBuffer : public std::streambuf {
   public:
    explicit NotesBuffer(FullScreenConsole& owner) : owner_(owner) {}
    // Hands what was kept to the screen, which takes all from now on.
    void Flush() {
      if (!owner_.screen_ || early_.empty()) return;
      owner_.screen_->notes() << early_ << std::flush;
      early_.clear();
    }

   protected:
    int overflow(int c) override {
      if (c == traits_type::eof()) return 0;
      const char byte = static_cast<char>(c);
      xsputn(&byte, 1);
      return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize size) override {
      if (owner_.screen_) {
        owner_.screen_->notes().write(text, size);
      } else {
        early_.append(text, static_cast<std::size_t>(size));
      }
      return size;
    }
    int sync() override {
      if (owner_.screen_) owner_.screen_->notes().flush();
      return 0;
    }

   private:
    FullScreenConsole& owner_;
    std::string early_;
  };

  void Restore();
  // Shows `screen` and takes the keys from now on.
  void Start(std::unique_ptr<ScreenConsole> screen, bool commands);
  void ReadKeys();
  // A key the terminal sent a sequence for (kKeyF1, kKeyPageUp, ...).
  void NamedKey(int key);
  // Passes on what was held for the rest of a sequence or a character.
  void EndOfTyping();
  // One byte of typed text; whole UTF-8 characters go on to Text.
  void Byte(unsigned char byte);
  // What is left of a character cut short is not a character.
  void FlushBytes();
  // One typed character (its bytes), or a control byte.
  void Text(std::string_view bytes);
  void FeedReadline(int byte);
  void Draw();
  void RequestDraw();
  void OnSignals();

  static int ReadlineGetc(FILE*) { return the_screen->pending_; }
  static int InputAvailable() { return 0; }
  static void NoTerminal(int) {}
  static void NoTerminalReset() {}
  // Readline redraws after every byte; a paste of many is drawn once.
  static void Redisplay() { the_screen->RequestDraw(); }
  static void OnLine(char* line);
  static char** Completer(const char* text, int start, int end);
  static char* NextMatch(const char* text, int state);
  static void ShowMatches(char** matches, int count, int longest);

  PollLoop& loop_;
  const int input_;
  std::ostream& out_;
  LateBoxes boxes_{*this};
  std::unique_ptr<ScreenConsole> screen_;
  NotesBuffer notes_buffer_{*this};
  std::ostream notes_{&notes_buffer_};
  std::function<LinkState(std::size_t)> link_;
  SCREEN* terminal_ = nullptr;
  FILE* readline_out_ = nullptr;
  bool colours_ = false;
  bool draw_pending_ = false;
  bool tick_pending_ = false;
  int pending_ = 0;
  std::unique_ptr<KeyReader> keys_;
  std::uint64_t reads_ = 0;
  std::string partial_;  // the first bytes of a character being typed
  bool told_too_long_ = false;
  std::vector<std::string> matches_;
  struct sigaction old_actions_[std::size(kSignals)] = {};
};

bool FullScreenConsole::Open() {
  if (the_screen) return false;
  std::setlocale(LC_ALL, "");
  if (pipe(signal_pipe) != 0) return false;
  for (int fd : signal_pipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  have_saved_modes = tcgetattr(STDIN_FILENO, &saved_modes) == 0;
  FILE* in = fdopen(dup(input_), "r");
  terminal_ = in ? newterm(nullptr, stdout, in) : nullptr;
  if (!terminal_) {
    if (in) std::fclose(in);
    close(signal_pipe[0]);
    close(signal_pipe[1]);
    return false;
  }
  the_screen = this;
  raw();
  noecho();
  nonl();
  // Keypad mode makes the terminal send its description's key sequences,
  // which the key reader knows besides the common ones.
  keypad(stdscr, TRUE);
  KeyReader::Sequences sequences;
  const std::pair<const char*, int> capabilities[] = {
      {"kf1", kKeyF1},   {"kf2", kKeyF2},     {"kf3", kKeyF3},    {"kf4", kKeyF4},
      {"kf5", kKeyF5},   {"kf6", kKeyF6},     {"kf7", kKeyF7},    {"kf8", kKeyF8},
      {"kpp", kKeyPageUp}, {"knp", kKeyPageDown}, {"kcuu1", kKeyUp}, {"kcud1", kKeyDown},
      {"kcub1", kKeyLeft}, {"kcuf1", kKeyRight}, {"khome", kKeyHome}, {"kend", kKeyEnd},
      {"kdch1", kKeyDelete}, {"kcbt", kKeyBackTab}, {"kent", kKeyEnter}};
  for (const auto& [name, key] : capabilities) {
    const char* sequence = tigetstr(const_cast<char*>(name));
    if (sequence == nullptr || sequence == reinterpret_cast<char*>(-1)) continue;
    if (sequence[0] == '\x1b') sequences.emplace_back(sequence, key);
  }
  for (auto& common : KeyReader::CommonSequences()) sequences.push_back(std::move(common));
  keys_ = std::make_unique<KeyReader>(
      std::move(sequences), [this](int key) { NamedKey(key); },
      [this](unsigned char byte) { Byte(byte); });
  nodelay(stdscr, TRUE);
  // The keys are read by the key reader alone; a drawing is never cut
  // short because keys are waiting.
  typeahead(-1);
  if (has_colors()) {
    start_color();
    use_default_colors();
    colours_ = true;
    const short pairs[][2] = {{COLOR_BLACK, COLOR_CYAN}, {COLOR_GREEN, -1}, {COLOR_YELLOW, -1},
                              {COLOR_RED, -1},           {COLOR_CYAN, -1},  {COLOR_MAGENTA, -1},
                              {COLOR_BLUE, -1},          {COLOR_WHITE, COLOR_BLUE}};
    for (short i = 0; i < static_cast<short>(std::size(pairs)); ++i) {
      init_pair(static_cast<short>(i + 1), pairs[i][0], pairs[i][1]);
    }
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &old_actions_[i]);
  }
  loop_.WatchReadable(signal_pipe[0], [this] { OnSignals(); });
  PrepareRestore();
  struct sigaction fatal = {};
  fatal.sa_handler = OnFatalSignal;
  sigemptyset(&fatal.sa_mask);
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) {
    sigaction(kFatalSignals[i], &fatal, &fatal_old_actions[i]);
  }

  readline_out_ = std::fopen("/dev/null", "w");
  rl_readline_name = "zorvik";
  rl_catch_signals = 0;
  rl_catch_sigwinch = 0;
  rl_change_environment = 0;
  rl_instream = nullptr;
  rl_outstream = readline_out_;
  rl_getc_function = ReadlineGetc;
  rl_input_available_hook = InputAvailable;
  rl_prep_term_function = NoTerminal;
  rl_deprep_term_function = NoTerminalReset;
  rl_redisplay_function = Redisplay;
  rl_attempted_completion_function = Completer;
  rl_completion_display_matches_hook = ShowMatches;
  // Completion works on the whole line up to the cursor.
  static char no_breaks[] = "";
  rl_basic_word_break_characters = no_breaks;
  rl_completer_word_break_characters = no_breaks;
  using_history();
  stifle_history(500);
  rl_callback_handler_install("", OnLine);
  return true;
}

void FullScreenConsole::Restore() {
  if (the_screen != this) return;
  rl_callback_handler_remove();
  loop_.Unwatch(input_);
  loop_.Unwatch(signal_pipe[0]);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &old_actions_[i], nullptr);
  }
  for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) {
    sigaction(kFatalSignals[i], &fatal_old_actions[i], nullptr);
  }
  endwin();
  delscreen(terminal_);
  close(signal_pipe[0]);
  close(signal_pipe[1]);
  if (readline_out_) std::fclose(readline_out_);
  the_screen = nullptr;
  // What the room said last stays on the terminal after the screen is gone.
  if (screen_) {
    const auto& room = screen_->room();
    const std::size_t from = room.size() > 8 ? room.size() - 8 : 0;
    for (std::size_t i = from; i < room.size(); ++i) {
      const ScreenLine& line = room[i];
      out_ << (line.name.empty() ? "" : Printable(line.name) + ": ") << Printable(line.text)
           << '\n';
    }
    out_.flush();
  }
}

void FullScreenConsole::Attach(HostProgram& program, bool commands) {
  Start(std::make_unique<ScreenConsole>(
            program, [this](const std::function<bool()>& done) { loop_.WaitUntil(done); }),
        commands);
}

void FullScreenConsole::AttachChannels(std::vector<Channel> channels) {
  if (channels.empty()) return;
  Start(std::make_unique<ScreenConsole>(
            channels, [this](const std::function<bool()>& done) { loop_.WaitUntil(done); }),
        true);
}

void FullScreenConsole::Start(std::unique_ptr<ScreenConsole> screen, bool commands) {
  screen_ = std::move(screen);
  screen_->SetCommandsEnabled(commands);
  screen_->SetRedrawRequest([this] { RequestDraw(); });
  screen_->SetQuitAction([this] { loop_.Quit(); });
  if (link_) screen_->SetLinkState(link_);
  notes_buffer_.Flush();
  loop_.WatchReadable(input_, [this] { ReadKeys(); });
  RequestDraw();
}

void FullScreenConsole::RequestDraw() {
  if (draw_pending_) return;
  draw_pending_ = true;
  loop_.Post([this] {
    draw_pending_ = false;
    Draw();
  });
}

void FullScreenConsole::Draw() {
  if (the_screen != this || !screen_) return;
  VirtualScreen virtual_screen(LINES, COLS);
  InputLine input{rl_line_buffer ? rl_line_buffer : "", static_cast<std::size_t>(rl_point)};
  if (input.point > input.text.size()) input.point = input.text.size();
  screen_->Draw(virtual_screen, input);
  erase();
  for (int row = 0; row < virtual_screen.rows(); ++row) {
    for (int col = 0; col < virtual_screen.cols(); ++col) {
      const Cell& cell = virtual_screen.At(row, col);
      if (cell.glyph.empty()) continue;
      attr_t attributes = A_NORMAL;
      short pair = 0;
      switch (cell.style) {
        case Style::kPlain: break;
        case Style::kTitle: pair = 1; attributes = colours_ ? A_NORMAL : A_REVERSE; break;
        case Style::kHpGood: pair = 2; attributes = A_BOLD; break;
        case Style::kHpFair: pair = 3; attributes = A_BOLD; break;
        case Style::kHpLow: pair = 4; attributes = A_BOLD; break;
        case Style::kBarEmpty: attributes = A_DIM; break;
        case Style::kButton: attributes = A_BOLD; break;
        case Style::kButtonDim: attributes = A_DIM; break;
        case Style::kStatus: pair = 8; attributes = colours_ ? A_NORMAL : A_REVERSE; break;
        case Style::kHostLine: pair = 5; attributes = A_BOLD; break;
        case Style::kPlayerLine: pair = 3; attributes = A_BOLD; break;
        case Style::kSpectatorLine: pair = 6; break;
        case Style::kNote: pair = 7; attributes = colours_ ? A_NORMAL : A_DIM; break;
        case Style::kBorder: pair = 5; break;
        case Style::kSelected: attributes = A_REVERSE | A_BOLD; break;
      }
      attr_set(attributes, colours_ ? pair : 0, nullptr);
      mvaddstr(row, col, cell.glyph.c_str());
    }
  }
  attr_set(A_NORMAL, 0, nullptr);
  move(virtual_screen.cursor_row, virtual_screen.cursor_col);
  refresh();
  if (screen_->Counting() && !tick_pending_) {
    tick_pending_ = true;
    loop_.ScheduleAfter(kMicrosPerSecond, [this] {
      tick_pending_ = false;
      RequestDraw();
    });
  }
}

void FullScreenConsole::OnSignals() {
  char numbers[16];
  const ssize_t got = read(signal_pipe[0], numbers, sizeof numbers);
  for (ssize_t i = 0; i < got; ++i) {
    if (numbers[i] == SIGWINCH) {
      winsize size{};
      if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
        resizeterm(size.ws_row, size.ws_col);
      }
      RequestDraw();
    } else {
      // Ended from outside: the terminal is restored on the way out.
      loop_.Quit();
      return;
    }
  }
}

void FullScreenConsole::ReadKeys() {
  // Read in blocks: ncurses reads a byte per system call, which made a
  // paste of 100,000 bytes cost half a second of processor time.
  char block[4096];
  const ssize_t got = read(input_, block, sizeof block);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (got <= 0) {
    // Readable with nothing to read: the terminal has gone away.
    loop_.Quit();
    return;
  }
  keys_->Feed(std::string_view(block, static_cast<std::size_t>(got)));
  if (the_screen != this || loop_.Quitting()) return;
  // A key's sequence or a character cut by the end of the block goes on in
  // the next one; with nothing more soon, what is held is what was typed.
  int waiting = 0;
  if (ioctl(input_, FIONREAD, &waiting) == 0 && waiting > 0) return;
  if (keys_->holding()) {
    const std::uint64_t read_count = ++reads_;
    loop_.ScheduleAfter(kMicrosPerSecond / 40, [this, read_count] {
      if (the_screen == this && read_count == reads_) EndOfTyping();
    });
    return;
  }
  FlushBytes();
}

void FullScreenConsole::EndOfTyping() {
  keys_->Flush();
  FlushBytes();
}

void FullScreenConsole::Byte(unsigned char byte) {
  partial_.push_back(static_cast<char>(byte));
  // An invalid start becomes one replacement character, and the bytes
  // after it are read again.
  while (!partial_.empty()) {
    const Utf8Read read = ReadUtf8(partial_);
    if (read.status == Utf8Read::kIncomplete) return;
    const std::string character =
        read.status == Utf8Read::kValid ? partial_.substr(0, read.length) : "\uFFFD";
    partial_.erase(0, read.length);
    Text(character);
    if (the_screen != this || loop_.Quitting()) return;
  }
}

void FullScreenConsole::FlushBytes() {
  if (partial_.empty()) return;
  partial_.clear();
  Text("\uFFFD");
}

void FullScreenConsole::FeedReadline(int byte) {
  pending_ = byte;
  rl_callback_read_char();
}

void FullScreenConsole::NamedKey(int key) {
  FlushBytes();
  if (screen_->HandleKey(key)) return;
  // The line editor's own keys, as its Emacs bindings know them.
  switch (key) {
    case kKeyUp: return FeedReadline(16);    // C-p
    case kKeyDown: return FeedReadline(14);  // C-n
    case kKeyLeft: return FeedReadline(2);   // C-b
    case kKeyRight: return FeedReadline(6);  // C-f
    case kKeyHome: return FeedReadline(1);   // C-a
    case kKeyEnd: return FeedReadline(5);    // C-e
    case kKeyEnter: return FeedReadline('\r');
    case kKeyDelete:
      rl_delete(1, 0);
      return RequestDraw();
    default: return;
  }
}

void FullScreenConsole::Text(std::string_view bytes) {
  ScreenConsole& screen = *screen_;
  const unsigned char first = static_cast<unsigned char>(bytes.front());
  if (screen.TakesKeys() || first == 3) {
    // An overlay takes the text's bytes one by one (the form edits UTF-8).
    if (bytes.size() == 1) {
      int key = first;
      if (first == '\r') key = kKeyEnter;
      if (first == 8) key = kKeyBackspace;
      screen.HandleKey(key);
      return;
    }
    for (const char byte : bytes) screen.HandleKey(static_cast<unsigned char>(byte));
    return;
  }
  const bool printable = first >= 0x20 && first != 0x7F;
  if (printable && rl_end >= 0 &&
      static_cast<std::size_t>(rl_end) + bytes.size() > kLongestCommand) {
    // The rest of a long paste is dropped, said once per line.
    if (!told_too_long_) {
      told_too_long_ = true;
      screen.SetStatus("a line holds at most " + std::to_string(kLongestCommand) +
                       " bytes; the rest was not taken");
    }
    return;
  }
  for (const char byte : bytes) {
    const unsigned char one = static_cast<unsigned char>(byte);
    FeedReadline(one == '\n' ? '\r' : one);
    if (the_screen != this) return;
  }
}

void FullScreenConsole::OnLine(char* line) {
  // Ctrl-D on an empty line is the end of input to readline; here it is
  // nothing, and the editor goes on.
  if (!line) {
    rl_callback_handler_install("", OnLine);
    return;
  }
  const std::string typed = line;
  std::free(line);
  the_screen->told_too_long_ = false;
  if (!typed.empty()) add_history(typed.c_str());
  the_screen->screen_->Submit(typed);
}

char** FullScreenConsole::Completer(const char* text, int, int) {
  rl_attempted_completion_over = 1;
  rl_completion_suppress_append = 1;
  the_screen->matches_ =
      the_screen->screen_->Complete(std::string_view(rl_line_buffer, static_cast<std::size_t>(rl_point)));
  return rl_completion_matches(text, NextMatch);
}

char* FullScreenConsole::NextMatch(const char*, int state) {
  static std::size_t next = 0;
  if (state == 0) next = 0;
  const std::vector<std::string>& matches = the_screen->matches_;
  if (next >= matches.size()) return nullptr;
  return strdup(matches[next++].c_str());
}

void FullScreenConsole::ShowMatches(char** matches, int count, int) {
  std::string list;
  for (int i = 1; i <= count && list.size() < 400; ++i) {
    list += (i > 1 ? "  " : "") + std::string(matches[i]);
  }
  the_screen->screen_->SetStatus(list);
  the_screen->Draw();
}

}  // namespace

std::unique_ptr<ConsoleFrontEnd> MakeFullScreenConsole(PollLoop& loop, int input,
                                                        std::ostream& out) {
  auto screen = std::make_unique<FullScreenConsole>(loop, input, out);
  if (!screen->Open()) return nullptr;
  return screen;
}

bool FullScreenAvailable() {
  return true;
}

}  // namespace zorvik
