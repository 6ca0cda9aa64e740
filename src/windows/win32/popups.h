// The console's info menu and the about and help boxes on user32: a pop-up
// menu at the mouse pointer and OK-only message boxes without an icon.
// Both run the system's own modal loop: window messages go on meanwhile,
// the program's tasks (and so the room and the listeners) wait until the
// menu or the box is closed.
#pragma once

#include <functional>

#include <windows.h>

#include "windows/info_menu.h"
#include "windows/message_box.h"

namespace zorvik {

class NativeMessageBoxes : public MessageBoxes {
 public:
  // `owner` gives the window the boxes belong to (the console), or null.
  explicit NativeMessageBoxes(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  void Show(const std::string& title, const std::string& text) override;

 private:
  std::function<HWND()> owner_;
};

class InfoMenuPopup {
 public:
  // `menu` must outlive the pop-up; `owner` as for the boxes.
  InfoMenuPopup(InfoMenu& menu, std::function<HWND()> owner);
  ~InfoMenuPopup();
  InfoMenuPopup(const InfoMenuPopup&) = delete;
  InfoMenuPopup& operator=(const InfoMenuPopup&) = delete;

  // Pops the menu up at the mouse pointer and carries out the item chosen,
  // if any. Returns when that is done; may dispatch.
  void PopUp();

 private:
  InfoMenu& menu_;
  std::function<HWND()> owner_;
  HMENU popup_ = nullptr;
};

}  // namespace zorvik
