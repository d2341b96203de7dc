#pragma once

#include <QTabWidget>
#include <QWidget>

#include "app/tab_host.h"
#include "app/widgets/radio_group.h"
#include "common/status_flags.h"
#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel::app {

// The "Printer Configuration" tab: the configuration pages and their buttons, the printer's
// identity and status, and the "Printer Function" group. It holds the current configuration
// and the last status; they change only as a whole, and show in its controls when they do.
// Window thread only.
class ConfigurationTab : public QWidget {
  Q_OBJECT

 public:
  explicit ConfigurationTab(TabHost& host, QWidget* parent = nullptr);

  const PrinterConfig& config() const { return config_; }
  const StatusFlags& status() const { return status_; }
  // The unit the lengths are typed in.
  LengthUnit unit() const;
  // The current configuration with the edits not yet written to the printer. A text that is
  // no value throws ConversionError naming its field.
  PrinterConfig WorkingConfig() const;
  // Reads the printer's configuration into the tab; `extra` 1 shows the progress window.
  void ReadConfiguration(int extra);
  void RefreshUnitCaptions();
  // "Read" and "Get Status" need a printer that answers.
  void EnableReading(bool enabled);

 private:
  QWidget* NewConfigButtons();
  QWidget* NewRightColumn();
  void ConnectHandlers();
  void SetCurrentConfig(const PrinterConfig& config);
  void SetStatus(const StatusFlags& flags);

  void ButtonReadClick();
  void ButtonConfigSetClick();
  void ButtonClearClick();
  void ButtonSaveClick();
  void ButtonLoadClick();
  void ButtonGetStatusClick();
  void RadioGroupUnitClick();

  TabHost& host_;
  Prompts& prompts_;
  PrinterConfig config_;
  // The unit the configuration controls show their lengths in.
  LengthUnit shown_unit_ = kUnitInch;
  StatusFlags status_;

  QTabWidget* PageControl2 = nullptr;
  RadioGroup* RadioGroupUnit = nullptr;
};

}  // namespace vantrel::app
