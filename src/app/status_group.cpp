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
  auto* group = new QGroupBox(parent);
  group->setObjectName("GroupBoxPrinterStatus");
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(1);
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
  auto* group = new QGroupBox(parent);
  group->setObjectName("GroupBoxPrinterFunction");
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setSpacing(3);
  int row = 0;
  for (const char* name : {"ButtonInitial", "ButtonSelfTest", "ButtonRestPrinter",
                           "ButtonIgnoreAuto", "ButtonEthernet"}) {
    grid->addWidget(NewButton(group, name), row++, 0);
  }
  return group;
}

}  // namespace vantrel::app
