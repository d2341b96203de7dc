#pragma once

#include <QPoint>
#include <QScrollArea>
#include <QSize>

class QWidget;

namespace vantrel::app {

// The client area a top-level window has room for on its screen: the available area less the
// window's frame (its own size once shown, an estimate of a title bar's before).
QSize ClientRoom(const QWidget& window);

// Moves a top-level window the least distance that brings its whole frame onto its screen's
// available area; a window already there stays where it is.
void KeepOnScreen(QWidget& window);

// Where the progress window and the utility dialogs open: a third into `window`'s outer bounds,
// as it stands now.
QPoint DialogOrigin(const QWidget& window);

// Scrolls its content only when the window around it is held smaller than the content needs:
// it asks for the content's whole least size, and can shrink to next to nothing.
class ContentScroller : public QScrollArea {
  Q_OBJECT

 public:
  explicit ContentScroller(QWidget* content, QWidget* parent = nullptr);

  QSize sizeHint() const override;
};

}  // namespace vantrel::app
