#include "service/irc_console.h"

#include <cstdio>
#include <random>
#include <string>

#include "console/console_printer.h"
#include "console/text_console.h"
#include "bridge/irc/irc_client.h"

namespace zorvik {

std::optional<Micros> ReconnectTime(std::string_view news, Micros now) {
  // The client's news of a lost link ends "...; trying again in 4.0 s".
  constexpr std::string_view kTrying = "; trying again in ";
  const std::size_t at = news.rfind(kTrying);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string number(news.substr(at + kTrying.size()));
  double seconds = 0;
  if (std::sscanf(number.c_str(), "%lf", &seconds) != 1) return std::nullopt;
  return now + SecondsToMicros(seconds);
}

LinkState DescribeLink(const LinkFacts& facts, Micros now) {
  LinkState state;
  if (facts.given_up) {
    state.text = "given up";
  } else if (facts.joined) {
    state.text = "connected";
  } else if (facts.reconnect_at && *facts.reconnect_at > now) {
    const Micros left = *facts.reconnect_at - now;
    state.text = "reconnecting in " +
                 std::to_string((left + kMicrosPerSecond - 1) / kMicrosPerSecond) + " s";
    state.counting = true;
  } else {
    state.text = facts.registered ? "joining the channel" : "connecting";
  }
  if (facts.waiting > 0) state.text += ", " + std::to_string(facts.waiting) + " lines waiting";
  if (facts.dropped > 0) state.text += ", " + std::to_string(facts.dropped) + " dropped";
  return state;
}

}  // namespace zorvik
