#pragma once

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "common/ansi_code_page.h"

namespace vantrel::app {

// "Preview Font": a chart of the 256 single-byte codes in the chosen font at 10 points.
// Its captions are not localized.
class TFormPreviewFont : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 432;
  static constexpr int kClientHeight = 507;
  static constexpr int kChartWidth = 320;
  static constexpr int kChartHeight = 480;

  explicit TFormPreviewFont(QWidget* parent = nullptr);

  // Moves the dialog to (left, top) and draws the chart: a grid of 16 x 16 cells of 20 x 30
  // pixels, code r * 16 + c at (c * 20 + 5, r * 30 + 5), each code read in `code_page`.
  void DrawCodeChart(int left, int top, const QFont& font, AnsiCodePage code_page);

  QLabel* ImagePreview;
  QPushButton* ButtonExit;
};

}  // namespace vantrel::app
