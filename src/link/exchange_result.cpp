#include "link/exchange_result.h"

#include "link/link_texts.h"

namespace zrm {

// Every result but success has its row, in the order of the numbers.
static_assert(link_texts::kResultRows.size() == static_cast<unsigned>(result::kLast));
static_assert(std::size(result::kAll) == link_texts::kResultRows.size() + 1);

bool ExchangeResultMessage(ExchangeResult r, ResultMessage& out) {
  const unsigned number = r;
  if (number == 0 || number > link_texts::kResultRows.size()) return false;
  const link_texts::ResultRow& row = link_texts::kResultRows[number - 1];
  out = ResultMessage{row.text, row.caption, row.icon};
  return true;
}

void ShowExchangeError(Operator& op, ExchangeResult r) {
  ResultMessage message;
  if (!ExchangeResultMessage(r, message)) return;
  op.ShowMessage(message.text, message.caption, message.icon);
}

}  // namespace zrm
