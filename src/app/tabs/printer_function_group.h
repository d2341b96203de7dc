#pragma once

#include <QGroupBox>

namespace vantrel::app {

// The group "Printer Function": the one-shot control buttons and the utilities. The main window
// answers its buttons.
QGroupBox* NewFunctionGroup(QWidget* parent);

}  // namespace vantrel::app
