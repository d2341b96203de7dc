#include "app/tabs/status_group.h"

#include <QGridLayout>
#include <QPushButton>
#include <array>

#include "app/widgets/controls.h"
#include "ops/status_labels.h"

namespace vantrel::app {
namespace {

// In StatusLabel order.
constexpr std::array<const char*, kStatusLabelCount> kLabelNames = {
    "LabelReady",         "LabelHeadOpen", "LabelPaperJam",  "LabelOutOfPaper", "LabelRibbonEnd",
    "LabelRibbonEncoder", "LabelPause",    "LabelPrintting", "LabelOtherError",
};

QLabel* StatusLabel(QWidget* group, int index) {
  QLabel* label = NewLabel(group, kLabelNames[static_cast<std::size_t>(index)]);
  label->setEnabled(false);
  return label;
}

}  // namespace

QGroupBox* NewStatusGroup(QWidget* parent) {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(parent, "GroupBoxPrinterStatus", grid, 0);
  // The button stands beside the last two labels rather than below them, as the column beside
  // the configuration is tall; the longer labels above span its column and keep their width.
  constexpr int kBesideButton = kStatusLabelCount - 2;
  for (int i = 0; i < kStatusLabelCount; ++i) {
    grid->addWidget(StatusLabel(group, i), i, 0, 1, i < kBesideButton ? 2 : 1);
  }
  grid->addWidget(NewButton(group, "ButtonGetStatus"), kBesideButton, 1, 2, 1,
                  Qt::AlignRight | Qt::AlignBottom);
  grid->setColumnStretch(0, 1);
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

}  // namespace vantrel::app
