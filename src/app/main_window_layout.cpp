#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/tabs/config_group.h"
#include "app/tabs/file_manager_tab.h"
#include "app/tabs/printer_info_group.h"
#include "app/tabs/status_group.h"
#include "app/widgets/controls.h"
#include "app/widgets/screen_room.h"
#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

// The panels' least widths; a longer text widens its panel, and the fourth takes the rest.
constexpr std::array<int, 3> kPanelWidths = {80, 200, 250};

QGroupBox* NewGroup(QWidget* parent, const QString& name, QWidget* content) {
  auto* group = new QGroupBox(parent);
  group->setObjectName(name);
  auto* layout = new QHBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->addWidget(content);
  return group;
}

}  // namespace

void TFormMain::BuildLayout() {
  setObjectName("TFormMain");
  setWindowTitle("Vantrel");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  QMenu* menu = menuBar()->addMenu(QString());
  menu->setObjectName("N1");
  menu->addAction(QString())->setObjectName("About1");

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(4, 2, 4, 0);
  column->setSpacing(2);
  column->addWidget(NewTopRow());
  PageControl1 = new QTabWidget(central);
  PageControl1->setObjectName("PageControl1");
  PageControl1->addTab(NewConfigurationTab(), QString());
  PageControl1->addTab(NewFileManagerTab(), QString());
  // The Bitmap Font Manager fills its page itself.
  auto* font_page = new QWidget;
  font_page->setObjectName("TabSheet3");
  PageControl1->addTab(font_page, QString());
  PageControl1->addTab(NewCommandToolTab(), QString());
  column->addWidget(PageControl1, 1);
  // On a screen too small for the window the content scrolls, while the menu and the status
  // bar with its Cancel button stay in view.
  auto* scroller = new ContentScroller(central, this);
  scroller->setObjectName("ScrollBoxMain");
  setCentralWidget(scroller);
  BuildStatusBar();
}

QWidget* TFormMain::NewTopRow() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  ComboBoxLanguage = NewList(row, "ComboBoxLanguage", QStringList(3));
  layout->addWidget(NewGroup(row, "GroupBoxLanguage", ComboBoxLanguage));
  layout->addStretch(1);
  auto* interface = new QWidget;
  auto* interface_row = new QHBoxLayout(interface);
  interface_row->setContentsMargins(0, 0, 0, 0);
  ComboBoxInterFace = NewList(interface, "ComboBoxInterFace", {"USB", "COM", "LPT", "ETHERNET"});
  interface_row->addWidget(ComboBoxInterFace);
  QPushButton* setup = NewButton(interface, "ButtonInterFace");
  setup->setEnabled(false);
  interface_row->addWidget(setup);
  layout->addWidget(NewGroup(row, "GroupBoxInterFace", interface));
  return row;
}

QWidget* TFormMain::NewConfigurationTab() {
  auto* tab = new QWidget;
  tab->setObjectName("TabSheet1");
  auto* layout = new QHBoxLayout(tab);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(4);
  auto* left = new QVBoxLayout;
  QGroupBox* config_group = NewConfigGroup(tab);
  PageControl2 = config_group->findChild<QTabWidget*>("PageControl2");
  left->addWidget(config_group, 1);
  left->addWidget(NewConfigButtons(tab));
  layout->addLayout(left, 1);
  auto* right_column = new QWidget(tab);
  auto* right = new QVBoxLayout(right_column);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(2);
  right->addWidget(NewPrinterInfoGroup(right_column));
  right->addWidget(NewStatusGroup(right_column));
  right->addWidget(NewFunctionGroup(right_column));
  right->addStretch(1);
  // The identity, status and function groups; the configuration pages take the rest.
  layout->addWidget(right_column);
  return tab;
}

QWidget* TFormMain::NewFileManagerTab() {
  return new FileManagerTab(*this, font_dialog_font_, code_page_);
}

QWidget* TFormMain::NewConfigButtons(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  RadioGroupUnit = new RadioGroup("RadioGroupUnit", QString(), QStringList(2), Qt::Horizontal, row);
  RadioGroupUnit->SetItemIndex(kUnitInch);
  layout->addWidget(RadioGroupUnit);
  for (const char* name :
       {"ButtonRead", "ButtonConfigSet", "ButtonClear", "ButtonSave", "ButtonLoad"}) {
    layout->addWidget(NewButton(row, name), 0, Qt::AlignBottom);
  }
  return row;
}

void TFormMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  for (std::size_t i = 0; i < status_panels_.size(); ++i) {
    QLabel* panel = NewLabel(bar, QStringLiteral("StatusBar1Panel%1").arg(i));
    if (i < kPanelWidths.size()) panel->setMinimumWidth(kPanelWidths[i]);
    bar->addWidget(panel, i < kPanelWidths.size() ? 0 : 1);
    status_panels_[i] = panel;
  }
}

QWidget* TFormMain::NewCommandToolTab() {
  command_tool_ = new CommandToolTab(*this);
  return command_tool_;
}

void TFormMain::OnClick(const char* button, void (TFormMain::*handler)()) {
  connect(findChild<QPushButton*>(button), &QPushButton::clicked, this,
          [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
}

void TFormMain::ConnectHandlers() {
  OnClick("ButtonInterFace", &TFormMain::ButtonInterFaceClick);
  OnClick("ButtonGetStatus", &TFormMain::ButtonGetStatusClick);
  OnClick("ButtonInitial", &TFormMain::ButtonInitialClick);
  OnClick("ButtonEthernet", &TFormMain::ButtonEthernetClick);
  OnClick("ButtonSelfTest", &TFormMain::ButtonSelfTestClick);
  OnClick("ButtonRestPrinter", &TFormMain::ButtonRestPrinterClick);
  OnClick("ButtonIgnoreAuto", &TFormMain::ButtonIgnoreAutoClick);
  OnClick("ButtonRTCSetTime", &TFormMain::ButtonRTCSetTimeClick);
  OnClick("ButtonSensorCalibrate", &TFormMain::ButtonSensorCalibrateClick);
  OnClick("ButtonDump", &TFormMain::ButtonDumpClick);
  OnClick("ButtonTestPatern", &TFormMain::ButtonTestPaternClick);
  OnClick("ButtonRead", &TFormMain::ButtonReadClick);
  OnClick("ButtonConfigSet", &TFormMain::ButtonConfigSetClick);
  OnClick("ButtonClear", &TFormMain::ButtonClearClick);
  OnClick("ButtonSave", &TFormMain::ButtonSaveClick);
  OnClick("ButtonLoad", &TFormMain::ButtonLoadClick);
  connect(findChild<QAction*>("About1"), &QAction::triggered, this,
          [this] { Guard([this] { About1Click(); }); });
  connect(ComboBoxLanguage, &QComboBox::activated, this,
          [this](int index) { Guard([this, index] { ComboBoxLanguageChange(index); }); });
  connect(ComboBoxInterFace, &QComboBox::currentIndexChanged, this,
          [this](int index) { Guard([this, index] { ComboBoxInterFaceChange(index); }); });
  connect(RadioGroupUnit, &RadioGroup::Clicked, this,
          [this] { Guard([this] { RadioGroupUnitClick(); }); });
  connect(&Timer1, &QTimer::timeout, this, [this] { Guard([this] { Timer1Timer(); }); });
}

}  // namespace vantrel::app
