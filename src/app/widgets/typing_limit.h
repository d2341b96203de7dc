#pragma once

#include <QLineEdit>
#include <QValidator>

namespace vantrel::app {

// Limits what the user types into an edit to `limit` characters, unlike a maximum length,
// which would also cut a longer value the program shows (a printer that reports -99999 must
// not be shown, and then written back, as -9999). Such a text may be edited but not grown.
class TypingLimit : public QValidator {
  Q_OBJECT

 public:
  TypingLimit(QLineEdit* edit, int limit);

  State validate(QString& input, int& position) const override;
  // Lets the program put in a text longer than the limit.
  void Allow(qsizetype length);

 private:
  qsizetype limit_;
  qsizetype allowed_;
};

// Puts a value into an edit uncut, whatever its typing limit.
void ShowUncut(QLineEdit& edit, const QString& text);

}  // namespace vantrel::app
