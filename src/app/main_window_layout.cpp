#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/tabs/command_tool_tab.h"
#include "app/tabs/file_manager_tab.h"
#include "app/tabs/font_manager_tab.h"
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
  config_tab_ = new ConfigurationTab(*this);
  PageControl1->addTab(config_tab_, QString());
  PageControl1->addTab(new FileManagerTab(*this, font_dialog_font_, code_page_), QString());
  PageControl1->addTab(new FontManagerTab(*this, font_dialog_font_, code_page_), QString());
  PageControl1->addTab(new CommandToolTab(*this, code_page_), QString());
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

void TFormMain::ConnectHandlers() {
  OnClick(*prompts_, this, "ButtonInterFace", &TFormMain::ButtonInterFaceClick);
  OnClick(*prompts_, this, "ButtonInitial", &TFormMain::ButtonInitialClick);
  OnClick(*prompts_, this, "ButtonEthernet", &TFormMain::ButtonEthernetClick);
  OnClick(*prompts_, this, "ButtonSelfTest", &TFormMain::ButtonSelfTestClick);
  OnClick(*prompts_, this, "ButtonRestPrinter", &TFormMain::ButtonRestPrinterClick);
  OnClick(*prompts_, this, "ButtonIgnoreAuto", &TFormMain::ButtonIgnoreAutoClick);
  OnClick(*prompts_, this, "ButtonRTCSetTime", &TFormMain::ButtonRTCSetTimeClick);
  OnClick(*prompts_, this, "ButtonSensorCalibrate", &TFormMain::ButtonSensorCalibrateClick);
  OnClick(*prompts_, this, "ButtonDump", &TFormMain::ButtonDumpClick);
  OnClick(*prompts_, this, "ButtonTestPatern", &TFormMain::ButtonTestPaternClick);
  connect(findChild<QAction*>("About1"), &QAction::triggered, this,
          Guarded(*prompts_, this, &TFormMain::About1Click));
  connect(ComboBoxLanguage, &QComboBox::activated, this,
          Guarded(*prompts_, this, &TFormMain::ComboBoxLanguageChange));
  connect(ComboBoxInterFace, &QComboBox::currentIndexChanged, this,
          Guarded(*prompts_, this, &TFormMain::ComboBoxInterFaceChange));
  connect(&Timer1, &QTimer::timeout, this, Guarded(*prompts_, this, &TFormMain::Timer1Timer));
}

}  // namespace vantrel::app
