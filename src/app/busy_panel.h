#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/widgets/localized_texts.h"

namespace vantrel::app {

// Stands in the status bar while an operation runs: what it does, with which printer, for how
// many seconds, and a Cancel button. It stays enabled while the rest of the window is not.
class BusyPanel : public QWidget {
  Q_OBJECT

 public:
  // `on_cancel` runs on the window thread when Cancel is pressed, at most once per operation.
  explicit BusyPanel(std::function<void()> on_cancel, QWidget* parent = nullptr);

  // `printer` empty: the work reaches no printer.
  void Start(const QString& what, const QString& printer, LanguageIndex language);
  void Stop();

 private:
  void Refresh();

  std::function<void()> on_cancel_;
  QLabel* LabelBusy;
  QPushButton* ButtonCancelOperation;
  QTimer tick_;
  QElapsedTimer elapsed_;
  QString what_;
  QString printer_;
};

}  // namespace vantrel::app
