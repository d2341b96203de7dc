#include "app/widgets/screen_room.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "common/progress.h"

namespace vantrel::app {
namespace {

QSize FrameExtra(const QWidget& window) {
  // Before the window system has framed the window, a title bar two lines high and thin edges.
  const QSize estimate(8, 2 * window.fontMetrics().height() + 8);
  return (window.frameGeometry().size() - window.size()).expandedTo(estimate);
}

}  // namespace

QPoint DialogOrigin(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const ProgressOrigin origin =
      ProgressOriginFor(frame.x(), frame.y(), frame.width(), frame.height());
  return {origin.x, origin.y};
}

QSize ClientRoom(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  return screen->availableGeometry().size() - FrameExtra(window);
}

void KeepOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  const QSize frame = window.size() + FrameExtra(window);
  const auto clamp = [](int at, int first, int length, int room_length) {
    return std::max(first, std::min(at, first + room_length - length));
  };
  const QPoint at(clamp(window.x(), room.left(), frame.width(), room.width()),
                  clamp(window.y(), room.top(), frame.height(), room.height()));
  if (at != window.pos()) window.move(at);
}

ContentScroller::ContentScroller(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(content);
}

QSize ContentScroller::sizeHint() const {
  return widget()->minimumSizeHint();
}

}  // namespace vantrel::app
