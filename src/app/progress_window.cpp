#include "app/progress_window.h"

namespace vantrel::app {

TFormProcess::TFormProcess()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      ProgressBar1(new QProgressBar(this)) {
  setObjectName(QStringLiteral("TFormProcess"));
  setWindowTitle(
      QString::fromUtf8(kProgressCaption.data(), static_cast<qsizetype>(kProgressCaption.size())));
  setFixedSize(kClientWidth, kClientHeight);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(16, 16, 209, 17);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::Show(ProgressOrigin origin, std::string_view caption) {
  QMetaObject::invokeMethod(
      this,
      [this, origin,
       title = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()))] {
        window_ = std::make_unique<TFormProcess>();
        window_->setWindowTitle(title);
        window_->move(origin.x, origin.y);
        window_->show();
      },
      Qt::QueuedConnection);
}

void ProgressWindow::SetBar(int value) {
  QMetaObject::invokeMethod(
      this,
      [this, value] {
        if (window_ != nullptr) window_->ProgressBar1->setValue(value);
      },
      Qt::QueuedConnection);
}

void ProgressWindow::Close() {
  QMetaObject::invokeMethod(
      this, [this] { window_.reset(); }, Qt::QueuedConnection);
}

}  // namespace vantrel::app
