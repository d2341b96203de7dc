#pragma once

#include <QFont>
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace vantrel::app {

// Every message box, question, file dialog and modal dialog of the app goes through here, so
// window tests can answer them without a modal loop. Called on the window thread only.
class Prompts {
 public:
  virtual ~Prompts() = default;

  // A message with an OK button; `detail` is the box's detail text, when there is one.
  virtual void Message(const QString& text, const QString& detail = {}) = 0;
  // Yes/No; true for Yes. `detail` says what the answer decides, under the question.
  virtual bool Question(const QString& text, const QString& detail = {}) = 0;
  // The chosen file, or nothing when cancelled. `filter` is shown as it is ("*.dcf").
  virtual std::optional<QString> OpenFile(const QString& filter) = 0;
  virtual std::optional<QString> SaveFile(const QString& filter, const QString& default_suffix) = 0;
  // Runs a prepared dialog modally and returns its result (QDialog::Accepted or Rejected).
  virtual int RunDialog(QDialog& dialog) = 0;
  // OK/Cancel; true for OK. `detail` as for Question.
  virtual bool Confirm(const QString& text, const QString& detail = {}) = 0;
  // As OpenFile, starting in `folder` (empty: where the dialog would start anyway).
  virtual std::optional<QString> OpenFileIn(const QString& filter, const QString& folder) = 0;
  // The font dialog starting on `initial`; the chosen font, or nothing when cancelled.
  virtual std::optional<QFont> ChooseFont(const QFont& initial) = 0;
};

// The real boxes and dialogs, over `parent`.
class DialogPrompts : public Prompts {
 public:
  explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

  void Message(const QString& text, const QString& detail) override;
  bool Question(const QString& text, const QString& detail) override;
  std::optional<QString> OpenFile(const QString& filter) override;
  std::optional<QString> SaveFile(const QString& filter, const QString& default_suffix) override;
  int RunDialog(QDialog& dialog) override;
  bool Confirm(const QString& text, const QString& detail) override;
  std::optional<QString> OpenFileIn(const QString& filter, const QString& folder) override;
  std::optional<QFont> ChooseFont(const QFont& initial) override;

 private:
  QWidget* parent_;
};

}  // namespace vantrel::app
