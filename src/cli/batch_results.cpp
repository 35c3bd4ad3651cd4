#include "cli/batch_results.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <ctime>
#include <fstream>

#include "cli/cli_texts.h"
#include "platform/system_reason.h"

namespace zrm {

namespace {

// The columns --resume reads, found by their names in the header; the enum
// names their places in kResumeColumns.
constexpr std::array<std::string_view, 7> kResumeColumns = {
    "device", "address", "action", "result", "plan", "plan_hash", "profile_hash"};
enum ResumeColumn { kDevice, kAddress, kAction, kResult, kPlan, kPlanHash, kProfileHash };

// One line per row: a message box's line breaks become spaces.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

// Writes all of `bytes`; false with errno set when the system took only part.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The line end a crash may have cut off the file's last line: appended rows
// then start on a line of their own.
bool EndCutLine(int fd, off_t size) {
  char last = '\n';
  if (size > 0 && ::pread(fd, &last, 1, size - 1) != 1) return false;
  return last == '\n' || WriteAll(fd, "\n");
}

}  // namespace

std::string ResultsHeader() {
  return "time,device,address,action,type,serial,firmware,result,message,file,plan,plan_hash,"
         "profile_hash";
}

std::string ResultLine(const ResultRow& row) {
  return CsvField(row.time) + "," + CsvField(row.device) + "," + std::to_string(row.address) + "," +
         CsvField(row.action) + "," + CsvField(row.type) + "," + CsvField(row.serial) + "," +
         CsvField(row.firmware) + "," + std::to_string(row.result) + "," +
         CsvField(OneLine(row.message)) + "," + CsvField(row.file) + "," + CsvField(row.plan) +
         "," + CsvField(row.plan_hash) + "," + CsvField(row.profile_hash);
}

ResultsFile::~ResultsFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool ResultsFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  // O_NONBLOCK: opening a pipe with no reader must not wait for one.
  fd_ = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    error = path + ": " + SystemReason(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = path + cli_texts::kResultsNotRegular;
    return false;
  }
  ::fcntl(fd_, F_SETFL, O_APPEND);  // writes wait for the disk again
  const bool ready =
      info.st_size == 0 ? WriteAll(fd_, ResultsHeader() + "\n") : EndCutLine(fd_, info.st_size);
  if (!ready) error = path + ": " + SystemReason(errno);
  return ready;
}

bool ResultsFile::Append(const ResultRow& row, std::string& error) {
  const std::string line = ResultLine(row) + "\n";
  std::lock_guard lock(mutex_);
  if (failure_.empty()) {
    struct stat before {};
    if (::fstat(fd_, &before) == 0 && WriteAll(fd_, line)) return true;
    failure_ = path_ + ": " + SystemReason(errno);
    // A cut line would read as a row that never ran (the reader skips it
    // should this fail too).
    if (before.st_size > 0 && ::ftruncate(fd_, before.st_size) != 0) errno = 0;
  }
  error = failure_;
  return false;
}

SucceededRows ReadSucceededRows(const std::string& path, const std::string& plan_path,
                                const std::string& plan_hash, std::string& warning) {
  SucceededRows done;
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) return done;  // a new file
  std::vector<std::size_t> c;
  if (!HeaderColumns(CsvFields(line), kResumeColumns, c, warning)) {
    warning = path + ": " + warning + cli_texts::kResumeNothing;
    return done;
  }
  while (std::getline(in, line)) {
    const std::vector<std::string> f = CsvFields(line);
    std::uint32_t address = 0;
    if (f.size() <= *std::max_element(c.begin(), c.end()) || f[c[kResult]] != "0" ||
        f[c[kPlan]] != plan_path || f[c[kPlanHash]] != plan_hash)
      continue;
    const std::string& a = f[c[kAddress]];
    const auto [end, ec] = std::from_chars(a.data(), a.data() + a.size(), address);
    if (ec != std::errc() || end != a.data() + a.size()) continue;
    ++done[{f[c[kDevice]], address, f[c[kAction]], f[c[kProfileHash]]}];
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
