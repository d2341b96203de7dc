#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vantrel::app::testing {

// Shows `window`, lets its layouts settle and adds to `unfit` every caption, list item, tab and
// column title that is not shown whole, each named with `where`; then saves a picture of the
// window as `picture`.png in the screenshot folder (VANTREL_SCREENSHOT_DIR).
void CheckTextsFit(QWidget& window, const QString& where, const QString& picture,
                   QStringList& unfit);

}  // namespace vantrel::app::testing
