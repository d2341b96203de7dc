#include "app/tabs/printer_info_group.h"

#include <QGridLayout>

#include "app/widgets/controls.h"

namespace vantrel::app {
namespace {

void AddRow(QGridLayout* grid, int row, const QString& caption, QLineEdit* edit) {
  grid->addWidget(NewLabel(grid->parentWidget(), caption), row, 0);
  grid->addWidget(edit, row, 1);
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const QString& name, int characters) {
  QLineEdit* edit = NewEdit(parent, name, 0, characters);
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

QGroupBox* NewPrinterInfoGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterInfo", grid, 0);
  AddRow(grid, 0, "LabelVersion", ReadOnlyEdit(group, "EditVersion", 12));
  AddRow(grid, 1, "LabelMilage", ReadOnlyEdit(group, "EditMilage", 10));
  grid->addWidget(NewLabel(group, "LabelKm", "Km"), 1, 2);
  AddRow(grid, 2, "LabelCHecksum", ReadOnlyEdit(group, "EditChecksum", 10));
  AddRow(grid, 3, "LabelSerial", NewEdit(group, "EditSerial", 63, 12));
  grid->setColumnStretch(2, 1);
  return group;
}

}  // namespace vantrel::app
