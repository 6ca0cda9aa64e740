// The program's own windows are Unicode windows: their texts cross as
// UTF-16, the program's strings are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// UTF-8 to UTF-16. Bytes that are not UTF-8 become U+FFFD each.
std::wstring Widen(std::string_view utf8);
// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

}  // namespace zorvik
