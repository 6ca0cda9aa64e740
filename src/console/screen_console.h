// The full-screen console's model: what the terminal shows (the seats and
// buttons at the top, the room scrolling in the middle, a status line and
// the input line at the bottom, and overlays for the info menu, the boxes,
// the feedback form and the Ctrl-C question), the keys that are not the
// input line's, and Tab completion. It knows no terminal: the terminal
// part feeds it keys and typed lines and copies Draw's virtual screen out.
//
// Keys run their actions as tasks on the program's loop, so a button press
// dispatches (re-enters) there, never inside HandleKey.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_front_end.h"
#include "app/host_program.h"
#include "console/virtual_screen.h"

namespace zorvik {

// Keys other than text bytes (which are their own values, 0x20 to 0xFF).
enum Key : int {
  kKeyEnter = '\n', kKeyTab = '\t', kKeyEscape = 27, kKeyBackspace = 127,
  kKeyInterrupt = 3,  // Ctrl-C
  kKeyF1 = 0x10000, kKeyF2, kKeyF3, kKeyF4, kKeyF5, kKeyF6,
  kKeyPageUp, kKeyPageDown, kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyHome, kKeyEnd,
  kKeyDelete, kKeyBackTab,
  kKeyF7, kKeyF8,  // the previous and the next channel
};

enum class LineKind { kHost, kPlayer, kSpectator, kNote };

struct ScreenLine {
  std::string name;  // empty for a note
  std::string text;
  LineKind kind;
};

// The input line as the line editor has it.
struct InputLine {
  std::string text;
  std::size_t point = 0;  // the cursor, a byte offset into text
};

class ScreenConsole {
 public:
  // Lines kept for scrolling back; older ones are forgotten.
  static constexpr std::size_t kScrollback = 2000;
  // Waits, dispatching, until `done()` (a modal box's OK).
  using ModalWait = std::function<void(const std::function<bool()>& done)>;

  // Observes `program` from now on; both must outlive the console.
  ScreenConsole(HostProgram& program, ModalWait wait);
  // Several hosts, one per channel, each with its own room kept apart;
  // one is shown at a time, the first to begin with, and the keys and
  // commands go to its host. F7 and F8 (or "channel #NAME") show another.
  // `channels` must not be empty; the hosts must outlive the console.
  ScreenConsole(const std::vector<ConsoleFrontEnd::Channel>& channels, ModalWait wait);
  ScreenConsole(const ScreenConsole&) = delete;
  ScreenConsole& operator=(const ScreenConsole&) = delete;

  // Lines written here (one at each std::endl) go into the room as notes;
  // a refusal ("[?] ...") goes to the status line instead.
  std::ostream& notes() { return notes_; }
  // Boxes as overlays; Show waits (dispatching) for Enter or Escape.
  MessageBoxes& boxes() { return boxes_; }
  // Asked for the shown channel's link whenever the top is drawn.
  void SetLinkState(std::function<LinkState(std::size_t shown)> state) { link_ = std::move(state); }
  // Called whenever anything shown has changed. Must not dispatch.
  void SetRedrawRequest(std::function<void()> request) { redraw_ = std::move(request); }
  // Leaves at once, for Ctrl-C when "exit" cannot be pressed.
  void SetQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
  void SetCommandsEnabled(bool enabled) { commands_ = enabled; }

  void HostLine(const std::string& nick, const std::string& text);
  // HostLine for the host of channel `index`; ignored out of range.
  void ChannelHostLine(std::size_t index, const std::string& nick, const std::string& text);
  // Shows channel `index` (wrapping around) with its own room and seats.
  void ShowChannel(std::size_t index);
  std::size_t shown_channel() const { return current_; }

  // Whether an overlay is open: then every key belongs to HandleKey.
  bool TakesKeys() const;
  // Handles a function key, a scroll key, Ctrl-C or an overlay's key;
  // false when the key is the input line's. Never dispatches.
  bool HandleKey(int key);
  // A line typed and entered: runs as a task.
  void Submit(const std::string& line);
  // Whole-line completions of `typed` (the line up to the cursor).
  std::vector<std::string> Complete(std::string_view typed) const;
  // Shows a list (of completions) on the status line.
  void SetStatus(std::string status);

  // Draws everything into `screen` (of any size) and puts its cursor where
  // typing goes.
  void Draw(VirtualScreen& screen, const InputLine& input) const;
  // Whether the top counts down and wants a redraw in a second.
  bool Counting() const { return link_ && link_(current_).counting; }

  // The shown channel's room.
  const std::deque<ScreenLine>& room() const { return view().room; }
  const std::string& status() const { return status_; }

 private:
  class NoteBuffer : public std::stringbuf {
   public:
    explicit NoteBuffer(ScreenConsole& owner) : owner_(owner) {}
    int sync() override;

   private:
    ScreenConsole& owner_;
  };
  class Boxes : public MessageBoxes {
   public:
    explicit Boxes(ScreenConsole& owner) : owner_(owner) {}
    void Show(const std::string& title, const std::string& text) override;

   private:
    ScreenConsole& owner_;
  };
  struct Box {
    std::uint64_t id;
    std::string title;
    std::vector<std::string> lines;
  };

  // A channel's host and what the console keeps of its room.
  struct View {
    std::string name;
    HostProgram* program;
    std::deque<ScreenLine> room;
    int scrolled = 0;  // rows scrolled back from the newest
    std::string host_nick;
    std::set<std::string> names_seen;
  };

  void Observe(std::size_t index);
  View& view() { return *views_[current_]; }
  const View& view() const { return *views_[current_]; }
  HostProgram& program() const { return *views_[current_]->program; }
  void AddLine(View& view, ScreenLine line);
  void Note(const std::string& line);
  LineKind KindOf(const View& view, const std::string& name) const;
  bool SwitchCommand(std::string_view command);
  void LoadForm();
  void PressButton(std::size_t index);
  void Later(std::function<void()> task);
  void Changed() const {
    if (redraw_) redraw_();
  }
  bool FormKey(int key);
  void FormEdited();
  bool MatchRunning() const;

  void DrawTop(VirtualScreen& screen) const;
  void DrawRoom(VirtualScreen& screen, int top, int height) const;
  void DrawOverlay(VirtualScreen& screen) const;
  int DrawFrame(VirtualScreen& screen, int height, int width, const std::string& title,
                int& left) const;

  std::vector<std::unique_ptr<View>> views_;
  std::size_t current_ = 0;
  ModalWait wait_;
  NoteBuffer note_buffer_{*this};
  std::ostream notes_{&note_buffer_};
  Boxes boxes_{*this};
  std::function<LinkState(std::size_t)> link_;
  std::function<void()> redraw_;
  std::function<void()> quit_;
  bool commands_ = true;

  mutable int room_height_ = 10;
  std::string status_;

  std::deque<Box> open_boxes_;
  std::uint64_t last_box_ = 0;
  bool menu_open_ = false;
  std::size_t menu_choice_ = 0;
  // A yes-or-no question over everything (Ctrl-C, F2 or setup in a match):
  // "y" runs its action, any other key drops it.
  struct Question {
    std::string title;
    std::string text;
    std::function<void()> yes;
    int yes_key = 'y';  // a key that answers yes besides "y" and "Y"
  };
  void Ask(std::string title, std::string text, std::function<void()> yes, int yes_key = 'y');
  void ExitOrQuit();
  std::optional<Question> question_;
  std::string form_text_;  // the form's text with LF breaks, as edited
  std::size_t form_point_ = 0;
  int form_focus_ = 0;  // 0 the text, 1 to 3 its buttons
};

}  // namespace zorvik
