#pragma once
// What the documentation tools that walk the window against an in-process
// instrument share: their output folder, waiting for a device job, and
// pointing port 1 of the current folder's dev.dat at the instrument's line.

#include <QDir>
#include <QString>
#include <iostream>
#include <string>

#include "gui/window/main_window.h"
#include "tools/stderr_dialogs.h"
#include "lib/simulator.h"
#include "platform/private_profile.h"

namespace zrm::gui {

inline void WaitForJob(const MainWindow& window) {
  Settle(100);
  while (window.Busy()) Settle(50);
  Settle(200);
}

// The folder OUTDIR named on the command line, made; empty after the usage
// of `tool` was printed.
inline QString SceneOutputFolder(int argc, char** argv, const char* tool) {
  if (argc < 2) {
    std::cerr << "usage: " << tool << " OUTDIR\n";
    return QString();
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  return out;
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

// Starts `instrument` and maps port 1 to it; false after saying why not.
inline bool ServeOnPortOne(sim::Simulator& instrument) {
  std::string error;
  if (instrument.Start(&error) && MapPortOne(instrument.SlavePath())) return true;
  std::cerr << "no simulator: " << error << '\n';
  return false;
}

}  // namespace zrm::gui
