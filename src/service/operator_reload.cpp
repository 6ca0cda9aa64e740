#include "service/operator_reload.h"

#include "service/irc_config.h"

namespace zorvik {

std::string RereadOperators(const std::string& path, OperatorList& list) {
  IrcOptions fresh;
  const std::string problem = ReadIrcConfig(path, fresh);
  const auto count = [](std::size_t n) {
    return std::to_string(n) + (n == 1 ? " operator" : " operators");
  };
  if (!problem.empty()) {
    return "[config] not reread: " + problem + "; still " + count(list.operators.size());
  }
  list.operators = std::move(fresh.operators);
  list.may_exit = fresh.operators_may_exit;
  return "[config] reread " + path + ": " + count(list.operators.size()) + " now" +
         (list.may_exit ? ", who may end the host" : "");
}

}  // namespace zorvik
