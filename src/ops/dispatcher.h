#pragma once

#include "common/failure.h"
#include "common/result_code.h"
#include "config/config_items.h"
#include "link/link_layer.h"
#include "ops/operation_record.h"

namespace vantrel {

// The operation numbers; the dispatcher's table is keyed by them.
enum PrinterOperation : int {
  kOpQueryStatus = 0,
  kOpReadConfiguration = 1,
  kOpWriteConfiguration = 2,
  kOpFactoryDefault = 3,
  kOpDumpText = 4,
  kOpPrintConfigurationPage = 5,
  kOpSetClock = 6,
  kOpReadClock = 7,
  kOpCalibrateSensor = 8,
  kOpResetPrinter = 9,
  kOpReadFileList = 10,
  kOpDownloadFile = 11,
  kOpSendRawBlock = 12,
  kOpFormatMemory = 13,
  kOpPrintTestPage = 14,
  kOpIgnoreAutoBas = 15,
  kOpSetNetworkAddress = 16,
  kOpSetNetworkName = 17,
  kOpReadNetworkSettings = 18,
  kOpProbeLink = 19,
  kOpLoadFile = 20,
};

// The one entry point of every printer exchange. Blocks its caller; nothing is thrown.
// `extra` carries what the operation's record does not: the progress flag of operation 1,
// the tab index of operation 2. The result is this run's failure (its code, and what the link
// knew of the cause), or ok.
LinkFailure RunPrinterOperation(LinkLayer& link, int op, InterfaceKind interface,
                                OperationRecord record, int extra = 0);

// The check after a page was written, run as an operation: reads back only that page's
// questions into `config`, which the caller has just reset. `tolerated_answers`: as
// ReadConfigurationPage takes it.
LinkFailure RunPageReadBack(LinkLayer& link, InterfaceKind interface, ConfigPage page,
                            std::size_t tolerated_answers, PrinterConfig& config);

}  // namespace vantrel
