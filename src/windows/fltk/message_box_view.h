// Message boxes on the desktop: a modal window with the title as given, the
// text's lines (separated by lone carriage returns) and one OK button, no
// icon. Show returns when OK (or the close box, or Enter, or Escape) is
// pressed; the program's loop keeps dispatching meanwhile, so chat lines and
// timers go on while a box is open.
#pragma once

#include "bridge/loop/fltk_loop.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/message_box.h"

namespace zorvik {

class FlMessageBoxes : public MessageBoxes {
 public:
  // Both must outlive the boxes. Needs a display.
  FlMessageBoxes(FltkLoop& loop, const DesktopScreen& screen);

  // Dispatches (re-enters) until the box is closed or the loop quits.
  void Show(const std::string& title, const std::string& text) override;

  // How many boxes are open now (boxes can nest; for checks).
  int open_boxes() const { return open_; }

 private:
  FltkLoop& loop_;
  const DesktopScreen& screen_;
  int open_ = 0;
};

}  // namespace zorvik
