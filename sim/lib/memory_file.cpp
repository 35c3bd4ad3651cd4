#include "lib/memory_file.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "lib/parameter_table.h"

namespace zrm::sim {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool WholeUnsigned(std::string_view text, int base, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ParseValue(const ParameterKey& key, std::string_view text, std::uint32_t& value) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  std::uint64_t number = 0;
  if (key.width == Width::kByte) {
    if (!WholeUnsigned(hex ? text.substr(2) : text, hex ? 16 : 10, number) || number > 0xFF) {
      return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
  }
  if (hex) {
    if (text.size() != 10 || !WholeUnsigned(text.substr(2), 16, number)) return false;
    value = static_cast<std::uint32_t>(number);
    return true;
  }
  float f = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), f);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
  value = std::bit_cast<std::uint32_t>(f);
  return true;
}

bool ApplyLine(std::string_view line, ParameterMemory& memory, std::string& problem) {
  line = Trim(line.substr(0, line.find('#')));
  if (line.empty()) return true;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    problem = "expected name = value";
    return false;
  }
  const std::string_view name = Trim(line.substr(0, equals));
  const std::string_view text = Trim(line.substr(equals + 1));
  const ParameterInfo* info = FindParameterByName(name);
  if (info == nullptr || info->access == Access::kCommand) {
    problem = "unknown parameter '" + std::string(name) + "'";
    return false;
  }
  std::uint32_t value = 0;
  if (!ParseValue(info->key, text, value)) {
    problem = "bad value '" + std::string(text) + "' for " + info->name;
    return false;
  }
  memory.SetValue(info->key, value);
  return true;
}

std::string ValueText(const ParameterKey& key, std::uint32_t value) {
  if (key.width == Width::kByte) return std::to_string(value);
  const float f = std::bit_cast<float>(value);
  if (!std::isfinite(f)) {
    char hex[16];
    const auto result = std::to_chars(hex, hex + sizeof hex, value, 16);
    return "0x" + std::string(8 - (result.ptr - hex), '0') + std::string(hex, result.ptr);
  }
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, f);
  return std::string(text, result.ptr);
}

}  // namespace

bool ApplyMemoryText(std::string_view text, ParameterMemory& memory, std::string& error) {
  ParameterMemory updated = memory;
  std::size_t line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::string problem;
    if (!ApplyLine(line, updated, problem)) {
      error = "line " + std::to_string(line_number) + ": " + problem;
      return false;
    }
  }
  memory = updated;
  return true;
}

bool LoadMemoryFile(const std::string& path, ParameterMemory& memory, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (!ApplyMemoryText(content.str(), memory, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

std::string MemoryFileText(const ParameterMemory& memory) {
  std::string text = "# zrm48sim memory: name = value\n";
  for (const ParameterInfo& p : ParameterTable()) {
    if (p.access == Access::kCommand) continue;
    text += p.name + " = " + ValueText(p.key, memory.Value(p.key).value_or(0)) + "\n";
  }
  return text;
}

}  // namespace zrm::sim
