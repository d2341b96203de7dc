#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

#include "app/prompts.h"

namespace vantrel::app {
namespace {

std::optional<QString> RunFileDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

// A question box with `detail` under the question; true when `yes` was pressed.
bool Ask(QWidget* parent, const QString& text, const QString& detail,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton yes) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, buttons, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setInformativeText(detail);
  return box.exec() == yes;
}

}  // namespace

void DialogPrompts::Message(const QString& text, const QString& detail) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent_);
  box.setObjectName(QStringLiteral("MessageBox"));
  // The cause and what to do about it are read in the box itself, not behind a button.
  box.setInformativeText(detail);
  box.exec();
}

bool DialogPrompts::Question(const QString& text, const QString& detail) {
  return Ask(parent_, text, detail, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

std::optional<QString> DialogPrompts::OpenFile(const QString& filter) {
  return OpenFileIn(filter, QString());
}

bool DialogPrompts::Confirm(const QString& text, const QString& detail) {
  return Ask(parent_, text, detail, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
}

std::optional<QString> DialogPrompts::OpenFileIn(const QString& filter, const QString& folder) {
  QFileDialog dialog(parent_, QString(), folder, filter);
  dialog.setObjectName(QStringLiteral("OpenDialog1"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog);
}

std::optional<QString> DialogPrompts::SaveFile(const QString& filter,
                                               const QString& default_suffix) {
  QFileDialog dialog(parent_, QString(), QString(), filter);
  dialog.setObjectName(QStringLiteral("SaveDialog1"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(default_suffix);
  return RunFileDialog(dialog);
}

int DialogPrompts::RunDialog(QDialog& dialog) {
  return dialog.exec();
}

std::optional<QFont> DialogPrompts::ChooseFont(const QFont& initial) {
  QFontDialog dialog(initial, parent_);
  dialog.setObjectName(QStringLiteral("FontDialog1"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFont();
}

}  // namespace vantrel::app
