#pragma once
// The window doing the same job as a command, for comparison: a Session
// started the way the window starts, in a folder of its own whose dev.dat
// maps port 1 to a given device.

#include <string>

#include "app/session.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {

class WindowReference {
 public:
  // Starts the session (start-up, then the reload shortly after) on `device`.
  explicit WindowReference(const std::string& device);

  // "Прочитать из прибора", then "Сохранить настройки прибора в файл" as `file`.
  ExchangeResult ReadAndSave(const std::string& file);

  // The profile `file` opened, then "Записать в прибор", every question
  // answered Yes.
  ExchangeResult OpenAndWrite(const std::string& file);

  const std::string& Dir() const { return dir_.Path(); }
  RecordingOperator op;

 private:
  ScratchDir dir_;
  Session session_;
};

}  // namespace zrm::test
