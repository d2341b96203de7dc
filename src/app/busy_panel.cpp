#include "app/busy_panel.h"

#include <QHBoxLayout>
#include <QStringList>

namespace vantrel::app {
namespace {

constexpr LocalizedText kCancelCaption = {{"Cancel", "取消", "取消"}};

}  // namespace

BusyPanel::BusyPanel(std::function<void()> on_cancel, QWidget* parent)
    : QWidget(parent),
      on_cancel_(std::move(on_cancel)),
      LabelBusy(new QLabel(this)),
      ButtonCancelOperation(new QPushButton(this)),
      tick_(this) {
  setObjectName("PanelBusy");
  LabelBusy->setObjectName("LabelBusy");
  ButtonCancelOperation->setObjectName("ButtonCancelOperation");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(LabelBusy, 1);
  layout->addWidget(ButtonCancelOperation);
  // No taller than a line of the status bar, which keeps its height whether busy or not.
  ButtonCancelOperation->setMaximumHeight(LabelBusy->sizeHint().height());
  connect(ButtonCancelOperation, &QPushButton::clicked, this, [this] {
    ButtonCancelOperation->setEnabled(false);
    on_cancel_();
  });
  connect(&tick_, &QTimer::timeout, this, &BusyPanel::Refresh);
  hide();
}

void BusyPanel::Start(const QString& what, const QString& printer, LanguageIndex language) {
  what_ = what;
  printer_ = printer;
  const std::string_view caption = kCancelCaption.In(language);
  ButtonCancelOperation->setText(
      QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  ButtonCancelOperation->setEnabled(true);
  elapsed_.start();
  tick_.start(1000);
  Refresh();
  show();
}

void BusyPanel::Stop() {
  tick_.stop();
  hide();
}

void BusyPanel::Refresh() {
  const QString seconds = QStringLiteral("%1 s").arg(elapsed_.elapsed() / 1000);
  QStringList parts{what_, printer_, seconds};
  parts.removeAll(QString());
  LabelBusy->setText(parts.join(QStringLiteral(" · ")));
}

}  // namespace vantrel::app
