#include "robustness/instrument_at_path.h"

#include "lib/device_symlink.h"

namespace zrm::test {

InstrumentAtPath::InstrumentAtPath(std::string link_path) : link_path_(std::move(link_path)) {}

InstrumentAtPath::~InstrumentAtPath() {
  if (current_) sim::RemoveDeviceSymlink(link_path_, current_->SlavePath());
}

bool InstrumentAtPath::Start(sim::SimulatorOptions options, std::string& error) {
  options_ = std::move(options);
  current_ = std::make_unique<sim::Simulator>(options_);
  return current_->Start(&error) &&
         sim::CreateDeviceSymlink(link_path_, current_->SlavePath(), error);
}

void InstrumentAtPath::Unplug() { sim::RemoveDeviceSymlink(link_path_, current_->SlavePath()); }

bool InstrumentAtPath::ComeBack(std::string& error) {
  earlier_.push_back({options_.seed, current_->Frames()});
  options_.memory = current_->Memory();
  options_.seed += 1;
  current_->Stop();
  return Start(options_, error);
}

std::vector<InstrumentAtPath::Frames> InstrumentAtPath::AllFrames() const {
  std::vector<Frames> all = earlier_;
  all.push_back({options_.seed, current_->Frames()});
  return all;
}

}  // namespace zrm::test
