// Several channels on one host: two matches played at the same time, their
// steps interleaved, in two channels of one host process, each giving the
// channel the very lines the same match gives when played alone.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h>

#include <gtest/gtest.h>

#include "irc_harness.h"

namespace zorvik::irc_test {
namespace {

const std::string kHost = "zhost";

class IrcChannelsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.Start()) << "ngircd did not start"; }

  bool Enter(TestClient& client, const std::vector<std::string>& channels) {
    scene_.Add(client);
    if (!client.Open(server_.port())) return false;
    if (!scene_.Until([&] { return client.registered(); }, 10)) return false;
    for (const std::string& channel : channels) client.Send("JOIN " + channel);
    return scene_.Until(
        [&] {
          return std::count_if(client.raw.begin(), client.raw.end(), [&](const std::string& l) {
                   return l.starts_with(":" + client.nick() + "!") &&
                          l.find(" JOIN ") != std::string::npos;
                 }) == static_cast<long>(channels.size());
        },
        10);
  }

  // The console of `channel`'s host, as `show` prints it there (listeners
  // included); empty if it does not come.
  std::string Show(const std::string& channel) {
    const std::size_t asked = host_->lines.size();
    host_->Write("channel " + channel + "\nshow\n");
    std::string found;
    scene_.Until(
        [&] {
          for (std::size_t i = asked; i < host_->lines.size(); ++i) {
            const std::string& line = host_->lines[i];
            if (line.starts_with("[console]") && line.find("listening:") != std::string::npos) {
              found = line;
              return true;
            }
          }
          return false;
        },
        5);
    return found;
  }

  // Waits until `channel`'s console shows `part` in the section from `from`
  // to `to` (the buttons, the listeners).
  bool Shows(const std::string& channel, const std::string& from, const std::string& to,
             const std::string& part) {
    for (int tries = 0; tries < 100; ++tries) {
      const std::string line = Show(channel);
      const std::size_t at = line.find(from);
      if (at != std::string::npos &&
          line.substr(at, line.find(to, at) - at).find(part) != std::string::npos) {
        return true;
      }
      scene_.For(0.2);
    }
    return false;
  }

  // The host's lines in `channel`, as the watcher heard them.
  std::vector<std::string> HostLines(const std::string& channel) const {
    std::vector<std::string> lines;
    for (const Heard& heard : watcher_.heard) {
      if (heard.nick == kHost && heard.channel == channel) lines.push_back(heard.text);
    }
    return lines;
  }

  std::string Transcript() const {
    std::string text = "--- host terminal:\n";
    const std::size_t from = host_->lines.size() > 60 ? host_->lines.size() - 60 : 0;
    for (std::size_t i = from; i < host_->lines.size(); ++i) text += host_->lines[i] + "\n";
    return text;
  }

  Ngircd server_;
  Scene scene_;
  TestClient watcher_{"watcher"};
  std::unique_ptr<Child> host_;
};

// One match's steps: wait for the host to say `when` in the channel (if
// any), for the button or listener `ready`, then do `what`.
struct Step {
  std::string when;
  std::string ready;  // "button NAME" or "ChatN"
  std::string player;  // alice, bob, or empty for the operator at the terminal
  std::string what;
};

// The same seeded match, to four attacks, is played alone in #one, then in
// #one and #two at once with every step taken in one channel and then the
// other: both channels' lines equal the lone match's.
TEST_F(IrcChannelsTest, TwoMatchesAtOnceMatchOnePlayedAlone) {
  const std::vector<Step> steps = {
      {"", "button get players", "", "get players"},
      {"-=|[type: -join]=-", "Chat1", "alice", "-join"},
      {"-=|[alice has joined the game]|=-", "", "bob", "-join"},
      {"-=|[no more space for players]|=-", "button setup", "", "setup"},
      {"-=|[alice enter your zorvik first]|=-", "Chat2", "alice", "/pikachu"},
      {"-=|[bob type in a valid zorvik name]|=-", "Chat3", "bob", "/bulbasaur"},
      {"-=|[bob will use bulbasaur 500/500]|=-", "button start", "", "start"},
      {"-=|[alice choose your attack]|=-", "Chat4", "alice", "/thundershock"},
      {"-=|[bob choose your attack]|=-", "Chat5", "bob", "/tackle"},
      {"-=|[alice choose your attack]|=-", "Chat4", "alice", "/thunder"},
      {"-=|[bob choose your attack]|=-", "Chat5", "bob", "/tackle"},
      {"-=|[alice choose your attack]|=-", "button stop", "", "stop"},
  };
  const std::vector<std::vector<std::string>> runs = {{"#one"}, {"#one", "#two"}};
  std::vector<std::string> alone;
  for (const std::vector<std::string>& channels : runs) {
    SCOPED_TRACE(channels.size());
    scene_ = Scene();
    watcher_.Close();
    watcher_.heard.clear();
    watcher_.raw.clear();
    TestClient alice("alice"), bob("bob");
    ASSERT_TRUE(Enter(watcher_, channels));
    ASSERT_TRUE(Enter(alice, channels));
    ASSERT_TRUE(Enter(bob, channels));
    std::vector<std::string> argv = {ZORVIK_BINARY,
                                     "irc",
                                     "irc://127.0.0.1:" + std::to_string(server_.port()) + "/" +
                                         channels.front(),
                                     "--nick",
                                     kHost,
                                     "--seed",
                                     "110",
                                     "--burst",
                                     "10",
                                     "--lines-per-second",
                                     "2.5"};
    char folder[] = "/tmp/zorvik-channels-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    if (channels.size() > 1) {
      const std::string config = std::string(folder) + "/zorvik.toml";
      std::FILE* file = std::fopen(config.c_str(), "w");
      ASSERT_NE(file, nullptr);
      std::fprintf(file, "channels = [\"%s\"]\n", channels[1].c_str());
      std::fclose(file);
      argv.insert(argv.end(), {"--config", config});
    }
    host_ = std::make_unique<Child>(argv);
    scene_.Add(*host_);
    const double started = Elapsed();
    ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[console]"); }, 15)) << Transcript();
    for (const std::string& channel : channels) {
      ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[irc] joined " + channel); }, 15))
          << Transcript();
    }
    std::map<std::string, std::size_t> cursor;  // per channel, in watcher_.heard
    for (const Step& step : steps) {
      for (const std::string& channel : channels) {
        SCOPED_TRACE(channel + " " + step.what);
        if (!step.when.empty()) {
          ASSERT_TRUE(scene_.Until(
              [&] {
                for (std::size_t& at = cursor[channel]; at < watcher_.heard.size(); ++at) {
                  const Heard& heard = watcher_.heard[at];
                  if (heard.nick == kHost && heard.channel == channel &&
                      heard.text.find(step.when) != std::string::npos) {
                    ++at;
                    return true;
                  }
                }
                return false;
              },
              30))
              << Transcript();
        }
        if (step.ready.starts_with("button ")) {
          ASSERT_TRUE(Shows(channel, "buttons:", " | listening:", step.ready.substr(7)))
              << Transcript();
        } else if (!step.ready.empty()) {
          ASSERT_TRUE(Shows(channel, "listening:", "\n", step.ready)) << Transcript();
        }
        if (step.player.empty()) {
          host_->Write("channel " + channel + "\n" + step.what + "\n");
        } else {
          (step.player == "alice" ? alice : bob).Say(channel, step.what);
        }
      }
    }
    for (const std::string& channel : channels) {
      ASSERT_TRUE(Shows(channel, "buttons:", " | listening:", "get players")) << Transcript();
    }
    // Until the host has said all it had queued.
    for (std::size_t before = 0; before != watcher_.heard.size();) {
      before = watcher_.heard.size();
      scene_.For(3);
    }
    const double stopped = Elapsed();
    // The lines of the match, before "exit" unloads the host.
    if (alone.empty()) {
      alone = HostLines("#one");
      EXPECT_GT(alone.size(), 40u);
    } else {
      for (const std::string& channel : channels) EXPECT_EQ(HostLines(channel), alone) << channel;
    }
    host_->Write("exit\n");
    ASSERT_TRUE(scene_.Until([&] { return host_->Printed("[exit] goodbye"); }, 20))
        << Transcript();
    std::printf("[ figures  ] %zu channel(s): %zu match lines in each, %.1f s to the stop\n",
                channels.size(), alone.size(), stopped - started);
    host_.reset();
    std::filesystem::remove_all(folder);
  }
}

}  // namespace
}  // namespace zorvik::irc_test
