#include "bridge/win32/ansi_text.h"

#include <windows.h>

#include <climits>

namespace zorvik {

namespace {

// Texts longer than an int can count are cut; no window holds such a text.
int Length(std::size_t size) {
  return size > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(size);
}

std::wstring Widen(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int length = Length(text.size());
  const int wide = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
  if (wide > 0) MultiByteToWideChar(code_page, 0, text.data(), length, result.data(), wide);
  return result;
}

std::string Narrow(UINT code_page, const std::wstring& wide) {
  if (wide.empty()) return {};
  // The UTF-8 code pages take no replacement character (and need none).
  const bool utf8 = code_page == CP_UTF8 || (code_page == CP_ACP && GetACP() == CP_UTF8);
  const char* replacement = utf8 ? nullptr : "?";
  const int length = Length(wide.size());
  const int narrow = WideCharToMultiByte(code_page, 0, wide.data(), length, nullptr, 0,
                                         replacement, nullptr);
  std::string result(static_cast<std::size_t>(narrow > 0 ? narrow : 0), '\0');
  if (narrow > 0) {
    WideCharToMultiByte(code_page, 0, wide.data(), length, result.data(), narrow, replacement,
                        nullptr);
  }
  return result;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  return Narrow(CP_ACP, Widen(CP_UTF8, utf8));
}

std::string AnsiToUtf8(std::string_view ansi) {
  return Narrow(CP_UTF8, Widen(CP_ACP, ansi));
}

}  // namespace zorvik
