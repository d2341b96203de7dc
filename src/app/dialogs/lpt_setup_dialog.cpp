#include "app/dialogs/lpt_setup_dialog.h"

#include <QFileInfo>
#include <QPushButton>

#include "app/widgets/language.h"
#include "link/parallel_port_device.h"
#include "link/port_name_number.h"

namespace vantrel::app {
namespace {

QString PortItem(int number) {
  const QString name = QStringLiteral("LPT%1").arg(number);
  const std::optional<std::string> device = ParallelPortDevice(name.toStdString());
  const QString path = device ? QString::fromStdString(*device) : QString();
  return !path.isEmpty() && QFileInfo::exists(path) ? name + "  " + path : name;
}

QPushButton* NewDialogButton(QDialog* dialog, const char* name, int top) {
  auto* button = new QPushButton(dialog);
  button->setObjectName(name);
  button->setGeometry(232, top, 75, 25);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TFormLPTSetup::TFormLPTSetup(ParallelPortName& port, LanguageIndex language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      port_(port),
      ComboBoxLPT(new QComboBox(this)) {
  setObjectName("TFormLPTSetup");
  setWindowTitle("LPT Setup");
  setFixedSize(315, 88);
  ComboBoxLPT->setObjectName("ComboBoxLPT");
  ComboBoxLPT->setGeometry(16, 24, 145, 22);
  for (int n = 1; n <= kPortCount; ++n) ComboBoxLPT->addItem(PortItem(n));
  connect(NewDialogButton(this, "ButtonSet", 24), &QPushButton::clicked, this,
          &TFormLPTSetup::ButtonSetClick);
  connect(NewDialogButton(this, "ButtonCancel", 56), &QPushButton::clicked, this,
          &TFormLPTSetup::ButtonCancelClick);
  ApplyLocalizedTexts(*this, LptSetupTexts(), language);
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
