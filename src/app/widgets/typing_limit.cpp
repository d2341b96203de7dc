#include "app/widgets/typing_limit.h"

#include <algorithm>

namespace vantrel::app {

TypingLimit::TypingLimit(QLineEdit* edit, int limit)
    : QValidator(edit), limit_(limit), allowed_(limit) {}

QValidator::State TypingLimit::validate(QString& input, int&) const {
  return input.size() <= allowed_ ? Acceptable : Invalid;
}

void TypingLimit::Allow(qsizetype length) {
  allowed_ = std::max(limit_, length);
}

void ShowUncut(QLineEdit& edit, const QString& text) {
  // Allowed before the text goes in: the edit validates it on the way.
  if (auto* limit = qobject_cast<TypingLimit*>(const_cast<QValidator*>(edit.validator()))) {
    limit->Allow(text.size());
  }
  edit.setText(text);
}

}  // namespace vantrel::app
