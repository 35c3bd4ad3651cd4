#include "cli/batch_results.h"

#include <charconv>
#include <ctime>
#include <fstream>

#include "platform/system_reason.h"

namespace zrm {

namespace {

constexpr std::size_t kColumnCount = 10;

// One line per row: a message box's line breaks become spaces.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

std::string ResultsHeader() {
  return "time,device,address,action,type,serial,firmware,result,message,file";
}

std::string ResultLine(const ResultRow& row) {
  return CsvField(row.time) + "," + CsvField(row.device) + "," + std::to_string(row.address) +
         "," + CsvField(row.action) + "," + CsvField(row.type) + "," +
         CsvField(row.serial) + "," + CsvField(row.firmware) + "," + std::to_string(row.result) +
         "," + CsvField(OneLine(row.message)) + "," + CsvField(row.file);
}

ResultsFile::~ResultsFile() {
  if (file_) std::fclose(file_);
}

bool ResultsFile::Open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "a");
  if (!file_) {
    error = path + ": " + SystemReason(errno);
    return false;
  }
  if (std::ftell(file_) == 0) {
    std::fprintf(file_, "%s\n", ResultsHeader().c_str());
    std::fflush(file_);
  }
  return true;
}

void ResultsFile::Append(const ResultRow& row) {
  const std::string line = ResultLine(row) + "\n";
  std::lock_guard lock(mutex_);
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

SucceededRows ReadSucceededRows(const std::string& path) {
  SucceededRows done;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    const std::vector<std::string> f = CsvFields(line);
    std::uint32_t address = 0;
    if (f.size() != kColumnCount || f[7] != "0") continue;
    const auto [end, ec] = std::from_chars(f[2].data(), f[2].data() + f[2].size(), address);
    if (ec != std::errc() || end != f[2].data() + f[2].size()) continue;
    ++done[{f[1], address, f[3]}];
  }
  return done;
}

std::string ResultTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace zrm
