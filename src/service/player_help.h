// Help for players, without noise in the channel: "+help" and "+roster",
// said in a served channel or by private message, are answered by notice
// to the asker alone, each at most once a minute a person.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "autopilot/autopilot.h"
#include "bridge/loop/event_loop.h"

namespace zorvik {

class PlayerHelp {
 public:
  // Sends `text` (lines separated by '\n') to `nick` as notices.
  using Notice = std::function<void(const std::string& nick, const std::string& text)>;

  // `loop` must outlive the help.
  PlayerHelp(EventLoop& loop, Notice notice);

  // A channel served, and its autopilot's settings when one runs there. The
  // first channel added is the one a private "+help" describes.
  void AddChannel(const std::string& channel, std::optional<AutopilotSettings> autopilot);

  // A line `nick` said in `channel` ("" for a private message). True when
  // it asked for help or the roster, answered or not (a second request
  // within a minute is not).
  bool Hear(const std::string& nick, const std::string& channel, const std::string& text);

  // What +help says about `channel`, one line each.
  std::string HelpText(const std::string& channel) const;

 private:
  struct Channel {
    std::string name;
    std::optional<AutopilotSettings> autopilot;
  };

  EventLoop& loop_;
  Notice notice_;
  std::vector<Channel> channels_;
  // When each (lower-cased nick, request) was last answered; entries older
  // than a minute are dropped as requests come.
  std::map<std::string, Micros> answered_;
};

}  // namespace zorvik
