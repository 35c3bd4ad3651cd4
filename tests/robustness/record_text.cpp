#include "robustness/record_text.h"

#include "profiles/profile_file.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {

std::string RecordText(const DeviceSettings& s) {
  ScratchDir dir;
  RecordingOperator op;
  DeviceSettings copy = s;
  SaveProfile(dir.File("record.prf"), copy, s.description.txt, op);
  const GeneralSettings& g = s.general;
  return ReadBytes(dir.File("record.prf")) + "serial=" + std::to_string(SerialNumber(g)) +
         " firmware=" + std::to_string(g.firmware_version) + " date=" +
         std::to_string(g.date_day) + "." + std::to_string(g.date_month) + "." +
         std::to_string(g.date_year);
}

DeviceSettings EveryGroupOn() {
  DeviceSettings s;
  for (ChannelSettings& channel : s.channel) channel.select = 1;
  s.relay.select = 1;
  s.general.gen_select = 1;
  return s;
}

}  // namespace zrm::test
