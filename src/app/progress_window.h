#pragma once

#include <QObject>
#include <QProgressBar>
#include <QWidget>
#include <memory>

#include "common/progress.h"

namespace vantrel::app {

// The small window "Communicating..." that shows how far an operation has got. It takes no
// input and has no close box.
class TFormProcess : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 241;
  static constexpr int kClientHeight = 49;

  TFormProcess();

  QProgressBar* ProgressBar1;
};

// Draws the progress of the operation running on the worker thread. Every call may come from
// that thread; the window itself is created, moved and destroyed on the window thread.
class ProgressWindow : public QObject, public ProgressView {
  Q_OBJECT

 public:
  explicit ProgressWindow(QObject* parent = nullptr) : QObject(parent) {}
  ~ProgressWindow() override;

  void Show(ProgressOrigin origin, std::string_view caption) override;
  void SetBar(int value) override;
  void Close() override;

  // The window while it is shown; window thread only.
  TFormProcess* window() const { return window_.get(); }

 private:
  std::unique_ptr<TFormProcess> window_;
};

}  // namespace vantrel::app
