#include "windows/info_menu.h"

namespace zorvik {

namespace {

std::string JoinLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += '\r';
    text += line;
    first = false;
  }
  return text;
}

}  // namespace

std::optional<MenuItem> MenuItemFromCaption(std::string_view caption) {
  for (const MenuEntry& entry : kInfoMenu) {
    if (entry.item && entry.caption == caption) return entry.item;
  }
  return std::nullopt;
}

const std::string& AboutText() {
  static const std::string kText = JoinLines({
      "z\u00f8rv\u00efk was written by va\u00f1d\u00f8r",
      "put together with a text editor, a compiler and a lot of late nights",
      "released december 2026",
      "made because the other battle hosts were way too confusing",
      "note: if i get enough request I'll start on a second version",
      "      next version might include multiplayer and PP limits",
      "have fun with this program.  try not to annoy people in rooms",
      "try it in a private room like zorvik  Make your own room and invite friends",
      "",
      std::string(56, ' ') + "-va\u00f1d\u00f8r",
  });
  return kText;
}

const std::string& HelpText() {
  static const std::string kText = JoinLines({
      "this game is easy to control, follow step by step",
      "step 1: first click on get players",
      "step 2: then after 2 people have joined click on setup",
      "step 3: after setup is complete click on start",
      "step 4: have fun playing!",
      "note:sometimes the program might scroll. Just sit back and wait for it to end",
      "note:if someone leaves or they just don't want to play, click on stop",
  });
  return kText;
}

InfoMenu::InfoMenu(MessageBoxes& boxes, FeedbackForm& form) : boxes_(boxes), form_(form) {}

void InfoMenu::Choose(MenuItem item) {
  loaded_ = true;
  switch (item) {
    case MenuItem::kAbout:
      boxes_.Show(std::string(kAboutTitle), AboutText());
      break;
    case MenuItem::kMailMe:
      form_.Show();
      break;
    case MenuItem::kHelp:
      boxes_.Show(std::string(kHelpTitle), HelpText());
      break;
  }
}

}  // namespace zorvik
