// The console's info menu (about, mail me, a separator, help) with the texts
// of the about and help boxes. The menu's holder window is made the first
// time the menu pops up and is never shown itself.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "windows/feedback_form.h"
#include "windows/message_box.h"

namespace zorvik {

enum class MenuItem { kAbout, kMailMe, kHelp };

struct MenuEntry {
  std::string_view name;     // mnuabout, mnumailme, h1, mnuhelp
  std::string_view caption;  // "-" is the separator
  std::optional<MenuItem> item;
};

// The items of the menu "file", in order.
inline constexpr std::array<MenuEntry, 4> kInfoMenu = {{
    {"mnuabout", "about", MenuItem::kAbout},
    {"mnumailme", "mail me", MenuItem::kMailMe},
    {"h1", "-", std::nullopt},
    {"mnuhelp", "help", MenuItem::kHelp},
}};

std::optional<MenuItem> MenuItemFromCaption(std::string_view caption);

inline constexpr std::string_view kAboutTitle =
    "ab\u00f8u\u2020 z\u00f8rv\u00efk by va\u00f1d\u00f8r";
inline constexpr std::string_view kHelpTitle = "z\u00f8rv\u00efk by va\u00f1d\u00f8r help";

// The box texts, lines joined by a lone carriage return.
const std::string& AboutText();
const std::string& HelpText();

class InfoMenu {
 public:
  // Both must outlive the menu.
  InfoMenu(MessageBoxes& boxes, FeedbackForm& form);
  InfoMenu(const InfoMenu&) = delete;
  InfoMenu& operator=(const InfoMenu&) = delete;

  // The pop-up: makes the holder the first time. Views show the entries of
  // kInfoMenu at the mouse and call Choose with the one picked.
  void PopUp() { loaded_ = true; }
  bool loaded() const { return loaded_; }

  // Carries out an item. About and help return when their box is closed;
  // mail me shows the feedback form and returns. May dispatch.
  void Choose(MenuItem item);

 private:
  MessageBoxes& boxes_;
  FeedbackForm& form_;
  bool loaded_ = false;
};

}  // namespace zorvik
