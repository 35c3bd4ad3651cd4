#include "gui/dialogs/russian_file_list.h"

#include <QFileSystemModel>
#include <array>
#include <iterator>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

// The columns of Qt's file list.
enum Column { kName, kSize, kKind, kModified };

}  // namespace

QString FileSizeText(qint64 bytes) {
  constexpr double kUnit = 1024.0;
  if (bytes < static_cast<qint64>(kUnit)) return QString::number(bytes) + ToQ(text::kBytesUnit);
  double value = static_cast<double>(bytes) / kUnit;
  std::size_t unit = 0;
  while (value >= kUnit && unit + 1 < std::size(text::kSizeUnits)) {
    value /= kUnit;
    ++unit;
  }
  // QString::number never uses the locale: the decimal point stays a point.
  const QString number =
      value < 10.0 ? QString::number(value, 'f', 1) : QString::number(static_cast<qint64>(value));
  return number + ToQ(text::kSizeUnits[unit]);
}

QVariant RussianFileList::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || role != Qt::DisplayRole || index.column() == kName)
    return QIdentityProxyModel::data(index, role);
  const QFileInfo info = files->fileInfo(mapToSource(index));
  switch (index.column()) {
    case kSize: return info.isDir() ? QString() : FileSizeText(info.size());
    case kKind:
      if (info.isDir()) return ToQ(text::kFolderKind);
      return info.suffix().isEmpty() ? ToQ(text::kFileKind)
                                     : ToQ(text::kFileKind) + " " + info.suffix();
    case kModified:
      // A format of its own: the system's locale would spell the month.
      return info.lastModified().toString(ToQ(text::kModifiedFormat));
    default: return QIdentityProxyModel::data(index, role);
  }
}

QVariant RussianFileList::headerData(int section, Qt::Orientation orientation, int role) const {
  constexpr std::array<const char*, 4> kHeads = {text::kNameColumn, text::kSizeColumn,
                                                 text::kKindColumn, text::kModifiedColumn};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(kHeads.size()))
    return QIdentityProxyModel::headerData(section, orientation, role);
  return ToQ(kHeads[static_cast<std::size_t>(section)]);
}

}  // namespace zrm::gui
