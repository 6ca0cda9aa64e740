#include "windows/win32/popups.h"

#include "windows/win32/wide_text.h"

namespace zorvik {

void NativeMessageBoxes::Show(const std::string& title, const std::string& text) {
  HWND owner = owner_ ? owner_() : nullptr;
  // The lines stay as the program keeps them, a lone CR between them: the
  // box breaks lines at CR, LF or both.
  MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
              MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

InfoMenuPopup::InfoMenuPopup(InfoMenu& menu, std::function<HWND()> owner)
    : menu_(menu), owner_(std::move(owner)) {}

InfoMenuPopup::~InfoMenuPopup() {
  if (popup_) DestroyMenu(popup_);
}

void InfoMenuPopup::PopUp() {
  menu_.PopUp();
  if (!popup_) {
    popup_ = CreatePopupMenu();
    if (!popup_) return;
    // Item ids are 1 + the entry's place in the menu; 0 is "nothing chosen".
    for (std::size_t i = 0; i < kInfoMenu.size(); ++i) {
      const MenuEntry& entry = kInfoMenu[i];
      if (!entry.item) {
        AppendMenuW(popup_, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      AppendMenuW(popup_, MF_STRING, i + 1, Widen(entry.caption).c_str());
    }
  }
  HWND owner = owner_ ? owner_() : nullptr;
  if (!owner) return;
  POINT at{};
  GetCursorPos(&at);
  // A menu closes when its owner loses the foreground only if the owner
  // had it: taken here, and a message after, as the system asks.
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup_, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > kInfoMenu.size()) return;
  if (const auto item = kInfoMenu[chosen - 1].item) menu_.Choose(*item);
}

}  // namespace zorvik
