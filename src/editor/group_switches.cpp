#include "editor/group_switches.h"

namespace zrm {

void SelectAllGroups(DeviceSettings& s, EditorForm& form) {
  s.channel[0].select = 1;
  s.channel[1].select = 1;
  s.relay.select = 1;
  s.general.gen_select = 1;
  form.panel1_white = true;
  form.panel2_white = true;
  form.panel77_white = true;
  form.panel71_white = true;
}

}  // namespace zrm
