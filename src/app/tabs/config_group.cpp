#include "app/tabs/config_group.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <initializer_list>

#include "app/tabs/config_bindings.h"
#include "app/widgets/controls.h"
#include "config/value_tables.h"

namespace vantrel::app {
namespace {

// One row of a page: its caption in one column and its controls side by side in the next.
class PageRows {
 public:
  PageRows(QWidget* page, QGridLayout* grid, int column)
      : page_(page), grid_(grid), column_(column) {}

  void Add(const QString& caption_name, std::initializer_list<QWidget*> controls) {
    grid_->addWidget(NewLabel(page_, caption_name), row_, column_);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(3);
    for (QWidget* control : controls) cell->addWidget(control);
    cell->addStretch(1);
    grid_->addLayout(cell, row_, column_ + 1);
    ++row_;
  }

  QWidget* page() const { return page_; }

 private:
  QWidget* page_;
  QGridLayout* grid_;
  int column_;
  int row_ = 0;
};

QGridLayout* NewPageGrid(QWidget* page) {
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  return grid;
}

QLabel* UnitCaption(QWidget* page, int number) {
  return NewLabel(page, UnitCaptionName(number));
}

// A reference value beside its setting: shown greyed, and only while it holds a value.
QLineEdit* ReferenceEdit(QWidget* page, const QString& name) {
  QLineEdit* edit = NewEdit(page, name, 0, 4);
  edit->setEnabled(false);
  QSizePolicy policy = edit->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  edit->setSizePolicy(policy);
  edit->hide();
  return edit;
}

QStringList Numbers(int first, int last) {
  QStringList items{QString()};
  for (int n = first; n <= last; ++n) items << QString::number(n);
  return items;
}

// The range the edit beside it takes.
QLabel* RangeCaption(QWidget* page, const QString& name, const char* edit) {
  return NewLabel(page, name, StatedRange(edit));
}

void AddCommonLeft(PageRows rows) {
  QWidget* p = rows.page();
  // Four characters, not two: a speed such as 4.5 or 4,5 must fit.
  rows.Add("LabelSpeed", {NewEdit(p, "EditSpeed", 4)});
  rows.Add("LabelDensity",
           {NewList(p, "ComboBoxDensity", Numbers(0, 15)), ReferenceEdit(p, "EditDensityBase")});
  rows.Add("LabelWidth", {NewEdit(p, "EditWidth"), UnitCaption(p, 1)});
  rows.Add("LabelHeight", {NewEdit(p, "EditHeight"), UnitCaption(p, 2)});
  rows.Add("LabelSensorType", {NewLocalizedList(p, "ComboBoxMediaSensor", 4)});
  rows.Add("LabelVirticalGap", {NewEdit(p, "EditGapSize"), UnitCaption(p, 3)});
  rows.Add("LabelGapOffset", {NewEdit(p, "EditGapOffset"), UnitCaption(p, 4)});
  rows.Add("LabelPrintOut", {NewLocalizedList(p, "ComboBoxPrintOut", 5)});
  rows.Add("LabelCutterPiece", {NewEdit(p, "EditCutterPiece")});
  rows.Add("LabelReference",
           {NewEdit(p, "EditReferenceX", 0, 5), NewEdit(p, "EditReferenceY", 0, 5)});
  rows.Add("LabelDirection", {NewList(p, "ComboBoxDirection", {"", "0", "1"}, false, 2),
                              NewList(p, "ComboBoxMirror", {"", "0", "1"}, false, 2)});
  rows.Add("LabelOffset", {NewEdit(p, "EditOffset"), ReferenceEdit(p, "EditOffsetBase")});
  rows.Add("LabelShiftX", {NewEdit(p, "EditShiftX"), ReferenceEdit(p, "EditShiftXBase")});
}

void AddCommonRight(PageRows rows) {
  QWidget* p = rows.page();
  rows.Add("LabelShiftY", {NewEdit(p, "EditShiftY"), ReferenceEdit(p, "EditShiftYBase")});
  rows.Add("LabelRibbon", {NewLocalizedList(p, "ComboBoxRibbon", 3, true)});
  rows.Add("LabelCodePage", {NewList(p, "ComboBoxCodePage", EmptyThen(kCodePageNames))});
  rows.Add("LabelCountryCode", {NewList(p, "ComboBoxCountryCode", EmptyThen(kCountryCodes), true)});
  rows.Add("LabelHead", {NewLocalizedList(p, "ComboBoxHead", 3)});
  rows.Add("LabelReprint", {NewLocalizedList(p, "ComboBoxReprint", 3)});
  rows.Add("LabelGapInten", {NewEdit(p, "EditGapInten")});
  rows.Add("LabelBlineInten", {NewEdit(p, "EditBlineInten")});
  rows.Add("LabelContinuousInten", {NewEdit(p, "EditContinuousInten")});
  // The printer's "0" has no place in the list: position n is kBaudRateNames[n].
  QStringList bauds = EmptyThen(kBaudRateNames);
  bauds.removeAt(1);
  rows.Add("LabelBaudrate", {NewList(p, "ComboBoxBaudrate", bauds)});
  rows.Add("LabelDataBit", {NewList(p, "ComboBoxDatabit", EmptyThen(kDataBitNames))});
  rows.Add("LabelParity", {NewList(p, "ComboBoxParity", EmptyThen(kParityNames))});
  rows.Add("LabelStopBit", {NewList(p, "ComboBoxStopBit", EmptyThen(kStopBitNames))});
}

QWidget* NewCommonPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetCommon");
  QGridLayout* grid = NewPageGrid(page);
  AddCommonLeft(PageRows(page, grid, 0));
  grid->setColumnMinimumWidth(2, 8);
  AddCommonRight(PageRows(page, grid, 3));
  grid->setRowStretch(13, 1);
  return page;
}

QWidget* NewZPage() {
  auto* p = new QWidget;
  p->setObjectName("TabSheetZ");
  QGridLayout* grid = NewPageGrid(p);
  PageRows rows(p, grid, 0);
  rows.Add("LabelDarknessZ", {NewEdit(p, "EditDarknessZ", 2),
                              RangeCaption(p, "LabelDarknessRangeZ", "EditDarknessZ")});
  rows.Add("LabelPrintSpeedZ", {NewEdit(p, "EditPrintSpeedZ")});
  rows.Add("LabelTearOffZ",
           {NewEdit(p, "EditTearOffZ", 4), RangeCaption(p, "LabelTearOffRangeZ", "EditTearOffZ")});
  rows.Add("LabelPrintModeZ", {NewLocalizedList(p, "ComboBoxPrintModeZ", 4)});
  rows.Add("LabelPrintWidthZ", {NewEdit(p, "EditPrintWidthZ"), UnitCaption(p, 5)});
  rows.Add("LabelControlPrefixZ", {NewEdit(p, "EditControlPrefixZ", 1, 3)});
  rows.Add("LabelFormatPrefixZ", {NewEdit(p, "EditFormatPrefixZ", 1, 3)});
  rows.Add("LabelDelimiterCharZ", {NewEdit(p, "EditDelimiterCharZ", 1, 3)});
  rows.Add("LabelMediaPowerUpZ", {NewLocalizedList(p, "ComboBoxMediaPowerUpZ", 5)});
  rows.Add("LabelHeadCloseZ", {NewLocalizedList(p, "ComboBoxHeadCloseZ", 5)});
  rows.Add("LabelLabelTopZ", {NewEdit(p, "EditLabelTopZ", 4),
                              RangeCaption(p, "LabelLabelTopRangeZ", "EditLabelTopZ")});
  rows.Add("LabelLeftPositionZ", {NewEdit(p, "EditLeftPositionZ", 5),
                                  RangeCaption(p, "LabelLeftPositionRangeZ", "EditLeftPositionZ")});
  grid->setRowStretch(12, 1);
  grid->setColumnStretch(2, 1);
  return p;
}

QWidget* NewDPage() {
  auto* p = new QWidget;
  p->setObjectName("TabSheetD");
  QGridLayout* grid = NewPageGrid(p);
  PageRows rows(p, grid, 0);
  rows.Add("LabelHeatD",
           {NewEdit(p, "EditHeatD", 2), RangeCaption(p, "LabelHeatRangeD", "EditHeatD")});
  rows.Add("LabelPrintSpeedD", {NewEdit(p, "EditPrintSpeedD")});
  rows.Add("LabelLabelWidthD", {NewEdit(p, "EditLabelWidthD"), UnitCaption(p, 6)});
  rows.Add("LabelPresentSensorD", {NewLocalizedList(p, "ComboBoxPresentSensorD", 3)});
  rows.Add("LabelCutterEquippedD", {NewLocalizedList(p, "ComboBoxCutterEquippedD", 3)});
  rows.Add("LabelControlCodesD", {NewLocalizedList(p, "ComboBoxControlCodesD", 4)});
  rows.Add("LabelColumnOffsetD", {NewEdit(p, "EditColumnOffsetD"), UnitCaption(p, 7)});
  rows.Add("LabelRowOffsetD", {NewEdit(p, "EditRowOffsetD"), UnitCaption(p, 8)});
  grid->setRowStretch(8, 1);
  grid->setColumnStretch(2, 1);
  return p;
}

}  // namespace

QString UnitCaptionName(int number) {
  return QStringLiteral("LabelUnit%1").arg(number);
}

QGroupBox* NewConfigGroup(QWidget* parent) {
  auto* group = new QGroupBox(parent);
  group->setObjectName("GroupBoxPrintreConfig");
  auto* pages = new QTabWidget(group);
  pages->setObjectName("PageControl2");
  pages->addTab(NewCommonPage(), "Common");
  pages->addTab(NewZPage(), "Z");
  pages->addTab(NewDPage(), "D");
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pages);
  return group;
}

}  // namespace vantrel::app
