#pragma once

#include "cli/fleet/fleet_report.h"
#include "cli/fleet/fleet_targets.h"
#include "config/config_items.h"
#include "config/printer_config.h"
#include "link/link_layer.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {

// One printer's exchanges: its own link settings, and the result they are reported into.
class FleetExchange {
 public:
  FleetExchange(const FleetTarget& target, LinkLayer& link, FleetResult& result);

  // Runs one operation and returns its failure; a success shows that the printer was reached.
  LinkFailure Try(int op, OperationRecord record, int extra = 0);
  // Runs one operation; on a failure marks the result and returns false.
  bool Run(int op, OperationRecord record, int extra = 0);
  // Runs a question an older printer may not know: true with `answered` false when it only
  // left the answer out; false, the result marked, on any other failure.
  bool RunOptional(int op, OperationRecord record, bool& answered);
  void Fail(const LinkFailure& failure);

  // The configuration; the serial number names a printer the discovery did not.
  bool ReadConfig(PrinterConfig& config);
  // Only the questions of the page just written; `before` is the configuration read before.
  bool ReadBack(ConfigPage page, const PrinterConfig& before, PrinterConfig& config);

 private:
  NetworkTarget network_;
  LinkFailure unresolved_;
  SerialSettings serial_;
  ParallelPortName parallel_;
  LinkLayer& link_;
  FleetResult& result_;
  bool reached_ = false;
};

}  // namespace vantrel::cli
