// Text as it crosses to and from the desktop client: the program's strings
// are UTF-8, the client's windows are ANSI windows, so their texts are in
// the system's ANSI code page (CP_ACP; code page 1252 on Western systems).
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// UTF-8 to the ANSI code page. Characters the code page lacks become "?";
// bytes that are not UTF-8 count as U+FFFD each and become "?" too. Stops
// at nothing: a NUL stays a NUL (and ends the text for the window).
std::string Utf8ToAnsi(std::string_view utf8);

// The ANSI code page to UTF-8. Every byte maps to some character (the
// code page's own, or the control character of the same number), so any
// bytes give valid UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace zorvik
