#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace vantrel::app {

// A titled group of radio buttons, one of which is selected: a list shown as buttons.
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& name, const QString& title, const QStringList& items,
             Qt::Orientation orientation, QWidget* parent = nullptr);

  int ItemIndex() const { return buttons_.checkedId(); }
  void SetItemIndex(int index);
  QString ItemText(int index) const;
  void SetItemText(int index, const QString& text);

 signals:
  // The user chose an item.
  void Clicked(int index);

 private:
  QButtonGroup buttons_;
};

}  // namespace vantrel::app
