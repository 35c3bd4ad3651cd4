#include "cli/batch_row.h"

#include <filesystem>

#include "app/session.h"
#include "platform/content_hash.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/profile_argument.h"
#include "cli/unfinished_write_notice.h"
#include "editor/editor_binding.h"
#include "editor/settings_comparison.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

constexpr const char* kCertificateFolder = "certificates";

// The instrument's identity into the result row, once it has been read.
void Identify(const DeviceSettings& s, ResultRow& out) {
  out.type = ModelNumber(s.general.proc_ver);
  out.serial = DeviceNumber(s.general);
  out.firmware = FirmwareVersionText(s.general.firmware_version);
}

std::string InFolder(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

// The row wrote `path`: the file it names, or, when another row of the
// batch had written `wanted` before, a name of its own, which its message
// then tells.
void Wrote(const std::string& wanted, const std::string& path, ResultRow& out) {
  out.file = path;
  if (path != wanted)
    out.message = cli_texts::kBatchRowDone + (cli_texts::kNameTaken + wanted) +
                  cli_texts::kNameTakenSavedAs + path;
}

ExchangeResult Read(Session& session, const PlanRow& row, Operator& op, BatchFiles& files,
                    ResultRow& out) {
  if (ExchangeResult r = session.Read(session.form, session.settings, op)) return r;
  Identify(session.settings, out);
  TellUnfinishedWrite(session.Dir(), session.settings, op);
  const std::string chosen =
      row.profile.empty() ? InFolder(session.Dir(), out.type + "-" + out.serial) : row.profile;
  const std::string wanted = ProfileSaveName(chosen);
  const std::string path = files.Claim(wanted, row.device, row.address);
  if (!session.SaveProfileAs(path, op)) return result::kFile;
  Wrote(wanted, path, out);
  return result::kOk;
}

ExchangeResult Write(Session& session, const PlanRow& row, Operator& op, ResultRow& out) {
  session.OpenProfile(row.profile, op);  // looked at before the start-up
  DeviceSettings instrument;
  const ExchangeResult r = session.Write(session.form, session.settings, op, instrument);
  if (SerialNumber(instrument.general) != 0) Identify(instrument, out);
  return r;
}

ExchangeResult WriteChanges(Session& session, const PlanRow& row, BatchOperator& op,
                            ResultRow& out) {
  session.OpenProfile(row.profile, op);  // looked at before the start-up
  ChangesWriteOutcome outcome;
  const ExchangeResult r = session.WriteChanges(session.form, session.settings, op, outcome);
  out.file = outcome.backup_path;
  // Written parameters are counted; with nothing to write, the command's own
  // word for it stands.
  if (r == result::kOk)
    out.message = outcome.written.empty()
                      ? op.FirstMessage()
                      : cli_texts::kBatchWritten + std::to_string(outcome.written.size());
  return r;
}

// Equal is success; differences end the row as `diff` exits, with each of
// them in the message.
ExchangeResult Verify(Session& session, const PlanRow& row, Operator& op, ResultRow& out) {
  session.OpenProfile(row.profile, op);  // looked at before the start-up
  DeviceSettings instrument;
  std::vector<SettingDifference> differences;
  if (ExchangeResult r =
          session.Compare(session.form, session.settings, op, instrument, differences))
    return r;
  Identify(instrument, out);
  TellUnfinishedWrite(session.Dir(), instrument, op);
  if (differences.empty()) return result::kOk;
  for (const SettingDifference& d : differences)
    out.message += (out.message.empty() ? "" : "; ") + DifferenceLine(d);
  out.result = kDiffersExit;
  return result::kOk;
}

// "строка N: text": a failed row's message names its line of the plan.
std::string OnLine(const PlanRow& row, const std::string& text) {
  return cli_texts::kPlanLine + std::to_string(row.line) + ": " + text;
}

// The row's own message, else the first one its command showed, else the
// result's; "Выполнено" for success.
std::string MessageOf(const ResultRow& row, ExchangeResult r, const BatchOperator& op) {
  if (!row.message.empty()) return row.message;
  if (r == result::kOk) return cli_texts::kBatchRowDone;
  const std::string shown = op.FirstMessage();
  if (!shown.empty()) return shown;
  ResultMessage message;
  return ExchangeResultMessage(r, message) ? message.text : std::string();
}

ExchangeResult Report(Session& session, const PlanRow& row, Operator& op,
                      const PdfRenderer& render_pdf, BatchFiles& files, ResultRow& out) {
  PageChange(session.form, session.settings, op, session.PortNumber());
  ConfigurationPage page;
  if (ExchangeResult r = session.Report(session.form, session.settings, op, page)) return r;
  Identify(session.settings, out);
  TellUnfinishedWrite(session.Dir(), session.settings, op);
  const std::string folder = InFolder(session.Dir(), kCertificateFolder);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string wanted = InFolder(folder, "ZRM" + out.type + "-" + out.serial + ".pdf");
  const std::string path = files.Claim(wanted, row.device, row.address);
  std::string error;
  if (!render_pdf(page, path, error)) {
    op.ShowMessage(error, {}, MessageIcon::kError);
    return result::kFile;
  }
  Wrote(wanted, path, out);
  return result::kOk;
}

}  // namespace

ResultRow RunPlanRow(const PlanRow& row, const std::string& dir, const std::string& history_url,
                     BatchOperator& op, const PdfRenderer& render_pdf, BatchFiles& files) {
  ResultRow out;
  out.device = row.device;
  out.address = row.address;
  out.action = row.action_text;
  if (!row.fault.empty()) {
    out.result = kUsageExit;
    out.message = OnLine(row, row.fault);
    return out;
  }
  // A row whose profile cannot be used ends before its port is touched.
  if (NeedsProfile(row.action) && !ProfileUsable(row.profile, op)) {
    out.result = static_cast<int>(result::kFile);
    out.message = OnLine(row, op.FirstMessage());
    return out;
  }
  if (NeedsProfile(row.action)) out.profile_hash = FileContentHash(row.profile);
  Session session(dir);
  session.UseHistoryDatabase(history_url);
  session.StartWithoutWindow(op, row.device);
  session.UseNetAddress(row.address);
  ExchangeResult r = result::kOk;
  switch (row.action) {
    case BatchAction::kRead: r = Read(session, row, op, files, out); break;
    case BatchAction::kWrite: r = Write(session, row, op, out); break;
    case BatchAction::kReport: r = Report(session, row, op, render_pdf, files, out); break;
    case BatchAction::kChanges: r = WriteChanges(session, row, op, out); break;
    case BatchAction::kVerify: r = Verify(session, row, op, out); break;
  }
  if (r != result::kOk || out.result == 0) out.result = static_cast<int>(r);
  out.message = MessageOf(out, r, op);
  // A failed row names its line of the plan.
  if (out.result != 0) out.message = OnLine(row, out.message);
  return out;
}

}  // namespace zrm
