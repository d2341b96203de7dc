#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cli/common/exit_codes.h"
#include "cli/common/link_options.h"
#include "cli/common/progress_bar.h"
#include "common/failure.h"
#include "common/result_code.h"
#include "config/config_items.h"
#include "link/link_layer.h"
#include "ops/operation_record.h"

namespace vantrel::cli {

// What every command shares: the parsed link options, the link layer bound to the records,
// and the one action the chosen command runs after parsing.
class CliContext {
 public:
  CliContext();

  LinkOptions& link_options() { return link_options_; }
  // Binds the records from the options; returns the refusal text or empty.
  std::string PrepareLink();
  LinkLayer& link() { return link_; }
  InterfaceKind interface() const { return records_.interface; }
  // Makes `wait_ms` of silence end a read on every interface; 0 keeps the interfaces' own.
  void SetReadWait(int wait_ms);

  // Runs an operation; prints its message (and the cause, when known) on failure.
  int Run(int op, OperationRecord record = {}, int extra = 0);
  // Reads back only `page` after it was written, reporting as Run does; `before` is the
  // configuration read before the write.
  int ReadBack(ConfigPage page, const PrinterConfig& before, PrinterConfig& config);

  std::function<int()> action;

 private:
  LinkOptions link_options_;
  LinkSettingsRecords records_;
  CliProgressBar progress_bar_;
  LinkLayer link_;
};

// Prints a refusal on stderr; returns kExitRefused.
int Refuse(const std::string& why);

}  // namespace vantrel::cli
