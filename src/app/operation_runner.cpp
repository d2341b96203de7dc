#include "app/operation_runner.h"

#include <memory>

namespace vantrel::app {
namespace {

struct Outcome {
  LinkFailure failure;
  std::exception_ptr error;
};

}  // namespace

OperationRunner::~OperationRunner() {
  if (thread_ != nullptr) thread_->wait();
}

bool OperationRunner::Start(Work work, Done done) {
  if (busy()) return false;
  auto outcome = std::make_shared<Outcome>();
  QThread* thread = QThread::create([work = std::move(work), outcome] {
    try {
      outcome->failure = work();
    } catch (...) {
      outcome->error = std::current_exception();
    }
  });
  thread->setObjectName(QStringLiteral("PrinterOperation"));
  // finished is emitted on the worker; the queued call brings the result to this object's thread.
  connect(
      thread, &QThread::finished, this,
      [this, thread, outcome, done = std::move(done)] {
        thread->deleteLater();
        thread_ = nullptr;
        done(outcome->failure, outcome->error);
      },
      Qt::QueuedConnection);
  thread_ = thread;
  thread->start();
  return true;
}

QString FailureText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  } catch (...) {
    const std::string_view message = ResultMessage(kResultUnknownError);
    return QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size()));
  }
}

}  // namespace vantrel::app
