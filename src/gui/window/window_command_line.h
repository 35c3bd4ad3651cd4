#pragma once
// What zrm48setup takes on its command line beside Qt's own options: --help,
// --version and --user-folder, the per-user working folder that the desktop
// entry starts the window in (a menu entry has no current folder of its own).

#include <filesystem>
#include <string>
#include <vector>

namespace zrm::gui {

struct WindowCommandLine {
  bool help = false;
  bool version = false;
  bool user_folder = false;
};

// Picks the window's own options out of the arguments after the program
// name; every other argument is left to Qt.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string WindowUsageText();

// "zrm48setup 1.0.19.1": the text of --version.
std::string WindowVersionText();

// The per-user working folder, "ZRM48" in the user's home folder (`home`,
// or the password database's entry when it is empty).
std::filesystem::path UserFolder(const std::string& home);

// Creates `folder` when missing and makes it the current folder, so that
// dev.dat, recent.prf, the profiles, the logs and the file dialogs all live
// there. False with the system's reason in `error` when either fails.
bool EnterWorkingFolder(const std::filesystem::path& folder, std::string& error);

}  // namespace zrm::gui
