// The session's records in the history of changes: a write's two events
// around it, a read's one.

#include <filesystem>

#include "app/app_texts.h"
#include "app/session.h"
#include "app/write_journal.h"

namespace zrm {

namespace {

std::string OutcomeText(ExchangeResult r) {
  ResultMessage message;
  return r != result::kOk && ExchangeResultMessage(r, message) ? message.text : std::string();
}

std::string FileName(const std::string& path) {
  return path.empty() ? path : std::filesystem::path(path).filename().string();
}

}  // namespace

std::string Session::HistoryLine() const { return device_.empty() ? PortPath() : device_; }

HistoryEvent Session::NewEventHere(const std::string& action) {
  return history_->NewEvent(action, HistoryLine(), link_ ? link_->Params().net_address : 0);
}

bool Session::OpenWriteEvent(const std::string& action, Operator& op, HistoryEvent& opening) {
  opening = NewEventHere(action);
  opening.result = -1;
  opening.message = app_texts::kHistoryWriteBegun;
  std::string error;
  if (history_->Store(opening, error)) {
    TellHistoryNotice(op);
    return true;
  }
  op.ShowMessage(error + app_texts::kHistoryBlocksWrite, app_texts::kHistoryCaption,
                 MessageIcon::kError);
  return false;
}

void Session::CloseWriteEvent(const HistoryEvent& opening, ExchangeResult r,
                              const DeviceSettings& instrument,
                              std::vector<ParameterChange> changes,
                              const std::string& backup_path, Operator& op) {
  HistoryEvent closing = history_->NewEvent(opening.action, opening.line, opening.address);
  closing.opening_id = opening.id;
  DescribeInstrument(instrument, closing);
  closing.result = r;
  closing.message = OutcomeText(r);
  closing.changes = std::move(changes);
  closing.backup = FileName(backup_path);
  // The entry stays only when the write did not end.
  if (r != result::kOk && !closing.instrument_number.empty())
    closing.journal = FileName(JournalEntryPath(dir_, instrument));
  std::string error;
  if (!history_->Store(closing, error)) op.Notice(error);
  TellHistoryNotice(op);
}

void Session::RecordSearch(const SearchOutcome& outcome, Operator& op) {
  std::string error;
  if (!StoreSearchEvents(*history_, HistoryLine(), outcome, error))
    op.Notice(error);
  TellHistoryNotice(op);
}

void Session::RecordRead(const std::string& action, ExchangeResult r,
                         const DeviceSettings& instrument, Operator& op) {
  HistoryEvent event = NewEventHere(action);
  DescribeInstrument(instrument, event);
  event.result = r;
  event.message = OutcomeText(r);
  std::string error;
  if (!history_->Store(event, error)) op.Notice(error);
  TellHistoryNotice(op);
}

void Session::TellHistoryNotice(Operator& op) {
  const std::string notice = history_->TakeNotice();
  if (notice.empty()) return;
  if (window_)
    op.ShowMessage(notice, app_texts::kHistoryCaption, MessageIcon::kWarning);
  else
    op.Notice(notice);
}

}  // namespace zrm
