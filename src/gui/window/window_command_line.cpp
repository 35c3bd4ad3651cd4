#include "gui/window/window_command_line.h"

#include <pwd.h>
#include <unistd.h>

#include <system_error>

namespace zrm::gui {

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args) {
  WindowCommandLine command_line;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") command_line.help = true;
    if (arg == "--version") command_line.version = true;
    if (arg == "--user-folder") command_line.user_folder = true;
  }
  return command_line;
}

std::string WindowUsageText() {
  return "Usage: zrm48setup [--user-folder] [QT-OPTIONS]\n"
         "The setup window for ZRM 48xx instruments: reads an instrument's settings over\n"
         "the serial line, edits them, writes them back, keeps them in profile files,\n"
         "shows the current values and prints the configuration report.\n"
         "\n"
         "The window works in the current folder: dev.dat (the link settings),\n"
         "recent.prf (the last editor state), the default model profiles and the\n"
         "logs COM.txt and IZM.txt live there.\n"
         "\n"
         "Options:\n"
         "  --user-folder  work in ~/ZRM48 (created on first start) instead of the\n"
         "                 current folder, as the desktop menu entry does\n"
         "  --help         print this text and exit\n"
         "  --version      print the version and exit\n"
         "\n"
         "Qt's own options (-platform offscreen, -style NAME, ...) are taken as well.\n"
         "Serial devices belong to the group dialout: sudo usermod -aG dialout $USER\n";
}

std::string WindowVersionText() { return std::string("zrm48setup ") + ZRM_VERSION; }

std::filesystem::path UserFolder(const std::string& home) {
  std::string base = home;
  if (base.empty()) {
    const passwd* entry = getpwuid(getuid());
    if (entry && entry->pw_dir) base = entry->pw_dir;
  }
  return std::filesystem::path(base) / "ZRM48";
}

bool EnterWorkingFolder(const std::filesystem::path& folder, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!ec) std::filesystem::current_path(folder, ec);
  if (ec) error = ec.message();
  return !ec;
}

}  // namespace zrm::gui
