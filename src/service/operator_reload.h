// Rereading the operators while the host runs (SIGHUP, `systemctl reload`):
// only the operators list and operators_may_exit change; every other
// setting of the file takes effect at the next start.
#pragma once

#include <string>
#include <vector>

#include "service/irc_operators.h"

namespace zorvik {

struct OperatorList {
  std::vector<IrcOperator> operators;
  bool may_exit = false;
};

// Rereads `path` into `list`. A file the host would not start on leaves
// `list` as it was. Returns the note for the operator: how many operators
// are configured now, or why the file was not taken.
std::string RereadOperators(const std::string& path, OperatorList& list);

}  // namespace zorvik
