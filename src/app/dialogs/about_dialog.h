#pragma once

#include <QDialog>

namespace vantrel::app {

// The About box: one button with the version, which closes it.
class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);
};

}  // namespace vantrel::app
