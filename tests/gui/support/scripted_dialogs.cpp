#include "support/scripted_dialogs.h"

#include <QWidget>
#include <algorithm>

namespace zrm::test {

namespace {

bool OverShownWindow(const QWidget* parent) { return parent && parent->window()->isVisible(); }

QString Next(std::deque<QString>& names) {
  if (names.empty()) return {};
  QString name = names.front();
  names.pop_front();
  return name;
}

}  // namespace

void ScriptedDialogs::ShowMessage(QWidget* parent, const std::string& text,
                                  const std::string& caption, MessageIcon icon) {
  shown.push_back({text, caption, icon, false, OverShownWindow(parent), false});
  if (while_open) while_open(shown.back());
}

bool ScriptedDialogs::AskYesNo(QWidget* parent, const std::string& text, const std::string& caption,
                               MessageIcon icon) {
  shown.push_back({text, caption, icon, true, OverShownWindow(parent), false});
  return NextAnswer();
}

bool ScriptedDialogs::AskYesNoDefaultNo(QWidget* parent, const std::string& text,
                                        const std::string& caption, MessageIcon icon) {
  shown.push_back({text, caption, icon, true, OverShownWindow(parent), true});
  return NextAnswer();
}

bool ScriptedDialogs::NextAnswer() {
  if (answers.empty()) return default_answer;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

QString ScriptedDialogs::OpenProfileName(QWidget*) { return Next(open_names); }

QString ScriptedDialogs::SaveProfileName(QWidget*, const QString& proposed) {
  proposed_save_names.push_back(proposed);
  return Next(save_names);
}

std::vector<std::string> ScriptedDialogs::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& s : shown)
    if (!s.question) texts.push_back(s.text);
  return texts;
}

int ScriptedDialogs::CountOf(const std::string& text) const {
  const auto texts = MessageTexts();
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

}  // namespace zrm::test
