#include "transfer_row.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"
#include "sample_stats.h"

namespace zrm::bench {

namespace {

std::size_t SumSent(const std::vector<ExchangeBytes>& exchanges) {
  std::size_t sum = 0;
  for (const auto& e : exchanges) sum += e.sent;
  return sum;
}

std::size_t SumReceived(const std::vector<ExchangeBytes>& exchanges) {
  std::size_t sum = 0;
  for (const auto& e : exchanges) sum += e.received;
  return sum;
}

std::string Ms(double value) { return FormatFixed(value, 0, 1); }

// Each answered exchange's time beyond its own wire-time limit, in µs.
void AddedTimes(const TimedRun& run, const LineSetup& line, std::vector<double>& added_us) {
  for (std::size_t i = 0; i < run.exchanges.size() && i < run.reply_ms.size(); ++i) {
    if (run.reply_ms[i] < 0) continue;
    const ExchangeBytes one[] = {run.exchanges[i]};
    added_us.push_back((run.reply_ms[i] - WireLimitMs(one, line)) * 1000);
  }
}

}  // namespace

TransferRow Summarize(const std::string& name, const LineSetup& line,
                      const std::vector<TimedRun>& runs) {
  TransferRow row;
  row.name = name;
  row.baud = line.baud;
  row.runs = runs.size();
  const unsigned r = PerCharacterTimeoutMs(line.baud).value_or(0);
  std::vector<double> walls, limits, ratios, fixed, added_us;
  for (const auto& run : runs) {
    AddedTimes(run, line, added_us);
    const double limit = WireLimitMs(run.exchanges, line);
    walls.push_back(run.wall_ms);
    limits.push_back(limit);
    ratios.push_back(limit > 0 ? run.wall_ms / limit : 0);
    fixed.push_back(FixedWindowMs(run.exchanges, line, r));
  }
  row.measured_ms = Median(walls);
  row.limit_ms = Median(limits);
  row.ratio = Median(ratios);
  row.worst_ratio = Largest(ratios);
  row.fixed_window_ms = Median(fixed);
  row.added_per_exchange_us = Median(added_us);
  if (runs.empty()) return row;
  // The run whose wall time is nearest the median stands for the counts.
  const auto median_run = std::min_element(runs.begin(), runs.end(), [&](auto& a, auto& b) {
    return std::abs(a.wall_ms - row.measured_ms) < std::abs(b.wall_ms - row.measured_ms);
  });
  row.exchanges = median_run->exchanges.size();
  row.bytes_sent = SumSent(median_run->exchanges);
  row.bytes_received = SumReceived(median_run->exchanges);
  return row;
}

std::string TransferTableHead() {
  return "| transfer | baud | runs | exchanges | bytes sent | bytes received | measured ms "
         "(median) | wire limit ms | ratio (median) | ratio (worst) | added µs per exchange "
         "(median) | fixed-window ms |\n"
         "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|";
}

std::string FormatTransferRow(const TransferRow& row) {
  return "| " + row.name + " | " + std::to_string(row.baud) + " | " + std::to_string(row.runs) +
         " | " + std::to_string(row.exchanges) + " | " + std::to_string(row.bytes_sent) + " | " +
         std::to_string(row.bytes_received) + " | " + Ms(row.measured_ms) + " | " +
         Ms(row.limit_ms) + " | " + FormatFixed(row.ratio, 0, 3) + " | " +
         FormatFixed(row.worst_ratio, 0, 3) + " | " + FormatFixed(row.added_per_exchange_us, 0, 0) +
         " | " + Ms(row.fixed_window_ms) + " |";
}

}  // namespace zrm::bench
