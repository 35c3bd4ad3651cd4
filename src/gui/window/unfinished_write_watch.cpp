#include "gui/window/unfinished_write_watch.h"

#include <utility>

#include "app/write_journal.h"
#include "gui/texts/qt_text.h"
#include "settings/instrument_identity_text.h"

namespace zrm::gui {

namespace {

bool SameInstrument(const DeviceSettings& a, const DeviceSettings& b) {
  return InstrumentFileStem(a.general) == InstrumentFileStem(b.general);
}

// The entry was saved by a write that began at `since` or later.
bool BeganSince(const JournalEntry& entry, std::time_t since) {
  std::tm started = entry.started;
  started.tm_isdst = -1;
  return std::mktime(&started) >= since;
}

}  // namespace

UnfinishedWriteWatch::UnfinishedWriteWatch(std::string working_dir, QStatusBar& bar,
                                           QWidget& window)
    : QObject(&window),
      working_dir_(std::move(working_dir)),
      reminder_(new QLabel),
      box_(new UnfinishedWriteBox(&window)) {
  reminder_->setObjectName("UnfinishedWriteReminder");
  reminder_->hide();
  bar.addPermanentWidget(reminder_);
  connect(box_, &UnfinishedWriteBox::ResumeChosen, this, &UnfinishedWriteWatch::ResumeAsked);
  connect(box_, &UnfinishedWriteBox::RollbackChosen, this, &UnfinishedWriteWatch::RollbackAsked);
}

void UnfinishedWriteWatch::Look(const DeviceSettings& instrument, const QString& stop,
                                std::time_t written_since) {
  JournalEntry entry;
  std::string problem;
  switch (FindJournalEntry(working_dir_, instrument, entry, problem)) {
    case JournalState::kNone:
      if (watched_ && SameInstrument(*watched_, instrument)) Clear();
      return;
    case JournalState::kUnfinished: {
      const QString sentence = ToQ(UnfinishedWriteSentence(entry));
      reminder_->setText(sentence);
      const bool stopped_now = !stop.isEmpty() && BeganSince(entry, written_since);
      Show({(stopped_now ? stop : QString()) + sentence, true, !entry.backup_path.empty()});
      break;
    }
    case JournalState::kDamaged:
      reminder_->setText(ToQ(problem));
      Show({ToQ(problem), false, false});
      break;
  }
  reminder_->show();
  watched_ = instrument;
}

void UnfinishedWriteWatch::Recheck() {
  if (!watched_) return;
  JournalEntry entry;
  std::string problem;
  if (FindJournalEntry(working_dir_, *watched_, entry, problem) == JournalState::kNone) Clear();
}

void UnfinishedWriteWatch::SetCommandsEnabled(bool enabled) {
  commands_enabled_ = enabled;
  box_->SetActionsEnabled(enabled);
  if (enabled && held_) Show(*std::exchange(held_, std::nullopt));
}

void UnfinishedWriteWatch::Show(const Offer& offer) {
  if (!commands_enabled_) {
    held_ = offer;
    return;
  }
  box_->Offer(offer.text, offer.can_act, offer.can_roll_back);
}

void UnfinishedWriteWatch::Clear() {
  held_.reset();
  watched_.reset();
  reminder_->clear();
  reminder_->hide();
  box_->hide();
}

}  // namespace zrm::gui
