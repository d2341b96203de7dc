#include "app/dialogs/about_dialog.h"

#include <QPushButton>

namespace vantrel::app {

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("TFormAbout");
  setWindowTitle("Vantrel");
  setFixedSize(206, 95);
  auto* button = new QPushButton("Version 1.28", this);
  button->setObjectName("Button1");
  button->setGeometry(rect());
  QFont font = button->font();
  font.setPixelSize(19);
  button->setFont(font);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace vantrel::app
