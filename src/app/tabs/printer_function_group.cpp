#include "app/tabs/printer_function_group.h"

#include <QGridLayout>
#include <QPushButton>

#include "app/widgets/controls.h"

namespace vantrel::app {

QGroupBox* NewFunctionGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterFunction", grid, 1);
  grid->setHorizontalSpacing(3);
  int row = 0;
  for (const char* name : {"ButtonInitial", "ButtonSelfTest", "ButtonRestPrinter",
                           "ButtonIgnoreAuto", "ButtonEthernet", "ButtonRTCSetTime",
                           "ButtonSensorCalibrate", "ButtonDump", "ButtonTestPatern"}) {
    QPushButton* button = NewButton(group, name);
    // Nine buttons stand in one column beside the configuration: they may shrink to a line of
    // text so that the window keeps its size at the desktop's usual fonts.
    button->setMinimumHeight(button->fontMetrics().height() + 4);
    grid->addWidget(button, row++, 0);
  }
  return group;
}

}  // namespace vantrel::app
