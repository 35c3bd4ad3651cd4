#include "lib/simulator.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "lib/bus_addresses.h"
#include "lib/default_instrument.h"
#include "lib/instrument.h"
#include "lib/line_timing.h"
#include "lib/pseudo_terminal.h"
#include "lib/stop_signal.h"

namespace zrm::sim {
namespace {

// Bytes kept while waiting for a CR; a longer run without one is line noise.
constexpr std::size_t kMaxPendingBytes = 1024;

// The faults of the instrument at `address`: those named for it, and those
// named for none.
std::vector<Fault> FaultsFor(const std::vector<Fault>& faults, unsigned address) {
  std::vector<Fault> out;
  for (const Fault& f : faults)
    if (!f.address || *f.address == address) out.push_back(f);
  return out;
}

InstrumentSetup SetupFrom(const SimulatorOptions& options) {
  InstrumentSetup setup;
  setup.net_address = options.address;
  setup.float_decimals = options.float_decimals;
  setup.faults = FaultsFor(options.faults, options.address);
  setup.seed = options.seed;
  setup.memory = options.memory ? *options.memory : DefaultInstrumentMemory();
  if (const auto own = options.memory_at.find(options.address); own != options.memory_at.end())
    setup.memory = own->second;
  if (options.serial) SetSerialNumber(setup.memory, *options.serial);
  return setup;
}

// Every instrument on the line, the first as the options describe it; the
// others share the faults named for no instrument (they see the same frames)
// but not its memory.
std::vector<Instrument> InstrumentsFrom(const SimulatorOptions& options, Clock::time_point now) {
  const InstrumentSetup first = SetupFrom(options);
  std::vector<Instrument> instruments{Instrument(first, now)};
  for (std::size_t i = 0; i < options.more_addresses.size(); ++i) {
    InstrumentSetup setup = first;
    setup.net_address = options.more_addresses[i];
    setup.faults = FaultsFor(options.faults, setup.net_address);
    setup.memory = BusMemberMemory(first.memory, i + 1);
    if (const auto own = options.memory_at.find(setup.net_address);
        own != options.memory_at.end()) {
      const std::uint32_t serial = SerialNumberOf(setup.memory);
      setup.memory = own->second;
      if (options.serial) SetSerialNumber(setup.memory, serial);
    }
    instruments.emplace_back(std::move(setup), now);
  }
  return instruments;
}

}  // namespace

struct Simulator::Impl {
  explicit Impl(const SimulatorOptions& options)
      : timing{options.line_timing, options.baud, options.turnaround},
        restart_time(options.restart_time),
        check_speed(options.check_speed),
        wrong_speed(options.wrong_speed),
        instruments(InstrumentsFrom(options, Clock::now())) {}

  Instrument& First() { return instruments.front(); }
  // Lets every instrument on the line see the frame; the one addressed answers.
  Response ServeOnBus(ReceivedFrame& frame, Clock::time_point now);
  // The reply as a client at its own speed receives it.
  std::string AsClientHearsIt(std::string reply) const;

  void Serve();
  // Handles one complete frame; false when the line is gone.
  bool HandleFrame(std::string raw, Clock::time_point first_byte);
  // Sends a reply with its timing; false when stopped or the line broke.
  bool Send(const std::string& reply, Clock::time_point start);
  void Vanish();

  const LineTiming timing;
  const std::chrono::milliseconds restart_time;
  const bool check_speed;
  const WrongSpeedAnswer wrong_speed;

  mutable std::mutex mutex;
  mutable std::condition_variable frames_changed;
  std::vector<Instrument> instruments;  // guarded by mutex; never empty
  std::vector<ReceivedFrame> frames;   // guarded by mutex
  std::size_t received = 0;            // guarded by mutex
  bool serving = false;                // guarded by mutex

  PseudoTerminal pty;
  StopSignal stop;
  std::thread thread;
};

void Simulator::Impl::Serve() {
  // The default 50 µs timer slack would let every paced byte out late; a
  // byte lasts 260 µs at 38400 bit/s.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::string pending;
  Clock::time_point first_byte;
  char chunk[256];
  while (stop.WaitReadable(pty.Master(), Clock::time_point::max()) == WaitResult::kReady) {
    const ssize_t count = read(pty.Master(), chunk, sizeof chunk);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) break;
    for (ssize_t i = 0; i < count; ++i) {
      if (pending.empty()) first_byte = Clock::now();
      pending += chunk[i];
      if (chunk[i] == '\r') {
        if (!HandleFrame(std::move(pending), first_byte)) return;
        pending.clear();
      }
    }
    if (pending.size() > kMaxPendingBytes) pending.clear();
  }
}

bool Simulator::Impl::HandleFrame(std::string raw, Clock::time_point first_byte) {
  const Clock::time_point now = Clock::now();
  Response response;
  ReceivedFrame frame;
  {
    std::lock_guard lock(mutex);
    frame.number = ++received;
    frame.first_byte = first_byte;
    frame.time = now;
    frame.raw = std::move(raw);
    response = ServeOnBus(frame, now);
    response.reply = AsClientHearsIt(std::move(response.reply));
    frame.reply = response.reply;
    frames.push_back(frame);
  }
  frames_changed.notify_all();
  if (response.vanish) {
    Vanish();
    return false;
  }
  if (response.reply.empty()) return true;
  if (!Send(response.reply, ReplyStart(timing, frame, Clock::now(), response.delay))) return false;
  if (response.restart) {
    std::lock_guard lock(mutex);
    for (Instrument& instrument : instruments) {
      if (instrument.NetAddress() == frame.fields.net_address)
        instrument.BeginSilence(Clock::now() + restart_time);
    }
  }
  return true;
}

Response Simulator::Impl::ServeOnBus(ReceivedFrame& frame, Clock::time_point now) {
  Response response = First().Serve(frame, now);
  for (std::size_t i = 1; i < instruments.size() && response.reply.empty() && !response.vanish;
       ++i) {
    ReceivedFrame seen = frame;
    Response other = instruments[i].Serve(seen, now);
    if (!other.reply.empty() || other.vanish) {
      frame = seen;
      response = other;
    }
  }
  return response;
}

std::string Simulator::Impl::AsClientHearsIt(std::string reply) const {
  if (!check_speed || reply.empty()) return reply;
  const std::optional<unsigned> client = ClientSpeed(pty.Slave());
  if (!client || *client == timing.baud) return reply;
  if (wrong_speed == WrongSpeedAnswer::kSilent) return {};
  return GarbledReply(reply, timing.baud, *client);
}

bool Simulator::Impl::Send(const std::string& reply, Clock::time_point start) {
  if (!stop.SleepUntil(start)) return false;
  if (!timing.on) return WriteAll(pty.Master(), reply, stop);
  std::size_t sent = 0;
  while (sent < reply.size()) {
    if (!stop.SleepUntil(ByteDone(timing, start, sent))) return false;
    std::size_t due = sent + 1;
    const Clock::time_point now = Clock::now();
    while (due < reply.size() && ByteDone(timing, start, due) <= now) ++due;
    if (!WriteAll(pty.Master(), std::string_view(reply).substr(sent, due - sent), stop)) {
      return false;
    }
    sent = due;
  }
  return true;
}

void Simulator::Impl::Vanish() {
  std::lock_guard lock(mutex);
  pty.Close();
  serving = false;
}

Simulator::Simulator(SimulatorOptions options) : impl_(std::make_unique<Impl>(options)) {}

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(std::string* error) {
  std::string message;
  if (impl_->thread.joinable()) {
    message = "simulator already started";
  } else if (!impl_->stop.Valid()) {
    message = "no pipe for the stop signal";
  } else if (impl_->pty.Open(message)) {
    impl_->serving = true;
    impl_->thread = std::thread([this] { impl_->Serve(); });
    return true;
  }
  if (error != nullptr) *error = message;
  return false;
}

std::string Simulator::SlavePath() const { return impl_->pty.SlavePath(); }

void Simulator::Stop() {
  if (!impl_->thread.joinable()) return;
  impl_->stop.Raise();
  impl_->thread.join();
  std::lock_guard lock(impl_->mutex);
  impl_->pty.Close();
  impl_->serving = false;
}

bool Simulator::Serving() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->serving;
}

std::optional<std::uint32_t> Simulator::Value(const ParameterKey& key) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().Value(key);
}

bool Simulator::SetValue(const ParameterKey& key, std::uint32_t value) {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().SetValue(key, value);
}

std::optional<std::uint8_t> Simulator::Byte(int space, unsigned address) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().Byte(space, address);
}

bool Simulator::SetByte(int space, unsigned address, std::uint8_t value) {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().SetByte(space, address, value);
}

std::optional<float> Simulator::Float(unsigned address) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().Float(address);
}

bool Simulator::SetFloat(unsigned address, float value) {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory().SetFloat(address, value);
}

ParameterMemory Simulator::Memory() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Memory();
}

std::optional<ParameterMemory> Simulator::MemoryAt(unsigned address) const {
  std::lock_guard lock(impl_->mutex);
  for (Instrument& instrument : impl_->instruments)
    if (instrument.NetAddress() == address) return instrument.Memory();
  return std::nullopt;
}

void Simulator::SetMemory(const ParameterMemory& memory) {
  std::lock_guard lock(impl_->mutex);
  impl_->First().Memory() = memory;
}

void Simulator::SetFloatDecimals(int decimals) {
  std::lock_guard lock(impl_->mutex);
  impl_->First().SetFloatDecimals(decimals);
}

std::vector<ReceivedFrame> Simulator::Frames() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->frames;
}

void Simulator::ClearFrames() {
  std::lock_guard lock(impl_->mutex);
  impl_->frames.clear();
}

std::size_t Simulator::RequestsReceived() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->received;
}

bool Simulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->frames_changed.wait_for(lock, timeout,
                                        [&] { return impl_->frames.size() >= count; });
}

void Simulator::AddFault(const Fault& fault) {
  std::lock_guard lock(impl_->mutex);
  for (Instrument& instrument : impl_->instruments)
    if (fault.address ? instrument.NetAddress() == *fault.address
                      : &instrument == &impl_->First()) {
      instrument.Faults().push_back(fault);
      return;
    }
}

void Simulator::ClearFaults() {
  std::lock_guard lock(impl_->mutex);
  for (Instrument& instrument : impl_->instruments) instrument.Faults().clear();
}

void Simulator::SetInputByte(std::uint8_t bits) {
  std::lock_guard lock(impl_->mutex);
  impl_->First().Status().Script().input = bits;
}

void Simulator::SetSensorBreak(int channel, bool broken) {
  if (channel < 1 || channel > 2) return;
  std::lock_guard lock(impl_->mutex);
  impl_->First().Status().Script().broken[channel - 1] = broken;
}

void Simulator::PinChannelValue(int channel, std::optional<float> value) {
  PinChannelBits(channel, value ? std::optional(std::bit_cast<std::uint32_t>(*value))
                                : std::nullopt);
}

void Simulator::PinChannelBits(int channel, std::optional<std::uint32_t> bits) {
  if (channel < 1 || channel > 2) return;
  std::lock_guard lock(impl_->mutex);
  impl_->First().Status().Script().pinned_bits[channel - 1] = bits;
}

void Simulator::PinStatusCode(int channel, std::optional<std::uint8_t> code) {
  if (channel < 1 || channel > 2) return;
  std::lock_guard lock(impl_->mutex);
  impl_->First().Status().Script().pinned_code[channel - 1] = code;
}

StatusBytes Simulator::StatusBlockNow() {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Status().Block(impl_->First().Memory(), Clock::now());
}

unsigned Simulator::RestartCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().RestartCount();
}

bool Simulator::Restarting() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->First().Silent(Clock::now());
}

}  // namespace zrm::sim
