#include "windows/fltk/info_menu_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

namespace zorvik {

InfoMenuView::InfoMenuView(InfoMenu& menu) : menu_(menu) {
  for (const MenuEntry& entry : kInfoMenu) {
    if (!entry.item) {
      // The toolkit draws a separator as a line under the item before it.
      if (!items_.empty()) items_.back().flags |= FL_MENU_DIVIDER;
      continue;
    }
    Fl_Menu_Item item{};
    item.text = entry.caption.data();  // captions are literals: they live for ever
    item.user_data_ = const_cast<MenuEntry*>(&entry);
    items_.push_back(item);
  }
  items_.push_back(Fl_Menu_Item{});
}

void InfoMenuView::PopUp() {
  menu_.PopUp();
  Carry(items_.front().popup(Fl::event_x(), Fl::event_y()));
}

void InfoMenuView::Carry(const Fl_Menu_Item* chosen) {
  if (chosen == nullptr || chosen->user_data() == nullptr) return;
  const MenuEntry* entry = static_cast<const MenuEntry*>(chosen->user_data());
  if (entry->item) menu_.Choose(*entry->item);
}

}  // namespace zorvik
