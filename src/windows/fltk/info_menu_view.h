// The info menu on the desktop: the entries of kInfoMenu (about, mail me,
// a separator, help) popped up at the mouse. The menu holder needs no
// window of its own: the toolkit's pop-up menu is one.
#pragma once

#include <vector>

#include "windows/info_menu.h"

#include <FL/Fl_Menu_Item.H>

namespace zorvik {

class InfoMenuView {
 public:
  // `menu` must outlive the view.
  explicit InfoMenuView(InfoMenu& menu);
  InfoMenuView(const InfoMenuView&) = delete;
  InfoMenuView& operator=(const InfoMenuView&) = delete;

  // Pops the menu up at the mouse and carries out the item chosen, if any.
  // The toolkit runs the menu modally: window events are handled meanwhile,
  // the program's tasks wait until the menu closes. The chosen item may
  // dispatch (the about and help boxes wait for OK). Needs a display.
  void PopUp();

  // The menu as the toolkit shows it, terminated by an empty item; each
  // item's user data is its entry in kInfoMenu. For PopUp and for tests.
  const std::vector<Fl_Menu_Item>& items() const { return items_; }

  // Carries out a chosen toolkit item (nothing for none). May dispatch.
  void Carry(const Fl_Menu_Item* chosen);

 private:
  InfoMenu& menu_;
  std::vector<Fl_Menu_Item> items_;
};

}  // namespace zorvik
