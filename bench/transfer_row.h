#pragma once
// One line of the transfer table: a transfer run several times at one speed,
// summed up as counts, medians and the ratio to the wire-time limit.

#include <string>
#include <vector>

#include "wire_model.h"

namespace zrm::bench {

// One timed run of a transfer and the exchanges it made.
struct TimedRun {
  double wall_ms = 0;
  std::vector<ExchangeBytes> exchanges;
  std::vector<double> reply_ms;  // per exchange, write to CR; negative: no CR
};

struct TransferRow {
  std::string name;
  unsigned baud = 0;
  std::size_t runs = 0;
  // Counts of the median run (they differ between runs only where a reply's
  // checksum has a different number of digits, as in the status block).
  std::size_t exchanges = 0;
  std::size_t bytes_sent = 0;
  std::size_t bytes_received = 0;
  double measured_ms = 0;      // median wall time
  double limit_ms = 0;         // median wire-time limit
  double ratio = 0;            // median of measured / limit, run by run
  double worst_ratio = 0;      // largest measured / limit
  double fixed_window_ms = 0;  // median time of the fixed-window design
  // Median over every exchange of every run of (write to CR) minus that
  // exchange's own wire time and turnaround: what the program and the
  // emulation add to one exchange, free of the rare long delays a busy
  // machine deals out.
  double added_per_exchange_us = 0;
};

// Sums up `runs` (at least one) of transfer `name` on `line`.
TransferRow Summarize(const std::string& name, const LineSetup& line,
                      const std::vector<TimedRun>& runs);

// The table's head (two lines, Markdown) and one row, without newline.
std::string TransferTableHead();
std::string FormatTransferRow(const TransferRow& row);

}  // namespace zrm::bench
