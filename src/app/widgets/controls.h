#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace vantrel::app {

// Controls carry their names as object names, so handlers, the language walk and tests find
// them. Captions and the items of localized lists are left empty here: the language walk
// writes them before the window is first shown.

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text = {});
// `max_length` limits typing only (TypingLimit). The edit is `characters` characters of its own
// font wide, so it grows with the desktop's font.
QLineEdit* NewEdit(QWidget* parent, const QString& name, int max_length = 0, int characters = 6);
// A push button that may narrow to its caption's width (CaptionButtonWidth) when room is short.
QPushButton* NewButton(QWidget* parent, const QString& name);
// The width a push button needs to show its caption whole: the text and the style's margins.
int CaptionButtonWidth(const QPushButton& button);
// A named group box with a grid in the groups' common margins; `spacing` is the vertical one.
QGroupBox* NewGridGroup(QWidget* parent, const QString& name, QGridLayout*& grid, int spacing);
// A drop-down list with fixed items; `editable` lets the user type text that is not an item.
// It is as wide as its widest item in its font, and at least `characters` characters wide, so
// that it follows its items through a change of language.
QComboBox* NewList(QWidget* parent, const QString& name, const QStringList& items,
                   bool editable = false, int characters = 5);
// A list whose first item is empty and whose `count` - 1 other items are localized texts.
QComboBox* NewLocalizedList(QWidget* parent, const QString& name, int count, bool editable = false,
                            int characters = 5);

// The items of a fixed value table after the leading empty item.
template <typename Table>
QStringList EmptyThen(const Table& table) {
  QStringList items{QString()};
  for (const auto& text : table) {
    items << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return items;
}

}  // namespace vantrel::app
