#include "editor/group_switches.h"

namespace zrm {

void SelectAllGroups(DeviceSettings& s, EditorForm& form) {
  s.channel[0].select = 1;
  s.channel[1].select = 1;
  s.relay.select = 1;
  s.general.gen_select = 1;
  form.channel1_area_white = true;
  form.channel2_area_white = true;
  form.relay_area_white = true;
  form.general_area_white = true;
}

}  // namespace zrm
