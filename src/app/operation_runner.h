#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <exception>
#include <functional>

#include "common/failure.h"

namespace vantrel::app {

// Runs one printer operation at a time on a worker thread and hands its result back to the
// thread this object lives on (the window thread), so the windows keep repainting meanwhile.
class OperationRunner : public QObject {
  Q_OBJECT

 public:
  using Work = std::function<LinkFailure()>;
  // `error` holds what the work threw, if it threw; `failure` is then meaningless.
  using Done = std::function<void(const LinkFailure& failure, std::exception_ptr error)>;

  explicit OperationRunner(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for a running operation: the link layer it uses must outlive it.
  ~OperationRunner() override;
  OperationRunner(const OperationRunner&) = delete;
  OperationRunner& operator=(const OperationRunner&) = delete;

  // False, and nothing started, while another operation runs.
  bool Start(Work work, Done done);
  bool busy() const { return thread_ != nullptr; }

 private:
  QPointer<QThread> thread_;
};

// The text to show for what a handler or a worker threw: its what(), or the unknown error's
// message for anything that is no std::exception.
QString FailureText(const std::exception_ptr& error);

}  // namespace vantrel::app
