#pragma once

#include <QGroupBox>

#include "common/status_flags.h"

namespace vantrel::app {

// The group "Printer Status": nine labels, lit (enabled) or greyed, and "Get Status".
QGroupBox* NewStatusGroup(QWidget* parent);

// Lights the labels below `root` by the shared rule for a successful status read.
void ShowStatusLabels(QWidget& root, const StatusFlags& flags);

}  // namespace vantrel::app
