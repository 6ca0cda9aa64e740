// A stand-in for the desktop chat client, for the Windows integration
// tests: a program of real Win32 windows with the client's classes and
// titles, in the child orders that the host relies on.
//
//   AOL Frame25 (main window)
//     AOL Toolbar > _AOL_Toolbar > 24 x _AOL_Icon (2nd: Write Mail, 21st: Keyword)
//     MDIClient
//       AOL Child "Lobby": _AOL_Listbox, RICHCNTL (history), 5 x _AOL_Icon,
//                          RICHCNTL (input box, 6th after the history)
//       AOL Child "Keyword": _AOL_Edit (address), _AOL_Icon (Go)
//       AOL Child "Send Instant Message": _AOL_Edit, RICHCNTL, _AOL_Icon,
//                          8 x _AOL_Icon, _AOL_Icon (Send, 9th after the first)
//       AOL Child "Write Mail": _AOL_Edit (to), 3 x _AOL_Static, _AOL_Edit
//                          (subject, 4th after to), RICHCNTL, _AOL_Icon,
//                          17 x _AOL_Icon, _AOL_Icon (Send, 18th after the first)
//   _AOL_Modal (after a mail): _AOL_Icon (OK)
//   #32770 "America Online" (an instant message it cannot deliver)
//
// Usage: standin_client SCREEN_NAME. Commands on standard input, one a line:
//   say NAME TEXT      NAME says TEXT in the room (UTF-8, put in the ANSI page)
//   sayhex NAME HEX    NAME says the raw bytes HEX
//   history BYTES      the history becomes BYTES long with old lines, and from
//                      now on drops lines from its top to stay that long
//   front / back       open / close another AOL Child in front of the room
//   undeliverable      the next instant message cannot be delivered
//   quit               close every window and end
// It prints, one a line: "ready"; "room NAME<TAB>TEXT" for every room line;
// "typed HEX" for every line typed into the input box; "keyword ADDRESS";
// "im TO<TAB>TEXT"; "mail TO<TAB>SUBJECT<TAB>TEXT"; "box closed"; "closed
// TITLE" for a window of the MDI area; "front" and the MDI area's titles
// in child order. Texts are
// UTF-8 with CR and LF shown as \r and \n.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

constexpr UINT kCommand = WM_APP + 1;  // lparam: a std::string* of one command line

enum class Role { kPlain, kHistory, kInput, kToolbarIcon, kGo, kImSend, kMailSend, kModalOk };

struct Control {
  Role role = Role::kPlain;
  int index = 0;  // a toolbar icon's place
};

struct StandIn {
  std::string screen_name;
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  HWND mdi = nullptr;
  HWND room = nullptr;
  HWND history = nullptr;
  HWND keyword = nullptr;
  HWND im = nullptr;
  HWND mail = nullptr;
  HWND other = nullptr;
  HWND modal = nullptr;
  HWND box = nullptr;
  std::string history_text;  // ANSI
  std::size_t history_cap = 0;
  bool undeliverable = false;
  std::map<HWND, Control> controls;
};

StandIn* the = nullptr;  // the one stand-in, for the window procedures

std::string Convert(UINT from, UINT to, const std::string& text) {
  if (text.empty()) return {};
  const int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::wstring w(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
  const char* replacement = to == CP_UTF8 ? nullptr : "?";
  const int narrow = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, replacement, nullptr);
  std::string result(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, result.data(), narrow, replacement, nullptr);
  return result;
}

std::string Shown(const std::string& ansi) {
  std::string text;
  for (char c : Convert(CP_ACP, CP_UTF8, ansi)) {
    if (c == '\r') {
      text += "\\r";
    } else if (c == '\n') {
      text += "\\n";
    } else {
      text += c;
    }
  }
  return text;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

void Print(const std::string& line) {
  std::cout << line << std::endl;
}

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

HWND Make(const char* window_class, const char* title, HWND parent, Role role = Role::kPlain,
          int index = 0) {
  HWND window = CreateWindowExA(0, window_class, title, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                parent, nullptr, the->instance, nullptr);
  the->controls[window] = Control{role, index};
  return window;
}

HWND MakeChild(const char* title) {
  HWND child = CreateMDIWindowA("AOL Child", title, WS_VISIBLE, 10, 10, 400, 300, the->mdi,
                                the->instance, 0);
  SendMessageA(the->mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return child;
}

void Close(HWND& window) {
  if (window && IsWindow(window)) PostMessageA(the->mdi, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  window = nullptr;
}

void Say(const std::string& name, const std::string& ansi_text) {
  const std::string line = name + ":\t" + ansi_text;
  the->history_text += line + "\r\n";
  if (the->history_cap > 0 && the->history_text.size() > the->history_cap) {
    std::size_t cut = the->history_text.size() - the->history_cap;
    cut = the->history_text.find('\n', cut);
    the->history_text.erase(0, cut == std::string::npos ? the->history_text.size() : cut + 1);
  }
  Print("room " + Shown(name) + "\t" + Shown(ansi_text));
}

void OpenKeyword() {
  if (the->keyword) return;
  the->keyword = MakeChild("Keyword");
  Make("_AOL_Edit", "", the->keyword);
  Make("_AOL_Icon", "Go", the->keyword, Role::kGo);
}

void OpenInstantMessage() {
  if (the->im) return;
  the->im = MakeChild("Send Instant Message");
  Make("_AOL_Edit", "", the->im);
  Make("RICHCNTL", "", the->im);
  for (int i = 0; i < 9; ++i) Make("_AOL_Icon", "", the->im);
  Make("_AOL_Icon", "Send", the->im, Role::kImSend);
}

void OpenWriteMail() {
  if (the->mail) return;
  the->mail = MakeChild("Write Mail");
  Make("_AOL_Edit", "", the->mail);
  for (int i = 0; i < 3; ++i) Make("_AOL_Static", "", the->mail);
  Make("_AOL_Edit", "", the->mail);
  Make("RICHCNTL", "", the->mail);
  for (int i = 0; i < 18; ++i) Make("_AOL_Icon", "", the->mail);
  Make("_AOL_Icon", "Send", the->mail, Role::kMailSend);
}

HWND NthChild(HWND parent, int n) {
  HWND child = GetWindow(parent, GW_CHILD);
  while (child && n-- > 0) child = GetWindow(child, GW_HWNDNEXT);
  return child;
}

INT_PTR CALLBACK BoxProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    Print("box closed");
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

void ShowUndeliverableBox() {
  // A dialog from an in-memory template: its class is the dialog class, #32770.
  struct alignas(4) Template {
    DLGTEMPLATE header;
    WORD menu, window_class;
    wchar_t title[15];
  } box_template{};
  box_template.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  box_template.header.cx = 120;
  box_template.header.cy = 40;
  const wchar_t title[] = L"America Online";
  for (int i = 0; i < 15; ++i) box_template.title[i] = title[i];
  the->box = CreateDialogIndirectParamA(the->instance, &box_template.header, nullptr, BoxProc, 0);
}

void Click(HWND window, const Control& control) {
  switch (control.role) {
    case Role::kToolbarIcon:
      if (control.index == 1) OpenWriteMail();
      if (control.index == 20) OpenKeyword();
      return;
    case Role::kGo: {
      if (!the->keyword) return;
      const std::string address = TextOf(GetWindow(the->keyword, GW_CHILD));
      Print("keyword " + Shown(address));
      Close(the->keyword);
      if (address == "aol://9293:") OpenInstantMessage();
      return;
    }
    case Role::kImSend: {
      if (!the->im) return;
      Print("im " + Shown(TextOf(NthChild(the->im, 0))) + "\t" + Shown(TextOf(NthChild(the->im, 1))));
      if (the->undeliverable) {
        the->undeliverable = false;
        ShowUndeliverableBox();
      } else {
        Close(the->im);
      }
      return;
    }
    case Role::kMailSend: {
      if (!the->mail) return;
      Print("mail " + Shown(TextOf(NthChild(the->mail, 0))) + "\t" +
            Shown(TextOf(NthChild(the->mail, 4))) + "\t" + Shown(TextOf(NthChild(the->mail, 5))));
      the->modal = CreateWindowExA(0, "_AOL_Modal", "Mail Sent", WS_POPUP | WS_VISIBLE, 50, 50,
                                   100, 60, nullptr, nullptr, the->instance, nullptr);
      Make("_AOL_Icon", "OK", the->modal, Role::kModalOk);
      return;
    }
    case Role::kModalOk:
      if (the->modal) DestroyWindow(the->modal);
      the->modal = nullptr;
      return;
    default:
      (void)window;
      return;
  }
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto found = the->controls.find(window);
  const Role role = found == the->controls.end() ? Role::kPlain : found->second.role;
  if (role == Role::kHistory && (message == WM_GETTEXTLENGTH || message == WM_GETTEXT)) {
    const std::string& text = the->history_text;
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
    if (wparam == 0) return 0;
    const std::size_t copied = std::min<std::size_t>(wparam - 1, text.size());
    char* buffer = reinterpret_cast<char*>(lparam);
    text.copy(buffer, copied);
    buffer[copied] = '\0';
    return static_cast<LRESULT>(copied);
  }
  if (role == Role::kInput && message == WM_SETTEXT && lparam && InSendMessage()) {
    Print("typed " + Hex(reinterpret_cast<const char*>(lparam)));
  }
  if (role == Role::kInput && message == WM_CHAR && wparam == 13) {
    const std::string line = TextOf(window);
    SetWindowTextA(window, "");
    Say(the->screen_name, line);
    return 0;
  }
  if (message == WM_LBUTTONUP && found != the->controls.end()) {
    const Control control = found->second;
    Click(window, control);
    return 0;
  }
  if (message == WM_DESTROY) the->controls.erase(window);
  return DefWindowProcA(window, message, wparam, lparam);
}

void OpenRoom() {
  the->room = MakeChild("Lobby");
  Make("_AOL_Listbox", "", the->room);
  the->history = Make("RICHCNTL", "", the->room, Role::kHistory);
  for (int i = 0; i < 5; ++i) Make("_AOL_Icon", "", the->room);
  Make("RICHCNTL", "", the->room, Role::kInput);
}

void RunCommand(const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string verb = line.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
  const std::size_t second = rest.find(' ');
  const std::string name = rest.substr(0, second);
  const std::string text = second == std::string::npos ? "" : rest.substr(second + 1);
  if (verb == "say") {
    Say(name, Convert(CP_UTF8, CP_ACP, text));
  } else if (verb == "sayhex") {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
      bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    }
    Say(name, bytes);
  } else if (verb == "history") {
    const std::size_t size = std::stoul(rest);
    for (int i = 0; the->history_text.size() < size; ++i) {
      the->history_text += "Someone:\told line " + std::to_string(i) + "\r\n";
    }
    the->history_cap = size;
    Print("history " + std::to_string(the->history_text.size()));
  } else if (verb == "front") {
    if (!the->other) {
      the->other = MakeChild("Welcome");
      Make("RICHCNTL", "", the->other);
    }
    std::string order;
    for (HWND child = GetWindow(the->mdi, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      order += " " + TextOf(child);
    }
    Print("front" + order);
  } else if (verb == "back") {
    Close(the->other);
    Print("back");
  } else if (verb == "undeliverable") {
    the->undeliverable = true;
  } else if (verb == "quit") {
    DestroyWindow(the->main);
  }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kCommand: {
      std::string* line = reinterpret_cast<std::string*>(lparam);
      RunCommand(*line);
      delete line;
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefFrameProcA(window, the->mdi, message, wparam, lparam);
  }
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    Print("closed " + Shown(TextOf(window)));
    for (HWND* known : {&the->keyword, &the->im, &the->mail, &the->other, &the->room}) {
      if (*known == window) *known = nullptr;
    }
  }
  return DefMDIChildProcA(window, message, wparam, lparam);
}

void Register(const char* name, WNDPROC procedure) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = the->instance;
  window_class.lpszClassName = name;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&window_class);
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  StandIn stand_in;
  the = &stand_in;
  stand_in.screen_name = argc > 1 ? argv[1] : "host";
  stand_in.instance = GetModuleHandleA(nullptr);
  Register("AOL Frame25", MainProc);
  Register("AOL Child", ChildProc);
  for (const char* control : {"AOL Toolbar", "_AOL_Toolbar", "_AOL_Icon", "_AOL_Edit",
                              "_AOL_Static", "_AOL_Listbox", "RICHCNTL", "_AOL_Modal"}) {
    Register(control, ControlProc);
  }
  stand_in.main = CreateWindowExA(0, "AOL Frame25", "America Online", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 800, 600, nullptr, nullptr, stand_in.instance, nullptr);
  HWND toolbar = Make("AOL Toolbar", "", stand_in.main);
  HWND strip = Make("_AOL_Toolbar", "", toolbar);
  for (int i = 0; i < 24; ++i) Make("_AOL_Icon", "", strip, Role::kToolbarIcon, i);
  CLIENTCREATESTRUCT client{};
  stand_in.mdi = CreateWindowExA(0, "MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                 0, 40, 800, 500, stand_in.main, nullptr, stand_in.instance, &client);
  OpenRoom();

  std::thread([main = stand_in.main] {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      pending.append(buffer, got);
      std::size_t newline;
      while ((newline = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, newline);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pending.erase(0, newline + 1);
        PostMessageA(main, kCommand, 0, reinterpret_cast<LPARAM>(new std::string(line)));
      }
    }
  }).detach();

  Print("ready");
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (the->box && IsDialogMessageA(the->box, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  Print("closed");
  std::cout.flush();
  ExitProcess(0);
}
