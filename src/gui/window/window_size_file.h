#pragma once
// The program's own settings file, zrm48setup.ini in the working folder
// (dev.dat and the profiles stay as the instrument's tools know them): the
// size the user gave the main window, section [WINDOW], keys Width and Height.

#include <QSize>
#include <string>

namespace zrm::gui {

// The saved size, or an invalid QSize when the file or a key is missing or
// not a positive number.
QSize LoadWindowSize(const std::string& dir);

// Stores `size` in dir/zrm48setup.ini, keeping whatever else the file holds.
// False when the file cannot be written; the size is then simply not kept.
bool SaveWindowSize(const std::string& dir, const QSize& size);

}  // namespace zrm::gui
