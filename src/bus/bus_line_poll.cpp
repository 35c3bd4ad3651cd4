#include "bus/bus_line_poll.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "bus/bus_identity_read.h"
#include "bus/bus_parameter.h"
#include "bus/bus_parameter_write.h"
#include "bus/bus_status_decode.h"
#include "bus/bus_texts.h"
#include "link/link.h"

namespace zrm {

namespace {

struct Instrument {
  BusSnapshot snapshot;
  bool identity_due = true;  // at start and after every return to online
  bool restarting = false;   // written and restarted: the next poll waits it out
  BusParameterValues parameters;
  std::optional<BusRepair> repair;  // owed after a plant write that failed midway
};

}  // namespace

struct BusLinePoll::Impl {
  Impl(std::size_t line_index, Line& line, std::int32_t speed,
       const std::vector<std::uint32_t>& addresses, BusTiming timing)
      : line(line),
        timing(timing),
        poll_wait_ms(BusReplyWaitMs(timing, speed)),
        link(line, LinkParams{1, timing.attempts, timing.timeout_ms, speed}, nullptr) {
    for (const std::uint32_t address : addresses) {
      Instrument instrument;
      instrument.snapshot.line = line_index;
      instrument.snapshot.address = address;
      instruments.push_back(instrument);
    }
  }

  Instrument* Find(std::uint32_t address) {
    for (Instrument& instrument : instruments)
      if (instrument.snapshot.address == address) return &instrument;
    return nullptr;
  }

  // The poll of one instrument: identity when due, then the status block.
  ExchangeResult Poll(Instrument& instrument) {
    link.SetNetAddress(instrument.snapshot.address);
    // An instrument restarted by a write is silent for a while: its next
    // poll waits as the window would, the others as the timing says.
    link.SetMinimumWait(std::exchange(instrument.restarting, false) ? kMinimumReplyWaitMs
                                                                    : poll_wait_ms);
    if (instrument.identity_due) {
      if (ExchangeResult r =
              ReadBusIdentity(link, instrument.snapshot.identity, instrument.parameters))
        return r;
      instrument.identity_due = false;
      ++instrument.snapshot.identity_reads;
    }
    StatusBlock block{};
    const ExchangeResult r = link.ReadStatusBlock(block);
    if (r == result::kOk) Answered(instrument, block);
    return r;
  }

  static void Answered(Instrument& instrument, const StatusBlock& block) {
    BusSnapshot& s = instrument.snapshot;
    DecodeBusStatus(block, s);
    s.availability = BusAvailability::kOnline;
    s.last_answer = std::chrono::steady_clock::now();
    s.last_answer_wall = std::chrono::system_clock::now();
    s.failed_in_row = 0;
    ++s.polls_answered;
  }

  void Failed(Instrument& instrument) {
    BusSnapshot& s = instrument.snapshot;
    ++s.failed_in_row;
    if (s.failed_in_row >= std::max<std::uint32_t>(timing.offline_after, 1)) GoOffline(instrument);
  }

  // Puts back what a failed write changed; the instrument's state says so
  // until it is done.
  void Repair(Instrument& instrument) {
    link.SetNetAddress(instrument.snapshot.address);
    link.SetMinimumWait(kMinimumReplyWaitMs);
    const BusWriteOutcome outcome = RepairBusWrite(link, *instrument.repair, working_dir);
    instrument.restarting = true;
    if (outcome.result == result::kOk) instrument.repair.reset();
    instrument.snapshot.unfinished_write = instrument.repair.has_value();
  }

  static void GoOffline(Instrument& instrument) {
    instrument.snapshot.availability = BusAvailability::kOffline;
    instrument.identity_due = true;
  }

  Line& line;
  const BusTiming timing;
  const std::uint32_t poll_wait_ms;
  Link link;
  std::vector<Instrument> instruments;
  std::size_t next = 0;
  std::string working_dir = ".";
};

BusLinePoll::BusLinePoll(std::size_t line_index, Line& line, std::int32_t speed,
                         std::vector<std::uint32_t> addresses, BusTiming timing)
    : impl_(std::make_unique<Impl>(line_index, line, speed, addresses, timing)) {}

BusLinePoll::~BusLinePoll() = default;

BusSnapshot BusLinePoll::PollNext() {
  if (impl_->instruments.empty()) return {};
  Instrument& instrument = impl_->instruments[impl_->next];
  impl_->next = (impl_->next + 1) % impl_->instruments.size();
  const ExchangeResult r = impl_->Poll(instrument);
  instrument.snapshot.last_result = r;
  if (r != result::kOk) impl_->Failed(instrument);
  // An instrument that answers gets what a failed write owes it.
  if (r == result::kOk && instrument.repair) impl_->Repair(instrument);
  if (!impl_->line.IsOpen()) MarkAllOffline();
  return instrument.snapshot;
}

std::vector<BusSnapshot> BusLinePoll::MarkAllOffline() {
  for (Instrument& instrument : impl_->instruments) Impl::GoOffline(instrument);
  return Snapshots();
}

void BusLinePoll::LineOpened() { impl_->link.LineOpened(); }

BusWriteOutcome BusLinePoll::Write(std::uint32_t address, BusParameter parameter, float value) {
  Instrument* instrument = impl_->Find(address);
  if (!instrument)
    return {result::kParameterNotFound, bus_texts::kNotPolledAddress + std::to_string(address)};
  impl_->link.SetNetAddress(address);
  // A write follows the window's waits: right after another write's restart
  // the instrument may still be silent.
  impl_->link.SetMinimumWait(kMinimumReplyWaitMs);
  std::optional<BusRepair> repair;
  const BusWriteOutcome outcome =
      WriteBusParameter(impl_->link, parameter, value, impl_->working_dir, repair);
  instrument->restarting = true;
  if (outcome.result == result::kOk) instrument->parameters[IndexOf(parameter)] = value;
  if (repair) {
    // At once, and then after every answered poll until done.
    instrument->repair = std::move(repair);
    impl_->Repair(*instrument);
  }
  return outcome;
}

void BusLinePoll::SetWorkingDir(std::string dir) { impl_->working_dir = std::move(dir); }

std::optional<float> BusLinePoll::ParameterValue(std::uint32_t address,
                                                 BusParameter parameter) const {
  const Instrument* instrument = impl_->Find(address);
  if (!instrument) return std::nullopt;
  return instrument->parameters[IndexOf(parameter)];
}

std::vector<BusSnapshot> BusLinePoll::Snapshots() const {
  std::vector<BusSnapshot> out;
  for (const Instrument& instrument : impl_->instruments) out.push_back(instrument.snapshot);
  return out;
}

}  // namespace zrm
