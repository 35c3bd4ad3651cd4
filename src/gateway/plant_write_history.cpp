#include "gateway/plant_write_history.h"

#include <utility>

#include "bus/bus_identity_read.h"
#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

namespace t = gateway_texts;

constexpr const char* kPlantWrite = "plant-write";
constexpr const char* kPlantRepair = "plant-repair";

void Describe(const BusSnapshot& snapshot, HistoryEvent& event) {
  if (!snapshot.identity.known) return;
  DeviceSettings instrument;
  instrument.general = GeneralOf(snapshot.identity);
  DescribeInstrument(instrument, event);
}

std::string OutcomeMessage(const BusWriteOutcome& outcome) {
  return outcome.result == result::kOk ? std::string() : outcome.message;
}

}  // namespace

PlantWriteHistory::PlantWriteHistory(BusAccess& bus, HistoryRecorder& history,
                                     const GatewayConfig& config, GatewayLog& log)
    : bus_(bus),
      history_(history),
      config_(config),
      log_(log),
      service_user_(history.User()),
      thread_([this] { Run(); }) {}

void PlantWriteHistory::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

HistoryEvent PlantWriteHistory::NewEvent(const std::string& action, std::size_t line,
                                         std::uint32_t address, const std::string& origin) {
  const std::string device = line < config_.lines.size() ? config_.lines[line].bus.device : "";
  HistoryEvent event;
  {
    // The recorder counts its events: one caller at a time.
    const std::lock_guard lock(mutex_);
    event = history_.NewEvent(action, device, address);
  }
  event.user = service_user_ + (origin.empty() ? "" : " (" + origin + ")");
  if (const std::optional<BusSnapshot> snapshot = bus_.SnapshotOf(line, address))
    Describe(*snapshot, event);
  return event;
}

void PlantWriteHistory::RequestWrite(std::size_t line, std::uint32_t address,
                                     BusParameter parameter, float value,
                                     const std::string& origin, WriteDone done) {
  Task opening{NewEvent(kPlantWrite, line, address, origin), {}, {}};
  opening.event.result = -1;
  opening.event.message = std::string(BusParameterName(parameter)) + " = " + FormatGeneral(value, 9);
  const std::string opening_id = opening.event.id;
  opening.stored = [=, this] {
    bus_.RequestWrite(line, address, parameter, value, origin,
                      [=, this](const BusWriteOutcome& outcome) {
                        Task closing{NewEvent(kPlantWrite, line, address, origin), {}, {}};
                        closing.event.opening_id = opening_id;
                        closing.event.result = outcome.result;
                        closing.event.message = OutcomeMessage(outcome);
                        closing.event.changes = outcome.changes;
                        if (!Queue(std::move(closing))) log_.Error(t::kHistoryQueueFull);
                        if (done) done(outcome);
                      });
  };
  opening.not_stored = [done](const std::string& error) {
    if (done) done({result::kFile, error + t::kHistoryBlocksWrite});
  };
  if (!Queue(std::move(opening)) && done) done({result::kFile, t::kHistoryQueueFull, true});
}

void PlantWriteHistory::OnRepaired(const BusSnapshot& snapshot, const BusWriteOutcome& outcome) {
  Task repair{NewEvent(kPlantRepair, snapshot.line, snapshot.address, ""), {}, {}};
  repair.event.result = outcome.result;
  repair.event.message = OutcomeMessage(outcome);
  repair.event.changes = outcome.changes;
  if (!Queue(std::move(repair))) log_.Error(t::kHistoryQueueFull);
}

bool PlantWriteHistory::Queue(Task task) {
  {
    const std::lock_guard lock(mutex_);
    if (tasks_.size() >= kMostWaiting) return false;
    tasks_.push_back(std::move(task));
  }
  wake_.notify_one();
  return true;
}

void PlantWriteHistory::Run() {
  for (;;) {
    Task task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      // What waits is stored before the thread ends.
      if (tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    std::string error;
    if (history_.Store(task.event, error)) {
      last_failure_.clear();
      // The plant's database out of reach: told once, the events wait.
      if (const std::string notice = history_.TakeNotice(); !notice.empty()) log_.Warning(notice);
      if (task.stored) task.stored();
    } else {
      Failed(error);
      if (task.not_stored) task.not_stored(error);
    }
  }
}

void PlantWriteHistory::Failed(const std::string& error) {
  if (error == last_failure_) return;
  last_failure_ = error;
  log_.Error(error);
}

}  // namespace zrm
