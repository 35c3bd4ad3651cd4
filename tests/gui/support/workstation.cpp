#include "support/workstation.h"

#include <pty.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include "platform/private_profile.h"

namespace zrm::test {

Workstation::Workstation() : dir_(temp_.path().toStdString()) {}

Workstation::~Workstation() {
  if (window_) Close();
}

void Workstation::MapPort(int number, const std::string& device) {
  SetKey("dev.dat", "PORTS", "COM" + std::to_string(number), device);
}

void Workstation::SetKey(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& value) {
  PrivateProfile profile = PrivateProfile::Load(PathOf(file));
  profile.SetString(section, key, value);
  std::string error;
  if (!profile.Save(error)) qFatal("cannot write %s: %s", file.c_str(), error.c_str());
}

std::string Workstation::Key(const std::string& file, const std::string& section,
                             const std::string& key) const {
  return PrivateProfile::Load(PathOf(file)).GetString(section, key, "<missing>");
}

gui::MainWindow& Workstation::Start() {
  session_ = std::make_unique<Session>(dir_);
  window_ = std::make_unique<gui::MainWindow>(*session_, dialogs);
  window_->show();
  // The start-up's boxes open once the window stands.
  QCoreApplication::processEvents();
  return *window_;
}

void Workstation::Close() {
  if (window_->isVisible()) window_->close();
  QElapsedTimer waited;
  waited.start();
  while (window_->isVisible() && waited.elapsed() < 30000) QTest::qWait(10);
  window_.reset();
  session_.reset();
}

QString Workstation::Outcome() { return Find<QLabel>("StatusOutcome")->text(); }

QString Workstation::PortNews() { return Find<QLabel>("StatusPortNews")->text(); }

void Workstation::ClickAndWait(const char* button) {
  Find<QAbstractButton>(button)->click();
  WaitForJob();
}

void Workstation::WaitForJob(int timeout_ms) {
  QElapsedTimer waited;
  waited.start();
  while (window_->Busy() && waited.elapsed() < timeout_ms) QTest::qWait(5);
  if (window_->Busy()) qFatal("the device job did not end");
  QCoreApplication::processEvents();
}

SilentLine::SilentLine() {
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) qFatal("no pseudo-terminal");
  path_ = name;
}

SilentLine::~SilentLine() {
  close(slave_);
  close(master_);
}

}  // namespace zrm::test
