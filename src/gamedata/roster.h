// The creature roster: the 150 names a player may pick, lower case, in the
// fixed order in which a pick is looked up.
#pragma once

#include <array>
#include <string_view>

namespace zorvik {

inline constexpr std::size_t kRosterSize = 150;

// The roster in its order; index 0 is the first entry.
const std::array<std::string_view, kRosterSize>& Roster();

}  // namespace zorvik
