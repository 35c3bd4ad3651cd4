#include "cli/batch_display.h"

#include <sys/ioctl.h>

#include "cli/cli_texts.h"

namespace zrm {

namespace {

// The terminal's width in columns; 80 when it does not say.
std::size_t TerminalColumns(std::FILE* out) {
  winsize size{};
  return ::ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// `text` cut to `columns` characters (UTF-8), so that no line wraps and the
// redraw finds its lines where it left them.
std::string FitTo(const std::string& text, std::size_t columns) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts_character && ++characters > columns) return text.substr(0, i);
  }
  return text;
}

}  // namespace

void BusLine::Begin(const PlanRow* row, const BatchOperator* op) {
  std::lock_guard lock(mutex_);
  row_ = row;
  op_ = op;
}

void BusLine::End() { Begin(nullptr, nullptr); }

std::string BusLine::Current() const {
  std::lock_guard lock(mutex_);
  if (!row_) return {};
  std::string text = row_->action_text + cli_texts::kBatchAddress + std::to_string(row_->address);
  const std::string step = op_ ? op_->Step() : std::string();
  if (!step.empty()) text += ": " + step;
  return text;
}

BatchDisplay::BatchDisplay(std::FILE* out, bool live, const std::vector<BusLine*>& lines)
    : out_(out), live_(live), lines_(lines) {}

void BatchDisplay::Draw() {
  if (!live_) return;
  std::lock_guard lock(print_mutex_);
  if (drawn_ > 0) std::fprintf(out_, "\033[%zuA", drawn_);  // back to the first line
  const std::size_t columns = TerminalColumns(out_) - 1;
  for (const BusLine* line : lines_) {
    std::string text =
        line->device + ": " + std::to_string(line->done) + "/" + std::to_string(line->rows.size());
    if (line->failed > 0) text += cli_texts::kBatchFailed + std::to_string(line->failed.load());
    const std::string current = line->Current();
    if (!current.empty()) text += "  " + current;
    std::fprintf(out_, "\r\033[K%s\n", FitTo(text, columns).c_str());
  }
  drawn_ = lines_.size();
  std::fflush(out_);
}

void BatchDisplay::RowNotice(std::FILE* err, const ResultRow& row, const std::string& text) {
  std::lock_guard lock(print_mutex_);
  std::fprintf(err, "%s%s: %s\n", row.device.c_str(),
               (cli_texts::kBatchAddress + std::to_string(row.address)).c_str(), text.c_str());
  std::fflush(err);
  drawn_ = 0;  // the live lines start again below the notice
}

void BatchDisplay::RowFinished(const ResultRow& row) {
  if (live_) return;
  std::string text = row.device + cli_texts::kBatchAddress + std::to_string(row.address) + " " +
                     row.action + ": " + std::to_string(row.result) + " " + row.message;
  if (!row.file.empty()) text += " → " + row.file;
  std::lock_guard lock(print_mutex_);
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

}  // namespace zrm
