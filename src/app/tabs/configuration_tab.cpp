#include "app/tabs/configuration_tab.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <memory>

#include "app/tabs/config_bindings.h"
#include "app/tabs/config_group.h"
#include "app/tabs/printer_function_group.h"
#include "app/tabs/printer_info_group.h"
#include "app/tabs/status_group.h"
#include "app/widgets/controls.h"
#include "app/widgets/host_path.h"
#include "app/widgets/number_text.h"
#include "config/config_file.h"
#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

const QString kConfigFilter = QStringLiteral("*.dcf");
const QString kConfigSuffix = QStringLiteral("dcf");

// A name typed without an extension gets the configuration files' one.
QString WithDefaultSuffix(const QString& path) {
  return QFileInfo(path).suffix().isEmpty() ? path + "." + kConfigSuffix : path;
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ConfigurationTab::ConfigurationTab(TabHost& host, QWidget* parent)
    : QWidget(parent), host_(host), prompts_(host.prompts()) {
  setObjectName("TabSheet1");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(4);
  auto* left = new QVBoxLayout;
  QGroupBox* config_group = NewConfigGroup(this);
  PageControl2 = config_group->findChild<QTabWidget*>("PageControl2");
  left->addWidget(config_group, 1);
  left->addWidget(NewConfigButtons());
  layout->addLayout(left, 1);
  // The identity, status and function groups; the configuration pages take the rest.
  layout->addWidget(NewRightColumn());
  PrinterConfig initial;
  ResetConfig(initial);
  SetCurrentConfig(initial);
  ConnectHandlers();
}

QWidget* ConfigurationTab::NewConfigButtons() {
  auto* row = new QWidget(this);
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

QWidget* ConfigurationTab::NewRightColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(NewPrinterInfoGroup(column));
  layout->addWidget(NewStatusGroup(column));
  layout->addWidget(NewFunctionGroup(column));
  layout->addStretch(1);
  return column;
}

void ConfigurationTab::ConnectHandlers() {
  OnClick(prompts_, this, "ButtonRead", &ConfigurationTab::ButtonReadClick);
  OnClick(prompts_, this, "ButtonConfigSet", &ConfigurationTab::ButtonConfigSetClick);
  OnClick(prompts_, this, "ButtonClear", &ConfigurationTab::ButtonClearClick);
  OnClick(prompts_, this, "ButtonSave", &ConfigurationTab::ButtonSaveClick);
  OnClick(prompts_, this, "ButtonLoad", &ConfigurationTab::ButtonLoadClick);
  OnClick(prompts_, this, "ButtonGetStatus", &ConfigurationTab::ButtonGetStatusClick);
  connect(RadioGroupUnit, &RadioGroup::Clicked, this,
          Guarded(prompts_, this, &ConfigurationTab::RadioGroupUnitClick));
}

LengthUnit ConfigurationTab::unit() const {
  return RadioGroupUnit->ItemIndex() == kUnitMm ? kUnitMm : kUnitInch;
}

PrinterConfig ConfigurationTab::WorkingConfig() const {
  PrinterConfig working = config_;
  CollectConfig(*this, working, unit());
  return working;
}

void ConfigurationTab::SetCurrentConfig(const PrinterConfig& config) {
  config_ = config;
  shown_unit_ = unit();
  ShowConfig(*this, config_, shown_unit_);
}

void ConfigurationTab::SetStatus(const StatusFlags& flags) {
  status_ = flags;
  ShowStatusLabels(*this, status_);
}

void ConfigurationTab::RefreshUnitCaptions() {
  const QString text = RadioGroupUnit->ItemText(RadioGroupUnit->ItemIndex());
  for (int number = 1; number <= kUnitCaptionCount; ++number) {
    if (auto* label = findChild<QLabel*>(UnitCaptionName(number))) label->setText(text);
  }
}

void ConfigurationTab::EnableReading(bool enabled) {
  for (const char* name : {"ButtonRead", "ButtonGetStatus"}) {
    findChild<QPushButton*>(QLatin1String(name))->setEnabled(enabled);
  }
}

void ConfigurationTab::ReadConfiguration(int extra) {
  auto record = std::make_shared<PrinterConfig>();
  ResetConfig(*record);
  host_.StartOperation(kOpReadConfiguration, record.get(), extra,
                       [this, record] { SetCurrentConfig(*record); }, {});
}

void ConfigurationTab::ButtonReadClick() {
  constexpr int kWithProgressWindow = 1;
  ReadConfiguration(kWithProgressWindow);
}

void ConfigurationTab::ButtonConfigSetClick() {
  // Set writes a copy: the current record stays as it was, whatever happens.
  auto copy = std::make_shared<PrinterConfig>(WorkingConfig());
  host_.StartOperation(kOpWriteConfiguration, copy.get(), PageControl2->currentIndex(),
                       KeepAlive(copy), {});
}

void ConfigurationTab::ButtonClearClick() {
  PrinterConfig cleared;
  ResetConfig(cleared);
  SetCurrentConfig(cleared);
}

void ConfigurationTab::ButtonGetStatusClick() {
  // The labels and the record change only when the whole query succeeds.
  auto flags = std::make_shared<StatusFlags>();
  host_.StartOperation(kOpQueryStatus, flags.get(), 0, [this, flags] { SetStatus(*flags); }, {});
}

void ConfigurationTab::RadioGroupUnitClick() {
  const LengthUnit to = unit();
  try {
    ConvertShownLengths(*this, config_, shown_unit_, to);
  } catch (const ConversionError&) {
    // The lengths stay as typed, in the unit they were typed in.
    RadioGroupUnit->SetItemIndex(shown_unit_);
    throw;
  }
  shown_unit_ = to;
  RefreshUnitCaptions();
}

void ConfigurationTab::ButtonSaveClick() {
  const std::optional<QString> path = prompts_.SaveFile(kConfigFilter, kConfigSuffix);
  if (!path) return;
  // Collected into a copy first, so a value that is no number leaves the record untouched.
  SetCurrentConfig(WorkingConfig());
  const ConfigFileResult result =
      SaveConfigFile(HostPath(WithDefaultSuffix(*path)), {unit(), config_, status_});
  if (!result.ok()) {
    prompts_.Message(ToQString(ConfigFileMessage(result.code)), ToQString(result.detail));
  }
}

void ConfigurationTab::ButtonLoadClick() {
  const std::optional<QString> path = prompts_.OpenFile(kConfigFilter);
  if (!path) return;
  ConfigFileContents contents;
  const ConfigFileResult result = LoadConfigFile(HostPath(*path), contents);
  if (!result.ok()) {
    prompts_.Message(ToQString(ConfigFileMessage(result.code)), ToQString(result.detail));
    return;
  }
  RadioGroupUnit->SetItemIndex(contents.unit == kUnitMm ? kUnitMm : kUnitInch);
  RefreshUnitCaptions();
  SetStatus(contents.status);
  SetCurrentConfig(contents.config);
}

}  // namespace vantrel::app
