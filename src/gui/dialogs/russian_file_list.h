#pragma once
// The list of a file dialog in Russian whatever the desktop's language: Qt's
// file list formats sizes and dates with the system's locale and names a
// folder "Folder" where its translation lacks the word. Put over the file
// dialog's own model, this names the columns, says "Папка" or "Файл prf",
// gives sizes as "12 КБ" and the time of the last change as
// "08.12.2026 12:01".

#include <QIdentityProxyModel>
#include <QString>

namespace zrm::gui {

// A size in bytes as the list shows it: "512 байт", "12 КБ", "1.5 МБ"
// (one decimal, with a point, below ten units).
QString FileSizeText(qint64 bytes);

class RussianFileList : public QIdentityProxyModel {
  Q_OBJECT

 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

}  // namespace zrm::gui
