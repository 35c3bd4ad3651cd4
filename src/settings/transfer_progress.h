#pragma once
// The progress of a transfer, as it drives the progress panel through the
// Operator: keeps the six lines (line 2 the group under way, line 3 the
// step), sends them whenever they change, and makes the ESC check that ends
// a channel transfer.

#include <string>
#include <string_view>

#include "platform/operator.h"

namespace zrm {

// The panel's own texts.
inline constexpr std::string_view kProgressTitle = "Ход процесса";
inline constexpr std::string_view kEscHint = "Для прекращения нажмите ESC";
inline constexpr std::string_view kChannelWriteEscHint = "Для остановки нажмите ESC";
inline constexpr std::string_view kReadingChannelText = "Идет чтение настроек канала ";
inline constexpr std::string_view kWritingChannelText = "Запись настроек канала ";

inline constexpr std::string_view kProgressCountOf = " из ";
inline constexpr std::string_view kProgressTimeLeft = ", осталось ";
inline constexpr std::string_view kProgressSeconds = " с";

// "57 из 114, осталось 3 с": the exchanges done of the total and, once some
// are done and some remain, the time left at the pace so far, in whole
// seconds rounded up.
std::string ProgressCountText(int done, int total, double elapsed_seconds);

// Six lines with a title on line 1, a group on line 2 and a hint on line 6.
ProgressLines PanelLines(std::string_view title, std::string_view group, std::string_view hint);

class TransferProgress {
 public:
  // Starts from `lines` without sending them.
  explicit TransferProgress(Operator& op, ProgressLines lines = {});

  // Replaces all six lines and sends them.
  void SetLines(const ProgressLines& lines);
  // Sets line 2 (the group) and sends the lines.
  void SetGroup(std::string_view text);
  // Sets line 3 (the step) and sends the lines.
  void SetStep(std::string_view text);
  // Empties line 3 without sending: the next change carries it.
  void ClearStep();

  void Show();
  void Hide();

  // Lets the window repaint and register keys before the next exchange.
  void BeforeExchange();

  // The ESC check between two steps: true (and the panel hidden) when ESC
  // was pressed since the previous query.
  bool StopRequested();

 private:
  Operator& op_;
  ProgressLines lines_;
};

}  // namespace zrm
