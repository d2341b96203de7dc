#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/tabs/font_manager_tab.h"
#include "app/widgets/controls.h"
#include "fonts/font_choices.h"

namespace vantrel::app {
namespace {

QLabel* Caption(QWidget* parent, const char* name) {
  return NewLabel(parent, name);
}

}  // namespace

void FontManagerTab::BuildLayout() {
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(4, 4, 4, 4);
  auto* left = new QVBoxLayout;
  left->addWidget(NewFontSelectGroup());
  left->addWidget(NewCellGroup());
  left->addStretch(1);
  columns->addLayout(left);
  columns->addWidget(NewEncodeColumn(), 1);
}

QWidget* FontManagerTab::NewFontSelectGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxFontSelect", grid, 4);
  ComboBoxFontEncode = NewLocalizedList(group, "ComboBoxFontEncode", 4);
  ComboBoxFontEncode->setCurrentIndex(kStandardEncode);
  ComboBoxFontPitch = NewLocalizedList(group, "ComboBoxFontPitch", 2);
  ComboBoxFontPitch->setCurrentIndex(kPitchVariable);
  ComboBoxMemoryDevice = NewList(group, "ComboBoxMemoryDevice", {"DRAM", "FLASH", "CARD"});
  ComboBoxMemoryDevice->setCurrentIndex(1);
  EditWinFontName = NewEdit(group, "EditWinFontName", 0, 21);
  EditWinFontName->setReadOnly(true);
  EditWinFontSize = NewEdit(group, "EditWinFontSize");
  EditWinFontSize->setReadOnly(true);
  const std::pair<const char*, QWidget*> rows[] = {{"LabelFontEncode", ComboBoxFontEncode},
                                                   {"LabelFontPitch", ComboBoxFontPitch},
                                                   {"LabelPrinterDevice", ComboBoxMemoryDevice},
                                                   {"LabelWindowsFontName", EditWinFontName},
                                                   {"LabelFontSize", EditWinFontSize}};
  int row = 0;
  for (const auto& [label, control] : rows) {
    grid->addWidget(Caption(group, label), row, 0);
    grid->addWidget(control, row++, 1);
  }
  grid->addWidget(NewButton(group, "ButtonSelectFont"), row, 0);
  grid->addWidget(NewButton(group, "ButtonPreviewFont"), row++, 1, Qt::AlignLeft);
  ImageSmaple = NewLabel(group, "ImageSmaple");
  ImageSmaple->setFixedSize(kSampleWidth, kSampleHeight);
  grid->addWidget(ImageSmaple, row, 0, 1, 2);
  return group;
}

QWidget* FontManagerTab::NewCellGroup() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 2);
  EditPrinterFontName = NewEdit(box, "EditPrinterFontName", 0, 15);
  EditFontWidth = NewEdit(box, "EditFontWidth");
  EditFontHeight = NewEdit(box, "EditFontHeight");
  EditItalicWidth = NewEdit(box, "EditItalicWidth");
  const std::pair<const char*, QLineEdit*> rows[] = {{"LabelPrinterFontName", EditPrinterFontName},
                                                     {"LabelFontWidth", EditFontWidth},
                                                     {"LabelFontHeight", EditFontHeight},
                                                     {"LabelItalicWidth", EditItalicWidth}};
  int row = 0;
  for (const auto& [label, edit] : rows) {
    grid->addWidget(Caption(box, label), row, 0);
    grid->addWidget(edit, row++, 1);
  }
  grid->addWidget(NewButton(box, "ButtonSaveFont"), row, 0);
  grid->addWidget(NewButton(box, "ButtonDowloadFont"), row, 1);
  return box;
}

QWidget* FontManagerTab::NewEncodeColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  QGridLayout* grid = nullptr;
  GroupBoxSatndEncode = NewGridGroup(column, "GroupBoxSatndEncode", grid, 4);
  ComboBoxSEncode = NewList(GroupBoxSatndEncode, "ComboBoxSEncode",
                            {"Standard Mapping", "Full ASCII Mapping", "Customer Mapping"});
  ComboBoxSEncode->setCurrentIndex(0);
  EditCharStart = NewEdit(GroupBoxSatndEncode, "EditCharStart", 3);
  EditCharStart->setText("32");
  EditCharEnd = NewEdit(GroupBoxSatndEncode, "EditCharEnd", 3);
  EditCharEnd->setText("127");
  const std::pair<const char*, QWidget*> rows[] = {{"LabelFontMapping", ComboBoxSEncode},
                                                   {"LabelStartAscii", EditCharStart},
                                                   {"LabelEndAscii", EditCharEnd}};
  int row = 0;
  for (const auto& [label, control] : rows) {
    grid->addWidget(Caption(GroupBoxSatndEncode, label), row, 0);
    grid->addWidget(control, row++, 1);
  }
  layout->addWidget(GroupBoxSatndEncode);
  RadioGroupAsiaFontEncode = new RadioGroup("RadioGroupAsiaFontEncode", QString(),
                                            QStringList(kAsianLanguageCount), Qt::Vertical, column);
  RadioGroupAsiaFontEncode->SetItemIndex(kLanguageTraditionalChinese);
  layout->addWidget(RadioGroupAsiaFontEncode);
  QGridLayout* table_grid = nullptr;
  GroupBoxEncodeTable = NewGridGroup(column, "GroupBoxEncodeTable", table_grid, 4);
  MemoFontTable = new QPlainTextEdit(GroupBoxEncodeTable);
  MemoFontTable->setObjectName("MemoFontTable");
  MemoFontTable->setLineWrapMode(QPlainTextEdit::NoWrap);
  table_grid->addWidget(MemoFontTable, 0, 0, 1, 3);
  table_grid->addWidget(NewButton(GroupBoxEncodeTable, "ButtonFontTblLoad"), 1, 0);
  table_grid->addWidget(NewButton(GroupBoxEncodeTable, "ButtonFontTblSave"), 1, 1);
  CheckBoxFileTable = new QCheckBox(GroupBoxEncodeTable);
  CheckBoxFileTable->setObjectName("CheckBoxFileTable");
  table_grid->addWidget(CheckBoxFileTable, 1, 2);
  layout->addWidget(GroupBoxEncodeTable, 1);
  return column;
}

void FontManagerTab::ConnectHandlers() {
  OnClick(prompts_, this, "ButtonSelectFont", &FontManagerTab::ButtonSelectFontClick);
  OnClick(prompts_, this, "ButtonPreviewFont", &FontManagerTab::ButtonPreviewFontClick);
  OnClick(prompts_, this, "ButtonFontTblLoad", &FontManagerTab::ButtonFontTblLoadClick);
  OnClick(prompts_, this, "ButtonFontTblSave", &FontManagerTab::ButtonFontTblSaveClick);
  OnClick(prompts_, this, "ButtonSaveFont", &FontManagerTab::ButtonSaveFontClick);
  OnClick(prompts_, this, "ButtonDowloadFont", &FontManagerTab::ButtonDowloadFontClick);
  connect(ComboBoxFontEncode, &QComboBox::currentIndexChanged, this,
          Guarded(prompts_, this, &FontManagerTab::ComboBoxFontEncodeChange));
  connect(ComboBoxSEncode, &QComboBox::currentIndexChanged, this,
          Guarded(prompts_, this, &FontManagerTab::ComboBoxSEncodeChange));
}

}  // namespace vantrel::app
