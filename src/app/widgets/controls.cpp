#include "app/widgets/controls.h"

#include "app/widgets/typing_limit.h"

namespace vantrel::app {

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, int max_length, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (max_length > 0) edit->setValidator(new TypingLimit(edit, max_length));
  edit->setFixedWidth(width);
  return edit;
}

QPushButton* NewButton(QWidget* parent, const QString& name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QGroupBox* NewGridGroup(QWidget* parent, const QString& name, QGridLayout*& grid, int spacing) {
  auto* group = new QGroupBox(parent);
  group->setObjectName(name);
  grid = new QGridLayout(group);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(spacing);
  return group;
}

QComboBox* NewList(QWidget* parent, const QString& name, const QStringList& items, bool editable,
                   int width) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  list->setEditable(editable);
  if (editable) list->setInsertPolicy(QComboBox::NoInsert);
  list->setCurrentIndex(-1);
  list->setFixedWidth(width);
  list->setMaxVisibleItems(16);
  return list;
}

QComboBox* NewLocalizedList(QWidget* parent, const QString& name, int count, bool editable,
                            int width) {
  QStringList items;
  for (int i = 0; i < count; ++i) items << QString();
  return NewList(parent, name, items, editable, width);
}

}  // namespace vantrel::app
