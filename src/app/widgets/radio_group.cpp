#include "app/widgets/radio_group.h"

#include <QBoxLayout>
#include <QRadioButton>

namespace vantrel::app {

RadioGroup::RadioGroup(const QString& name, const QString& title, const QStringList& items,
                       Qt::Orientation orientation, QWidget* parent)
    : QGroupBox(title, parent), buttons_(this) {
  setObjectName(name);
  auto* layout = new QBoxLayout(
      orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
  layout->setContentsMargins(6, 2, 6, 2);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(QStringLiteral("%1Item%2").arg(name).arg(i));
    buttons_.addButton(button, i);
    layout->addWidget(button);
  }
  connect(&buttons_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
}

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = buttons_.button(index)) button->setChecked(true);
}

QString RadioGroup::ItemText(int index) const {
  const QAbstractButton* button = buttons_.button(index);
  return button == nullptr ? QString() : button->text();
}

void RadioGroup::SetItemText(int index, const QString& text) {
  if (QAbstractButton* button = buttons_.button(index)) button->setText(text);
}

}  // namespace vantrel::app
