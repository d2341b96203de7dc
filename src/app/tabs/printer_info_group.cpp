#include "app/tabs/printer_info_group.h"

#include <QGridLayout>

#include "app/widgets/controls.h"

namespace vantrel::app {
namespace {

void AddRow(QGridLayout* grid, int row, const QString& caption, QLineEdit* edit) {
  grid->addWidget(NewLabel(grid->parentWidget(), caption), row, 0);
  grid->addWidget(edit, row, 1);
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const QString& name, int width) {
  QLineEdit* edit = NewEdit(parent, name, 0, width);
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

QGroupBox* NewPrinterInfoGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterInfo", grid, 2);
  AddRow(grid, 0, "LabelVersion", ReadOnlyEdit(group, "EditVersion", 110));
  AddRow(grid, 1, "LabelMilage", ReadOnlyEdit(group, "EditMilage", 80));
  grid->addWidget(NewLabel(group, "LabelKm", "Km"), 1, 2);
  AddRow(grid, 2, "LabelCHecksum", ReadOnlyEdit(group, "EditChecksum", 80));
  AddRow(grid, 3, "LabelSerial", NewEdit(group, "EditSerial", 63, 110));
  grid->setColumnStretch(2, 1);
  return group;
}

}  // namespace vantrel::app
