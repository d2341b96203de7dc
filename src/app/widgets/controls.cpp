#include "app/widgets/controls.h"

#include <QStyle>
#include <algorithm>

#include "app/widgets/typing_limit.h"

namespace vantrel::app {
namespace {

// Sized in characters of its current font rather than in pixels.
class CharacterEdit : public QLineEdit {
 public:
  CharacterEdit(QWidget* parent, int characters) : QLineEdit(parent), characters_(characters) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }

  QSize sizeHint() const override {
    // The base hint is seventeen 'x' wide with the style's frame around them.
    constexpr int kBaseCharacters = 17;
    QSize hint = QLineEdit::sizeHint();
    hint.rwidth() += (characters_ - kBaseCharacters) * fontMetrics().horizontalAdvance(QChar('x'));
    return hint;
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  int characters_;
};

// Keeps the style's usual width while there is room, but gives way down to its caption's own
// width when the room is short, whatever the caption's language and font.
class CaptionButton : public QPushButton {
 public:
  explicit CaptionButton(QWidget* parent) : QPushButton(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  }

  QSize minimumSizeHint() const override {
    QSize hint = QPushButton::minimumSizeHint();
    hint.setWidth(std::min(hint.width(), CaptionButtonWidth(*this)));
    return hint;
  }
};

}  // namespace

int CaptionButtonWidth(const QPushButton& button) {
  const QStyle& style = *button.style();
  return button.fontMetrics().horizontalAdvance(QString(button.text()).remove('&')) +
         style.pixelMetric(QStyle::PM_ButtonMargin) +
         2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth);
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, int max_length, int characters) {
  auto* edit = new CharacterEdit(parent, characters);
  edit->setObjectName(name);
  if (max_length > 0) edit->setValidator(new TypingLimit(edit, max_length));
  return edit;
}

QPushButton* NewButton(QWidget* parent, const QString& name) {
  auto* button = new CaptionButton(parent);
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
                   int characters) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  list->setEditable(editable);
  if (editable) list->setInsertPolicy(QComboBox::NoInsert);
  list->setCurrentIndex(-1);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  list->setMinimumContentsLength(characters);
  list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  list->setMaxVisibleItems(16);
  return list;
}

QComboBox* NewLocalizedList(QWidget* parent, const QString& name, int count, bool editable,
                            int characters) {
  QStringList items;
  for (int i = 0; i < count; ++i) items << QString();
  return NewList(parent, name, items, editable, characters);
}

}  // namespace vantrel::app
