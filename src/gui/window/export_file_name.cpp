#include "gui/window/export_file_name.h"

#include <array>

#include "gui/window/status_texts.h"

namespace zrm::gui {

namespace {

// By the device type list's index: "4810/11", "4813", "4816".
constexpr std::array<const char*, 3> kModels = {"ZRM4810", "ZRM4813", "ZRM4816"};
constexpr const char* kUnknownModel = "ZRM48XX";

}  // namespace

QString ExportFileName(const EditorForm& form, const QDateTime& when, const char* suffix) {
  const bool known = form.proc_ver >= 0 && form.proc_ver < static_cast<int>(kModels.size());
  const char* model = known ? kModels[static_cast<std::size_t>(form.proc_ver)] : kUnknownModel;
  QString name = QString::fromLatin1(model);
  const QString device = DeviceNameOf(form);
  if (!device.isEmpty()) name += "-" + device;
  return name + "-" + when.toString("yyyyMMdd-hhmm") + "." + QString::fromLatin1(suffix);
}

}  // namespace zrm::gui
