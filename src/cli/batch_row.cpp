#include "cli/batch_row.h"

#include <unistd.h>

#include <filesystem>

#include "app/session.h"
#include "cli/cli_texts.h"
#include "editor/editor_binding.h"
#include "settings/firmware_version.h"

namespace zrm {

namespace {

constexpr const char* kCertificateFolder = "certificates";

// "4810", "4813", "4816" by the device type code; "48XX" for another code.
std::string ModelOf(std::int32_t proc_ver) {
  static constexpr const char* kModels[] = {"4810", "4813", "4816"};
  return proc_ver >= 0 && proc_ver < 3 ? kModels[proc_ver] : "48XX";
}

// "047-12345": the prefix in three digits, the serial number in five.
std::string SerialOf(const GeneralSettings& g) {
  char text[32];
  std::snprintf(text, sizeof text, "%03u-%05u", static_cast<unsigned>(g.otk_type),
                static_cast<unsigned>(g.serial_hi * 256 + g.serial_lo));
  return text;
}

// The instrument's identity into the result row, once it has been read.
void Identify(const DeviceSettings& s, ResultRow& out) {
  out.type = ModelOf(s.general.proc_ver);
  out.serial = SerialOf(s.general);
  out.firmware = FirmwareVersionText(s.general.firmware_version);
}

std::string InFolder(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

ExchangeResult Read(Session& session, const PlanRow& row, Operator& op, ResultRow& out) {
  if (ExchangeResult r = session.Read(session.form, session.settings, op)) return r;
  Identify(session.settings, out);
  const std::string chosen = row.profile.empty()
                                 ? InFolder(session.Dir(), out.type + "-" + out.serial)
                                 : row.profile;
  if (!session.SaveProfileAs(chosen, op)) return result::kFile;
  out.file = ProfileSaveName(chosen);
  return result::kOk;
}

ExchangeResult Write(Session& session, const PlanRow& row, Operator& op) {
  // A missing profile would be created with its defaults and written.
  if (access(row.profile.c_str(), R_OK) != 0 || std::filesystem::is_directory(row.profile)) {
    op.ShowMessage(cli_texts::kNoProfile + row.profile, {}, MessageIcon::Error);
    return result::kFile;
  }
  session.OpenProfile(row.profile, op);
  return session.Write(session.form, session.settings, op);
}

ExchangeResult Report(Session& session, Operator& op, const PdfRenderer& render_pdf,
                      ResultRow& out) {
  PageChange(session.form, session.settings, op, session.PortNumber());
  ConfigurationPage page;
  if (ExchangeResult r = session.Report(session.form, session.settings, op, page)) return r;
  Identify(session.settings, out);
  const std::string folder = InFolder(session.Dir(), kCertificateFolder);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string path = InFolder(folder, "ZRM" + out.type + "-" + out.serial + ".pdf");
  std::string error;
  if (!render_pdf(page, path, error)) {
    op.ShowMessage(error, {}, MessageIcon::Error);
    return result::kFile;
  }
  out.file = path;
  return result::kOk;
}

}  // namespace

ResultRow RunPlanRow(const PlanRow& row, const std::string& dir, Operator& op,
                     const PdfRenderer& render_pdf) {
  ResultRow out;
  out.device = row.device;
  out.address = row.address;
  out.action = row.action;
  Session session(dir);
  session.StartWithoutWindow(op, row.device);
  session.UseNetAddress(row.address);
  ExchangeResult r = result::kOk;
  switch (row.action) {
    case BatchAction::kRead: r = Read(session, row, op, out); break;
    case BatchAction::kWrite: r = Write(session, row, op); break;
    case BatchAction::kReport: r = Report(session, op, render_pdf, out); break;
    case BatchAction::kChanges:
    case BatchAction::kVerify: break;
  }
  out.result = static_cast<int>(r);
  return out;
}

}  // namespace zrm
