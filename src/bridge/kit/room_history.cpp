#include "bridge/kit/room_history.h"

#include <cstddef>

namespace zorvik {

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

// The length of the longest run of lines at the start of `now` that is also
// the end of `before`: the prefix function of now + (separator) + before,
// taken at its end.
std::size_t SeenLines(const std::vector<std::string>& now,
                      const std::vector<std::string>& before) {
  const std::size_t pattern = now.size();
  const std::size_t total = pattern + 1 + before.size();
  const auto at = [&](std::size_t i) -> const std::string* {
    if (i < pattern) return &now[i];
    if (i == pattern) return nullptr;  // the separator equals nothing
    return &before[i - pattern - 1];
  };
  const auto same = [&](std::size_t a, std::size_t b) {
    const std::string* x = at(a);
    const std::string* y = at(b);
    return x && y && *x == *y;
  };
  std::vector<std::size_t> prefix(total, 0);
  for (std::size_t i = 1; i < total; ++i) {
    std::size_t k = prefix[i - 1];
    while (k > 0 && !same(i, k)) k = prefix[k - 1];
    if (same(i, k)) ++k;
    prefix[i] = k;
  }
  return prefix[total - 1];
}

}  // namespace

std::vector<HistoryLine> RoomHistory::Update(std::string_view text) {
  std::vector<HistoryLine> added;
  const auto report = [&added](const std::string& line) {
    const std::size_t colon = line.find(":\t");
    if (colon == std::string::npos) return;
    added.push_back(HistoryLine{line.substr(0, colon), line.substr(colon + 2)});
  };
  if (started_ && text == last_text_) {
    // Unchanged since the last read: a held last line is whole (and old,
    // when it was already there at the first read).
    if (holding_) {
      if (!held_was_there_) report(held_);
      last_lines_.push_back(std::move(held_));
      held_.clear();
      holding_ = false;
    }
    return added;
  }
  std::vector<std::string> lines = SplitLines(text);
  const bool ended = text.empty() || text.back() == '\r' || text.back() == '\n';
  held_.clear();
  held_was_there_ = !started_;
  holding_ = !ended && !lines.empty();
  if (holding_) {
    held_ = std::move(lines.back());
    lines.pop_back();
  }
  if (started_) {
    for (std::size_t i = SeenLines(lines, last_lines_); i < lines.size(); ++i) report(lines[i]);
  }
  started_ = true;
  last_text_.assign(text);
  last_lines_ = std::move(lines);
  return added;
}

void RoomHistory::Reset() {
  started_ = false;
  last_text_.clear();
  last_lines_.clear();
  held_.clear();
  holding_ = false;
  held_was_there_ = false;
}

}  // namespace zorvik
