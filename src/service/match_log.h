// Match logs: every match of one channel written, as it happens, to a file
// of its own in the replay transcript format, one write a record, so that a
// crash loses nothing that was said.
//
// A match runs from the press of "get players" that finds no match logged
// to the change after which "get players" is usable again (a "stop" after
// the seats were filled), or to the end of the program ("#exit"). Its times
// are seconds since that press. The log holds the room's lines (the host's
// own as they go on the wire), a `#console` record at the start and after
// every change that alters it, the instant-message switch (`#im`), mail
// (`#mail`), and the channel link's drops and returns as
// `#link<TAB>down<TAB>NEWS` and `#link<TAB>up<TAB>NEWS`.
//
// Files are named "2026-12-07T10-15-03Z_#zorvik.log" (the start in UTC and
// the channel made safe for a file name), created with mode 0640; past
// `keep` logs in the folder, the oldest are removed. A log that cannot be
// written says so once in the notes; the host carries on.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/host_program.h"
#include "replay/replay.h"
#include "replay/transcript.h"
#include "bridge/chat_client.h"

namespace zorvik {

using WallClock = std::function<std::chrono::system_clock::time_point()>;

// `channel` as a piece of a file name: letters, digits and # & + ! . _ -
// stay, every other byte becomes '_', at most 64 bytes; never empty.
std::string SafeChannelName(std::string_view channel);
// "2026-12-07T10-15-03Z_#zorvik.log" for a match of #zorvik started then.
std::string LogFileName(std::chrono::system_clock::time_point start, std::string_view channel);
// Whether `name` is one LogFileName could have made (with a "-N" added).
bool IsLogFileName(std::string_view name);
// Creates `folder` (mode 0750) and its parents if missing. Returns the
// problem, or empty.
std::string PrepareLogFolder(const std::string& folder);
// Removes the oldest log files of `folder` until `keep` are left (0: keeps
// them all); other files are left alone. Returns the problem, or empty.
std::string PruneLogs(const std::string& folder, std::size_t keep);

class MatchLog {
 public:
  // Logs the matches of `channel` into `folder` (empty: logs nothing).
  // `loop`, `chat` and `notes` must outlive the log.
  MatchLog(EventLoop& loop, ChatClient& chat, std::string channel, std::string folder,
           std::size_t keep, std::ostream& notes,
           WallClock clock = [] { return std::chrono::system_clock::now(); });
  MatchLog(const MatchLog&) = delete;
  MatchLog& operator=(const MatchLog&) = delete;
  ~MatchLog();

  // The client to give the program: `chat`, with its switches and mail
  // logged.
  ChatClient& chat();
  // Starts watching `program`, which must not run once the log is gone;
  // its room must outlive the log.
  void Attach(HostProgram& program);
  // A line of the host's as it goes to the channel.
  void HostLine(const std::string& nick, const std::string& text);
  // The link's news; `joined` whether the channel is joined after it.
  void Link(bool joined, const std::string& news);
  // The program ends without its console's "exit" (a signal): the match
  // being logged, if any, ends with "#exit".
  void Exit();

  // The file of the match being logged; empty when none is.
  const std::string& path() const { return path_; }

 private:
  class LoggedChat;
  class FileOut;

  void Begin();
  void End();
  void ConsoleChanged();
  void Record(std::initializer_list<std::string_view> fields);
  bool CheckWritten();

  EventLoop& loop_;
  std::string channel_;
  std::string folder_;
  std::size_t keep_;
  std::ostream& notes_;
  WallClock clock_;
  std::unique_ptr<LoggedChat> chat_;
  HostProgram* program_ = nullptr;
  RoomFeed* room_ = nullptr;
  RoomFeed::SubscriptionId subscription_ = 0;
  bool joined_ = false;

  // The match being logged.
  std::string path_;
  std::unique_ptr<FileOut> file_;
  std::unique_ptr<std::ostream> stream_;
  std::unique_ptr<TranscriptWriter> writer_;
  Micros start_ = 0;
  bool seated_ = false;  // "get players" has gone unusable in this match
  std::optional<std::array<std::string, 9>> last_console_;
};

}  // namespace zorvik
