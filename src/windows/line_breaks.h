// Line breaks between the program's texts and the desktop toolkit's. The
// program keeps Windows conventions (the feedback text ends its lines with
// CR LF, the about and help boxes separate lines with a lone CR); the
// toolkit's text widgets and labels break lines at LF only.
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// For showing: CR LF, a lone CR and a lone LF each become one LF.
std::string ToLf(std::string_view text);

// For keeping what the operator typed: every LF becomes CR LF. A CR that
// already stands before an LF is not doubled, and a lone CR stays as it is,
// so ToCrLf(ToLf(t)) == t for any text whose breaks are all CR LF.
std::string ToCrLf(std::string_view text);

// Text for a toolkit label: '@' is doubled, because a label would take an
// '@' as the start of a drawn symbol. Chat names put in labels may hold
// anything.
std::string LabelText(std::string_view text);

}  // namespace zorvik
