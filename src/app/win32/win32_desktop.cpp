#include "app/win32/win32_desktop.h"

#include <windows.h>
#undef SendMessage  // the WindowApi call of that name, not the macro

#include <algorithm>
#include <memory>
#include <optional>

#include "app/win32/win32_console.h"
#include "console/console_printer.h"
#include "windows/room_layout.h"
#include "windows/win32/console_window.h"
#include "windows/win32/form_window.h"
#include "windows/win32/native_window.h"
#include "windows/win32/popups.h"
#include "windows/win32/room_window.h"
#include "windows/win32/splash_window.h"
#include "windows/window_layout.h"

namespace zorvik {

namespace {

// The program's windows, made before the program that places them.
struct OwnWindows {
  explicit OwnWindows(const NativeScreen& screen)
      : console(screen, kConsoleCaption, ConsoleWindow::kStyle, ConsoleWindow::kExStyle,
                screen.scale.Pixels(kConsoleWidthTwips), screen.scale.Pixels(kConsoleHeightTwips)),
        splash(screen, "zorvik", SplashWindow::kStyle, SplashWindow::kExStyle,
               screen.scale.Pixels(kSplashWidthTwips), screen.scale.Pixels(kSplashHeightTwips)),
        form(screen, kFormCaption, FormWindow::kStyle, FormWindow::kExStyle,
             screen.scale.Pixels(kFormWidthTwips), screen.scale.Pixels(kFormHeightTwips),
             console.handle()) {}
  NativeWindow console;
  NativeWindow splash;
  NativeWindow form;
};

// The room window sits below the splash, where the console will not cover it.
void PlaceRoom(NativeWindow& room) {
  const ScreenSize screen = room.Screen();
  const WindowRect bounds = room.Bounds();
  const int top = std::max(0, std::min(screen.height - bounds.height - 40, screen.height / 2));
  room.MoveTo(std::max(0, (screen.width - bounds.width) / 2), top);
}

}  // namespace

int RunWin32Desktop(const ProgramOptions& options, std::ostream& out) {
  // Told the monitor's real resolution, the windows are laid out for it
  // rather than drawn at 96 dpi and stretched.
  SetProcessDPIAware();
  const NativeScreen screen = MeasureNativeScreen();
  Win32Loop loop;
  OwnWindows windows(screen);
  NativeMessageBoxes boxes([&windows] { return windows.console.handle(); });
  const ProgramWindows given{&windows.console, &windows.splash, &windows.form};

  std::unique_ptr<Win32DesktopClient> desktop = std::make_unique<Win32DesktopClient>(loop);
  if (desktop->windows.FindTopLevel(kDesktopClientClass, std::nullopt) == 0) desktop.reset();
  std::unique_ptr<HostProgram> program =
      desktop ? std::make_unique<HostProgram>(loop, boxes, options, desktop->kit, desktop->feed,
                                              given)
              : std::make_unique<HostProgram>(loop, boxes, options, given);

  InfoMenuPopup popup(program->menu(), [&windows] { return windows.console.handle(); });
  program->console().SetInfoAction([&popup] { popup.PopUp(); });
  ConsoleWindow console_view(program->console(), windows.console, loop);
  SplashWindow splash_view(program->splash(), windows.splash, loop);
  FormWindow form_view(program->form(), windows.form, loop);
  std::optional<NativeWindow> room;
  std::optional<RoomWindow> room_view;
  if (!desktop) {
    room.emplace(screen, "zorvik room: Lobby 1", RoomWindow::kStyle, RoomWindow::kExStyle,
                 screen.scale.Pixels(kRoomWidthTwips), screen.scale.Pixels(kRoomHeightTwips));
    room_view.emplace(program->client(), *room, loop);
    PlaceRoom(*room);
    room->SetShown(true);
  }

  if (desktop) {
    out << "zorvik " << ZORVIK_VERSION << " beside the desktop chat client; you are \""
        << Printable(options.screen_name) << "\"" << std::endl;
  } else {
    out << "zorvik: no desktop chat client found (no " << kDesktopClientClass
        << " window); hosting on the embedded client, in a room window of its own" << std::endl;
  }
  program->Start();
  loop.WaitUntil([&program] { return program->console().ended(); });
  return 0;
}

}  // namespace zorvik
