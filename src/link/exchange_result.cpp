#include "link/exchange_result.h"

#include "link/link_texts.h"

namespace zrm {

bool ExchangeResultMessage(ExchangeResult r, ResultMessage& out) {
  if (r == result::kOk || r > link_texts::kResultRows.size()) return false;
  const link_texts::ResultRow& row = link_texts::kResultRows[r - 1];
  out = ResultMessage{row.text, row.caption, row.icon};
  return true;
}

void ShowExchangeError(Operator& op, ExchangeResult r) {
  ResultMessage message;
  if (!ExchangeResultMessage(r, message)) return;
  op.ShowMessage(message.text, message.caption, message.icon);
}

}  // namespace zrm
