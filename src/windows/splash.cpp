#include "windows/splash.h"

#include <utility>

#include "bridge/kit/client_kit.h"

namespace zorvik {

Splash::Splash(ChatClient& client, OwnWindow& window, HostConsole& console)
    : client_(client), window_(window), console_(console) {}

void Splash::AddVisibilityObserver(std::function<void(bool shown)> observer) {
  observers_.push_back(std::move(observer));
}

void Splash::Load() {
  StayOnTop(window_);
  CenterWindow(window_);
  client_.ChatSend(kBlankLine);
  client_.ChatSend("-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-=|[loaded]|=-");
  client_.ChatSend("-=|[gotta catch'em all]|=-");
  client_.ChatSend(kBlankLine);
  SetShown(true);
}

bool Splash::Click() {
  if (!shown_) return false;
  SetShown(false);
  console_.Show();
  return true;
}

void Splash::SetShown(bool shown) {
  if (shown_ == shown) return;
  shown_ = shown;
  for (const auto& observer : observers_) observer(shown);
}

}  // namespace zorvik
