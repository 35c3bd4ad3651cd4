#pragma once
// Conversions between the core's UTF-8 std::string texts and QString.

#include <QString>
#include <string>

namespace zrm::gui {

inline QString ToQ(const std::string& text) { return QString::fromStdString(text); }
inline QString ToQ(const char* text) { return QString::fromUtf8(text); }
inline std::string FromQ(const QString& text) { return text.toStdString(); }

}  // namespace zrm::gui
