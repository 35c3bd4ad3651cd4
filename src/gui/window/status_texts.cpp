#include "gui/window/status_texts.h"

#include "editor/item_lists.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
#include "platform/number_text.h"

namespace zrm::gui {

namespace {

QString WithDeviceAndTime(const char* done, const char* preposition, const EditorForm& form,
                          double seconds) {
  return ToQ(done) + ToQ(preposition) + DeviceNameOf(form) + ToQ(text::kTookSeconds) +
         SecondsText(seconds);
}

}  // namespace

QString DeviceNameOf(const EditorForm& form) {
  const auto& prefixes = PrefixItems();
  const QString serial = ToQ(form.serial_number).trimmed();
  if (form.otk_type < 0 || form.otk_type >= static_cast<int>(prefixes.size())) return serial;
  return ToQ(prefixes[static_cast<std::size_t>(form.otk_type)]) + "-" + serial;
}

QString PortNotOpenText(const std::string& path) {
  if (path.empty()) return ToQ(text::kPortNotOpen).chopped(2);
  return ToQ(text::kPortNotOpen) + ToQ(path);
}

QString SecondsText(double seconds) {
  return ToQ(FormatFixed(seconds, 0, 1)).replace('.', ',') + ToQ(text::kSecondsUnit);
}

QString ReadDoneStatus(const EditorForm& form, double seconds) {
  return ToQ(text::kReadDone) + DeviceNameOf(form) + ToQ(text::kTookSeconds) + SecondsText(seconds);
}

QString WriteDoneStatus(const EditorForm& form, double seconds) {
  return WithDeviceAndTime(text::kWriteDone, text::kInDevice, form, seconds);
}

QString ReportDoneStatus(const EditorForm& form, double seconds) {
  return WithDeviceAndTime(text::kReportDone, text::kFromDevice, form, seconds);
}

QString CommandFailedStatus(ExchangeResult r) {
  ResultMessage message;
  if (!ExchangeResultMessage(r, message)) return ToQ(text::kCommandFailed) + QString::number(r);
  return ToQ(text::kCommandFailed) + ToQ(message.text);
}

QString ChangesStatus(ExchangeResult r, const ChangesWriteOutcome& outcome) {
  if (r != result::kOk) return CommandFailedStatus(r);
  if (outcome.written.empty()) return ToQ(text::kNothingWritten);
  return ToQ(text::kChangesWritten) + QString::number(outcome.written.size());
}

QString SearchStatus(const SearchOutcome& outcome) {
  const QString found = QString::number(outcome.found.size());
  if (outcome.end == SearchEnd::kCompleted) return ToQ(text::kSearchDone) + found;
  return ToQ(SearchEndText(outcome)) + ToQ(text::kSearchFoundSoFar) + found;
}

}  // namespace zrm::gui
