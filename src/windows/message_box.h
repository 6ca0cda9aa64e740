// OK-only message boxes without an icon. Abstract because each front end
// shows them its own way: a desktop dialog, a few printed lines, a replay
// record. Show is modal: it returns when the operator has pressed OK, and
// may dispatch (re-enter) while it waits.
#pragma once

#include <string>

namespace zorvik {

class MessageBoxes {
 public:
  MessageBoxes() = default;
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;
  virtual ~MessageBoxes() = default;

  // `text` separates its lines with a lone carriage return.
  virtual void Show(const std::string& title, const std::string& text) = 0;
};

}  // namespace zorvik
