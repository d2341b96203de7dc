#include "app/dialogs/lpt_setup_dialog.h"

#include <QGridLayout>

#include "app/guard.h"
#include "app/widgets/controls.h"
#include "app/widgets/language.h"
#include "link/parallel_port_device.h"
#include "link/port_name_number.h"

namespace vantrel::app {
namespace {

// "LPT1  /dev/lp0": the device is named whether or not it exists now, so the user knows which
// one to plug in or load the driver for.
QString PortItem(int number) {
  const QString name = QStringLiteral("LPT%1").arg(number);
  const std::optional<std::string> device = ParallelPortDevice(name.toStdString());
  return device ? name + "  " + QString::fromStdString(*device) : name;
}

}  // namespace

TFormLPTSetup::TFormLPTSetup(ParallelPortName& port, LanguageIndex language, Prompts& prompts,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), port_(port) {
  setObjectName("TFormLPTSetup");
  setWindowTitle("LPT Setup");
  QStringList items;
  for (int n = 1; n <= kPortCount; ++n) items << PortItem(n);
  ComboBoxLPT = NewList(this, "ComboBoxLPT", items);
  ComboBoxLPT->setMinimumWidth(145);
  QPushButton* set = NewButton(this, "ButtonSet");
  QPushButton* cancel = NewButton(this, "ButtonCancel");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(16, 24, 8, 7);
  grid->setHorizontalSpacing(16);
  grid->addWidget(ComboBoxLPT, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(set, 0, 1);
  grid->addWidget(cancel, 1, 1);
  grid->setColumnStretch(0, 1);
  connect(set, &QPushButton::clicked, this, Guarded(prompts, this, &TFormLPTSetup::ButtonSetClick));
  connect(cancel, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormLPTSetup::ButtonCancelClick));
  ApplyLocalizedTexts(*this, LptSetupTexts(), language);
  // The designed client area at the least; a larger font or port item widens it.
  setFixedSize(QSize(315, 88).expandedTo(sizeHint()));
  const std::optional<int> number = PortNameNumber(port.name, "LPT", kPortCount);
  ComboBoxLPT->setCurrentIndex(number ? *number - 1 : -1);
}

void TFormLPTSetup::ButtonSetClick() {
  // Without a chosen item the record keeps its port (it may name a device path).
  if (ComboBoxLPT->currentIndex() >= 0) {
    port_.name = QStringLiteral("LPT%1").arg(ComboBoxLPT->currentIndex() + 1).toStdString();
  }
  accept();
}

void TFormLPTSetup::ButtonCancelClick() {
  reject();
}

}  // namespace vantrel::app
