#pragma once

#include <QApplication>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace vantrel::app::testing {

// The application font for the windows made while it lives, `scale` times the default (1.25:
// a 120-dpi desktop font); the default is restored after.
class AppFont {
 public:
  explicit AppFont(double scale) : saved_(QApplication::font()) {
    QFont font = saved_;
    font.setPointSizeF(saved_.pointSizeF() * scale);
    QApplication::setFont(font);
  }
  ~AppFont() { QApplication::setFont(saved_); }
  AppFont(const AppFont&) = delete;
  AppFont& operator=(const AppFont&) = delete;

 private:
  QFont saved_;
};

// Shows `window`, lets its layouts settle and adds to `unfit` every caption, list item, tab,
// column title and list cell that is not shown whole (scrolled into view where a scroll area
// holds it), each named with `where`; then saves a picture of the
// window as `picture`.png in the screenshot folder (VANTREL_SCREENSHOT_DIR).
void CheckTextsFit(QWidget& window, const QString& where, const QString& picture,
                   QStringList& unfit);

// "rs232_setup [zh_tw, font x1.25]": a window, its language and the font's scale.
QString FitWhere(const QString& window, int language, double scale);
// The picture of a window: "rs232_setup_zh_tw", "_large" added at a larger font.
QString FitPicture(const QString& window, int language, double scale);

class AppFixture;

// CheckTextsFit on every page of the main window (each page of the configuration tab) in every
// language; `screen` tells the pictures of another screen apart.
void CheckMainWindowTextsFit(AppFixture& app, double scale, const QString& screen,
                             QStringList& unfit);

// Fails the test with the texts found cut, one a line.
void Report(const QStringList& unfit);

}  // namespace vantrel::app::testing
