#pragma once

#include <QGroupBox>
#include <QTabWidget>

namespace vantrel::app {

// The group "Printer Configuration": PageControl2 with the pages Common, Z and D and every
// control of the configuration record, named as the bindings expect them.
QGroupBox* NewConfigGroup(QWidget* parent);

// The eight unit captions beside the length edits.
inline constexpr int kUnitCaptionCount = 8;
QString UnitCaptionName(int number);  // 1..8 -> "LabelUnit1".."LabelUnit8"

}  // namespace vantrel::app
