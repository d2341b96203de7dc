#include "app/startup_report.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "common/host_file.h"

namespace vantrel::app {
namespace {

QByteArray ResidentKilobytes() {
  const std::optional<std::string> status = ReadShortTextFile("/proc/self/status");
  if (!status) return "unknown";
  for (const QByteArray& line : QByteArray::fromStdString(*status).split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front();
  }
  return "unknown";
}

}  // namespace

void ReportWhenShown(QWidget& window) {
  // A zero timer fires once the event loop has handled the show and the first paint.
  QTimer::singleShot(0, &window, [] {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("shown_ns=%lld rss_kb=%s\n",
                static_cast<long long>(std::chrono::nanoseconds(now).count()),
                ResidentKilobytes().constData());
    std::fflush(stdout);
    // exit, not quit: quit asks the window, which refuses to close while the start-up probe runs.
    QApplication::exit(0);
  });
}

}  // namespace vantrel::app
