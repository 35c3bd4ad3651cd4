#include "cli/editor_start.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/cli_operator.h"
#include "cli/cli_texts.h"
#include "editor/editor_binding.h"
#include "profiles/profile_file.h"
#include "settings/manufacturing_date.h"

namespace zrm {

namespace {

// The new profile's content, from a file LoadProfile creates in a scratch
// folder; the folder is removed with it.
bool LoadNewProfile(DeviceSettings& s, EditorForm& form, CliOperator& op) {
  std::error_code ignored;
  std::string folder = (std::filesystem::temp_directory_path(ignored) / "zrm48ctl-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    op.Tell(cli_texts::kNoScratchFolder + folder + ": " + std::strerror(errno));
    return false;
  }
  const DescriptionLines lines = LoadProfile(folder + "/new.prf", s, op);
  std::filesystem::remove_all(folder, ignored);
  form.description.assign(lines.begin(), lines.end());
  return true;
}

}  // namespace

ExchangeResult StartEditor(DeviceSettings& s, EditorForm& form, int port_number,
                           CliOperator& op) {
  if (!LoadNewProfile(s, form, op)) {
    ShowExchangeError(op, result::kFile);
    return result::kFile;
  }
  SettingsToEditor(s, form, port_number);
  SetManufacturingDateToToday(s.general);
  SettingsToEditor(s, form, port_number);
  return result::kOk;
}

ExchangeResult StartWindow(Workstation& station, const std::string& device,
                           StartedWindow& window, CliOperator& op) {
  window.port_number = station.Config().port_number;
  if (ExchangeResult r = StartEditor(window.settings, window.form, window.port_number, op))
    return r;
  station.OpenLink(device, op);
  return result::kOk;
}

}  // namespace zrm
