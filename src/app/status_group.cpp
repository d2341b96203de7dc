#include "app/status_group.h"

#include <QGridLayout>
#include <array>

#include "app/controls.h"
#include "ops/status_labels.h"

namespace vantrel::app {
namespace {

// In StatusLabel order.
constexpr std::array<const char*, kStatusLabelCount> kLabelNames = {
    "LabelReady",         "LabelHeadOpen", "LabelPaperJam",  "LabelOutOfPaper", "LabelRibbonEnd",
    "LabelRibbonEncoder", "LabelPause",    "LabelPrintting", "LabelOtherError",
};

}  // namespace

QGroupBox* NewStatusGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterStatus", grid, 1);
  for (int i = 0; i < kStatusLabelCount; ++i) {
    QLabel* label = NewLabel(group, kLabelNames[static_cast<std::size_t>(i)]);
    label->setEnabled(false);
    grid->addWidget(label, i, 0);
  }
  grid->addWidget(NewButton(group, "ButtonGetStatus"), kStatusLabelCount, 0, Qt::AlignRight);
  return group;
}

void ShowStatusLabels(QWidget& root, const StatusFlags& flags) {
  const StatusLabelStates lit = LitStatusLabels(flags);
  for (std::size_t i = 0; i < lit.size(); ++i) {
    if (auto* label = root.findChild<QLabel*>(QLatin1String(kLabelNames[i]))) {
      label->setEnabled(lit[i]);
    }
  }
}

QGroupBox* NewFunctionGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterFunction", grid, 3);
  grid->setHorizontalSpacing(3);
  int row = 0;
  for (const char* name : {"ButtonInitial", "ButtonSelfTest", "ButtonRestPrinter",
                           "ButtonIgnoreAuto", "ButtonEthernet", "ButtonRTCSetTime",
                           "ButtonSensorCalibrate", "ButtonDump", "ButtonTestPatern"}) {
    grid->addWidget(NewButton(group, name), row++, 0);
  }
  return group;
}

}  // namespace vantrel::app
