#include "app/tabs/preview_font_dialog.h"

#include <QPainter>
#include <QPixmap>

namespace vantrel::app {
namespace {

constexpr int kColumns = 16;
constexpr int kColumnWidth = 20;
constexpr int kRowHeight = 30;
constexpr int kTextInset = 5;

}  // namespace

TFormPreviewFont::TFormPreviewFont(QWidget* parent) : QDialog(parent) {
  setObjectName("TFormPreviewFont");
  setWindowTitle("Preview Font");
  setFixedSize(kClientWidth, kClientHeight);
  ImagePreview = new QLabel(this);
  ImagePreview->setObjectName("ImagePreview");
  ImagePreview->setGeometry(24, 8, kChartWidth, kChartHeight);
  ButtonExit = new QPushButton("Exit", this);
  ButtonExit->setObjectName("ButtonExit");
  ButtonExit->setGeometry(352, 464, 75, 25);
  connect(ButtonExit, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormPreviewFont::DrawCodeChart(int left, int top, const QFont& font, AnsiCodePage code_page) {
  move(left, top);
  QPixmap chart(kChartWidth, kChartHeight);
  chart.fill(Qt::white);
  QPainter painter(&chart);
  QFont small = font;  // the chosen font itself keeps its size
  small.setPointSize(10);
  painter.setFont(small);
  painter.setPen(Qt::black);
  const AnsiCodec codec(code_page);
  const int ascent = painter.fontMetrics().ascent();
  for (int code = 1; code < kColumns * kColumns; ++code) {  // code 0 is the empty text
    const char byte = static_cast<char>(code);
    // A lone lead byte of a double-byte code page stands for nothing and is left empty.
    const DecodedText text = codec.Decode(std::string_view(&byte, 1));
    if (text.undecodable > 0) continue;
    painter.drawText(code % kColumns * kColumnWidth + kTextInset,
                     code / kColumns * kRowHeight + kTextInset + ascent,
                     QString::fromStdString(text.utf8));
  }
  for (int x = kColumnWidth; x < kChartWidth; x += kColumnWidth) {
    painter.drawLine(x, 0, x, kChartHeight - 1);
  }
  for (int y = kRowHeight; y < kChartHeight; y += kRowHeight) {
    painter.drawLine(0, y, kChartWidth - 1, y);
  }
  painter.end();
  ImagePreview->setPixmap(chart);
}

}  // namespace vantrel::app
