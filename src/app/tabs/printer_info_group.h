#pragma once

#include <QGroupBox>

namespace vantrel::app {

// The group "Printer Infomation": the printer's identity texts. Only the serial number can be
// typed into, and what is typed there is never sent or saved.
QGroupBox* NewPrinterInfoGroup(QWidget* parent);

}  // namespace vantrel::app
