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
  if (started_ && text == last_text_) return added;
  std::vector<std::string> lines = SplitLines(text);
  if (started_) {
    for (std::size_t i = SeenLines(lines, last_lines_); i < lines.size(); ++i) {
      const std::string& line = lines[i];
      const std::size_t colon = line.find(":\t");
      if (colon == std::string::npos) continue;
      added.push_back(HistoryLine{line.substr(0, colon), line.substr(colon + 2)});
    }
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
}

}  // namespace zorvik
