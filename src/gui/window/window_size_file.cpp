#include "gui/window/window_size_file.h"

#include <charconv>

#include "platform/private_profile.h"

namespace zrm::gui {

namespace {

constexpr const char* kFileName = "/zrm48setup.ini";
constexpr const char* kSection = "WINDOW";
constexpr const char* kWidthKey = "Width";
constexpr const char* kHeightKey = "Height";

int PositiveNumber(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value > 0 ? value : 0;
}

}  // namespace

QSize LoadWindowSize(const std::string& dir) {
  const PrivateProfile file = PrivateProfile::Load(dir + kFileName);
  const int width = PositiveNumber(file.GetString(kSection, kWidthKey, ""));
  const int height = PositiveNumber(file.GetString(kSection, kHeightKey, ""));
  return width > 0 && height > 0 ? QSize(width, height) : QSize();
}

bool SaveWindowSize(const std::string& dir, const QSize& size) {
  PrivateProfile file = PrivateProfile::Load(dir + kFileName);
  file.SetString(kSection, kWidthKey, std::to_string(size.width()));
  file.SetString(kSection, kHeightKey, std::to_string(size.height()));
  if (!file.Modified()) return true;
  std::string error;
  return file.Save(error);
}

}  // namespace zrm::gui
