#include "service/match_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <streambuf>
#include <system_error>
#include <vector>

#include "console/console_printer.h"
#include "bridge/kit/client_kit.h"

namespace zorvik {

namespace {

constexpr std::size_t kMaxChannelPart = 64;
constexpr std::size_t kStampLength = 20;  // "2026-12-07T10-15-03Z"
constexpr std::string_view kSuffix = ".log";

bool SafeByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("#&+!._-").find(c) != std::string_view::npos;
}

}  // namespace

// Unbuffered: every record the writer flushes is one write() to the file.
class MatchLog::FileOut : public std::streambuf {
 public:
  explicit FileOut(int fd) : fd_(fd) {}
  ~FileOut() override { close(fd_); }
  int error() const { return error_; }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    std::streamsize done = 0;
    while (done < size) {
      const ssize_t wrote = write(fd_, data + done, static_cast<std::size_t>(size - done));
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) {
        error_ = wrote < 0 ? errno : ENOSPC;
        break;
      }
      done += wrote;
    }
    return done;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
  }

 private:
  int fd_;
  int error_ = 0;
};

// The program's client, with the switch and the mail noted on their way.
class MatchLog::LoggedChat : public ChatClient {
 public:
  LoggedChat(ChatClient& chat, MatchLog& log) : chat_(chat), log_(log) {}
  void ChatSend(std::string_view line) override { chat_.ChatSend(line); }
  void Pause(double seconds) override { chat_.Pause(seconds); }
  void InstantMessagesOff() override {
    log_.Record({"#im", kImOffName, kSwitchMessage});
    chat_.InstantMessagesOff();
  }
  void InstantMessagesOn() override {
    log_.Record({"#im", kImOnName, kSwitchMessage});
    chat_.InstantMessagesOn();
  }
  void SendMail(const std::string& recipient, const std::string& subject,
                const std::string& text) override {
    log_.Record({"#mail", recipient, subject, text});
    chat_.SendMail(recipient, subject, text);
  }

 private:
  ChatClient& chat_;
  MatchLog& log_;
};

std::string SafeChannelName(std::string_view channel) {
  std::string safe;
  for (char c : channel.substr(0, kMaxChannelPart)) safe += SafeByte(c) ? c : '_';
  return safe.empty() ? "_" : safe;
}

std::string LogFileName(std::chrono::system_clock::time_point start, std::string_view channel) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(start);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[32];
  if (std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H-%M-%SZ", &utc) != kStampLength) {
    std::strcpy(stamp, "0000-00-00T00-00-00Z");
  }
  return std::string(stamp) + "_" + SafeChannelName(channel) + std::string(kSuffix);
}

bool IsLogFileName(std::string_view name) {
  if (name.size() < kStampLength + 2 + kSuffix.size() || !name.ends_with(kSuffix)) return false;
  constexpr std::string_view kShape = "dddd-dd-ddTdd-dd-ddZ_";
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (kShape[i] == 'd' ? !digit : name[i] != kShape[i]) return false;
  }
  const std::string_view channel =
      name.substr(kShape.size(), name.size() - kShape.size() - kSuffix.size());
  return std::all_of(channel.begin(), channel.end(), SafeByte);
}

std::string PrepareLogFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const bool made = fs::create_directories(folder, error);
  if (error) return "cannot make the log folder " + folder + ": " + error.message();
  if (made) fs::permissions(folder, fs::perms(0750), error);
  if (!fs::is_directory(folder, error)) return "the log folder " + folder + " is not a folder";
  return {};
}

std::string PruneLogs(const std::string& folder, std::size_t keep) {
  namespace fs = std::filesystem;
  if (keep == 0) return {};
  std::error_code error;
  std::vector<std::string> logs;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code kind;
    if (IsLogFileName(name) && it->is_regular_file(kind)) logs.push_back(name);
  }
  if (error) return "cannot list the log folder " + folder + ": " + error.message();
  if (logs.size() <= keep) return {};
  // The start time leads the name: by name is oldest first.
  std::sort(logs.begin(), logs.end());
  for (std::size_t i = 0; i + keep < logs.size(); ++i) {
    if (!fs::remove(fs::path(folder) / logs[i], error) && error) {
      return "cannot remove the old log " + logs[i] + ": " + error.message();
    }
  }
  return {};
}

MatchLog::MatchLog(EventLoop& loop, ChatClient& chat, std::string channel, std::string folder,
                   std::size_t keep, std::ostream& notes, WallClock clock)
    : loop_(loop),
      channel_(std::move(channel)),
      folder_(std::move(folder)),
      keep_(keep),
      notes_(notes),
      clock_(std::move(clock)),
      chat_(std::make_unique<LoggedChat>(chat, *this)) {}

MatchLog::~MatchLog() {
  if (room_) room_->Unsubscribe(subscription_);
}

ChatClient& MatchLog::chat() { return *chat_; }

void MatchLog::Attach(HostProgram& program) {
  program_ = &program;
  if (folder_.empty()) return;
  room_ = &program.room();
  subscription_ = room_->Subscribe([this](const std::string& name, const std::string& text) {
    Record({name, text});
  });
  program.console().AddPressObserver([this](ConsoleButton button) {
    if (button == ConsoleButton::kGetPlayers && !writer_) Begin();
  });
  program.console().AddChangeObserver([this] { ConsoleChanged(); });
}

void MatchLog::HostLine(const std::string& nick, const std::string& text) { Record({nick, text}); }

void MatchLog::Link(bool joined, const std::string& news) {
  if (joined == joined_) return;
  joined_ = joined;
  Record({"#link", joined ? "up" : "down", news});
}

void MatchLog::Begin() {
  const std::string problem = PrepareLogFolder(folder_);
  if (!problem.empty()) {
    notes_ << "[log] " << Printable(problem) << "; this match is not logged" << std::endl;
    return;
  }
  const std::string name = LogFileName(clock_(), channel_);
  int fd = -1;
  std::string path;
  // Two matches begun in one second get "-2", "-3", ... after the channel.
  for (int attempt = 1; fd < 0 && attempt <= 9; ++attempt) {
    const std::string tried =
        attempt == 1 ? name
                     : name.substr(0, name.size() - kSuffix.size()) + "-" +
                           std::to_string(attempt) + std::string(kSuffix);
    path = (std::filesystem::path(folder_) / tried).string();
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0640);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    notes_ << "[log] cannot create " << Printable(path) << ": " << std::strerror(errno)
           << "; this match is not logged" << std::endl;
    return;
  }
  path_ = path;
  file_ = std::make_unique<FileOut>(fd);
  stream_ = std::make_unique<std::ostream>(file_.get());
  writer_ = std::make_unique<TranscriptWriter>(*stream_);
  start_ = loop_.Now();
  seated_ = false;
  last_console_.reset();
  const std::string pruned = PruneLogs(folder_, keep_);
  if (!pruned.empty()) notes_ << "[log] " << Printable(pruned) << std::endl;
  ConsoleChanged();
}

void MatchLog::End() {
  writer_.reset();
  stream_.reset();
  file_.reset();
  path_.clear();
}

void MatchLog::ConsoleChanged() {
  if (!writer_ || !program_) return;
  HostConsole& console = program_->console();
  auto record = ConsoleRecord(console);
  if (record != last_console_) {
    WriteConsoleRecord(*writer_, loop_.Now() - start_, record);
    last_console_ = std::move(record);
    if (!CheckWritten()) return;
  }
  if (console.ended()) {
    Record({"#exit"});
    End();
    return;
  }
  const bool free = console.Enabled(ConsoleButton::kGetPlayers);
  if (!free) seated_ = true;
  if (free && seated_) End();
}

void MatchLog::Exit() {
  if (!writer_) return;
  Record({"#exit"});
  End();
}

void MatchLog::Record(std::initializer_list<std::string_view> fields) {
  if (!writer_) return;
  writer_->Write(loop_.Now() - start_, fields);
  CheckWritten();
}

bool MatchLog::CheckWritten() {
  writer_->Flush();
  if (!stream_->bad()) return true;
  notes_ << "[log] cannot write " << Printable(path_) << ": " << std::strerror(file_->error())
         << "; the rest of this match is not logged" << std::endl;
  End();
  return false;
}

}  // namespace zorvik
