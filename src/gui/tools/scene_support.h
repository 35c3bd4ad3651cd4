#pragma once
// What the documentation tools that walk the window against an in-process
// instrument share: waiting for a device job, and pointing port 1 of the
// current folder's dev.dat at the instrument's line.

#include <string>

#include "gui/tform1.h"
#include "gui/tools/stderr_dialogs.h"
#include "platform/private_profile.h"

namespace zrm::gui {

inline void WaitForJob(const TForm1& window) {
  Settle(100);
  while (window.Busy()) Settle(50);
  Settle(200);
}

// Port 1 of the folder's dev.dat is the simulator's line.
inline bool MapPortOne(const std::string& device) {
  PrivateProfile dev = PrivateProfile::Load("dev.dat");
  dev.SetString("PORTS", "COM1", device);
  dev.SetString("COM_SETTINGS", "Number", "1");
  dev.SetString("SETTINGS", "TimeOut", "1");
  std::string error;
  return dev.Save(error);
}

}  // namespace zrm::gui
