#pragma once

class QWidget;

namespace vantrel::app {

// For the start-up benchmark: once `window` has been shown, prints the wall-clock time
// ("shown_ns=", nanoseconds since the epoch) and the resident memory ("rss_kb=") on standard
// output, then quits the application.
void ReportWhenShown(QWidget& window);

}  // namespace vantrel::app
