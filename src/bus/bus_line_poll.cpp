#include "bus/bus_line_poll.h"

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
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
  // Written and restarted: silent until then, and its next exchange waits
  // as the window's would.
  SteadyClock::time_point silent_until{};
  bool restarting = false;
  BusParameterValues parameters;
  std::optional<BusRepair> repair;  // owed after a plant write that failed midway
};

// The result's own message, for a write that ended before its own steps.
std::string ResultText(ExchangeResult r) {
  ResultMessage message;
  return ExchangeResultMessage(r, message) ? message.text : std::string();
}

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

  // Addresses the instrument. One restarted by a write is silent for a
  // while: its first request waits that out, and then its reply as the
  // window would wait for it; the others' as the timing says.
  void Address(Instrument& instrument, std::uint32_t wait_ms) {
    std::this_thread::sleep_until(instrument.silent_until);
    link.SetNetAddress(instrument.snapshot.address);
    link.SetMinimumWait(std::exchange(instrument.restarting, false) ? kMinimumReplyWaitMs
                                                                    : wait_ms);
  }

  void Restarted(Instrument& instrument) {
    instrument.silent_until = SteadyClock::now() + kRestartSilence;
    instrument.restarting = true;
  }

  BusWriteTarget TargetOf(const Instrument& instrument) const {
    return {GeneralOf(instrument.snapshot.identity),
            JournalPlace(working_dir, line_name, instrument.snapshot.address)};
  }

  // The poll of one instrument: identity when due, then the status block.
  ExchangeResult Poll(Instrument& instrument) {
    Address(instrument, poll_wait_ms);
    if (instrument.identity_due) {
      if (ExchangeResult r = ReadIdentity(instrument)) return r;
    }
    StatusBlock block{};
    const ExchangeResult r = link.ReadStatusBlock(block);
    if (r == result::kOk) Answered(instrument, block);
    return r;
  }

  ExchangeResult ReadIdentity(Instrument& instrument) {
    if (ExchangeResult r =
            ReadBusIdentity(link, instrument.snapshot.identity, instrument.parameters))
      return r;
    instrument.identity_due = false;
    ++instrument.snapshot.identity_reads;
    return result::kOk;
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
    Address(instrument, kMinimumReplyWaitMs);
    const BusWriteOutcome outcome = RepairBusWrite(link, TargetOf(instrument), *instrument.repair);
    Restarted(instrument);
    if (outcome.result == result::kOk) instrument.repair.reset();
    instrument.snapshot.unfinished_write = instrument.repair.has_value();
    repairs.emplace_back(instrument.snapshot, outcome);
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
  std::string line_name = "line";
  std::vector<std::pair<BusSnapshot, BusWriteOutcome>> repairs;  // not yet taken
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
  // A write follows the window's waits, after another write's restart too.
  impl_->Address(*instrument, kMinimumReplyWaitMs);
  // Its journal entry is named by the instrument's identity.
  if (instrument->identity_due) {
    if (ExchangeResult r = impl_->ReadIdentity(*instrument)) return {r, ResultText(r)};
  }
  std::optional<BusRepair> repair;
  const BusWriteOutcome outcome =
      WriteBusParameter(impl_->link, impl_->TargetOf(*instrument), parameter, value, repair);
  if (outcome.sent) impl_->Restarted(*instrument);
  if (outcome.result == result::kOk) instrument->parameters[IndexOf(parameter)] = value;
  if (repair) {
    // At once, and then after every answered poll until done.
    instrument->repair = std::move(repair);
    impl_->Repair(*instrument);
  }
  return outcome;
}

std::vector<std::pair<BusSnapshot, BusWriteOutcome>> BusLinePoll::TakeRepairs() {
  return std::exchange(impl_->repairs, {});
}

void BusLinePoll::SetWorkingDir(std::string dir, std::string line_name) {
  impl_->working_dir = std::move(dir);
  impl_->line_name = std::move(line_name);
}

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
