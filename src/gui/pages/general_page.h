#pragma once
// The page "Общие": firmware version, device type and error display on the
// left; the device number (prefix and serial number) given at production on
// the right; all on the group area Panel71.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "editor/editor_form.h"
#include "gui/widgets/simple_list.h"

namespace zrm::gui {

class GeneralPage : public QWidget {
  Q_OBJECT

 public:
  explicit GeneralPage(QWidget* parent = nullptr);

  void Show(const EditorForm& form);
  void Collect(EditorForm& form) const;

  // The group area, painted white while the general group is switched on.
  QFrame* Area() const { return area_; }

 private:
  QFrame* area_;              // Panel71
  QLabel* firmware_version_;  // Panel78
  QComboBox* proc_ver_;       // ComboBox19
  QComboBox* err_ver_;        // ComboBox20
  SimpleList* otk_type_;      // ComboBox27
  QLineEdit* serial_number_;  // Edit53
};

}  // namespace zrm::gui
