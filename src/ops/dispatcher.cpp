#include "ops/dispatcher.h"

#include <array>
#include <functional>

#include "ops/clock_operations.h"
#include "ops/download_file.h"
#include "ops/dump_text.h"
#include "ops/load_file.h"
#include "ops/memory_operations.h"
#include "ops/network_operations.h"
#include "ops/read_configuration.h"
#include "ops/send_raw_block.h"
#include "ops/sensor_calibration.h"
#include "ops/status_control.h"
#include "ops/test_page.h"
#include "ops/write_configuration.h"

namespace vantrel {
namespace {

using OperationFn =
    std::function<ResultCode(LinkLayer&, InterfaceKind interface, OperationRecord&, int extra)>;

// Wraps an operation that takes no record.
OperationFn Plain(ResultCode (*fn)(LinkLayer&, InterfaceKind)) {
  return [fn](LinkLayer& link, InterfaceKind interface, OperationRecord&, int) {
    return fn(link, interface);
  };
}

// Wraps an operation whose record must be of type R.
template <typename R>
OperationFn WithRecord(ResultCode (*fn)(LinkLayer&, InterfaceKind, R)) {
  return
      [fn](LinkLayer& link, InterfaceKind interface, OperationRecord& record, int) -> ResultCode {
        auto* typed = std::get_if<R>(&record);
        if (typed == nullptr) return kResultUnknownError;
        return fn(link, interface, *typed);
      };
}

ResultCode QueryStatusWith(LinkLayer& link, InterfaceKind interface, StatusFlags* flags) {
  return flags == nullptr ? kResultUnknownError : QueryStatus(link, interface, *flags);
}

// Runs an operation inside the progress window "Communicating...", advancing per write.
template <typename Run>
ResultCode InProgressWindow(LinkLayer& link, Run run) {
  link.progress().BeginProgress(kProgressStep, 3, 3);
  const ResultCode result = run();
  link.progress().EndProgress();
  return result;
}

PrinterConfig* ConfigOf(OperationRecord& record) {
  PrinterConfig* const* config = std::get_if<PrinterConfig*>(&record);
  return config != nullptr ? *config : nullptr;
}

// Operation 1 shows the progress window only when asked to (extra 1); the start-up read does not.
ResultCode ReadConfigurationWith(LinkLayer& link, InterfaceKind interface, OperationRecord& record,
                                 int extra) {
  PrinterConfig* config = ConfigOf(record);
  if (config == nullptr) return kResultUnknownError;
  const auto run = [&] { return ReadConfiguration(link, interface, *config); };
  return extra == 1 ? InProgressWindow(link, run) : run();
}

// Operation 2 writes the block of the page shown, which `extra` carries.
ResultCode WriteConfigurationWith(LinkLayer& link, InterfaceKind interface, OperationRecord& record,
                                  int extra) {
  const PrinterConfig* config = ConfigOf(record);
  if (config == nullptr) return kResultUnknownError;
  return InProgressWindow(link,
                          [&] { return WriteConfiguration(link, interface, *config, extra); });
}

// Wraps an operation that works on the record an R* alternative points at.
template <typename R, typename Param>
OperationFn OnRecord(ResultCode (*fn)(LinkLayer&, InterfaceKind, Param&)) {
  return
      [fn](LinkLayer& link, InterfaceKind interface, OperationRecord& record, int) -> ResultCode {
        R* const* typed = std::get_if<R*>(&record);
        if (typed == nullptr || *typed == nullptr) return kResultUnknownError;
        return fn(link, interface, **typed);
      };
}

// Operation 10 always runs inside the progress window, advancing per question.
ResultCode ReadFileListWith(LinkLayer& link, InterfaceKind interface, OperationRecord& record,
                            int) {
  MemoryInfo* const* info = std::get_if<MemoryInfo*>(&record);
  if (info == nullptr || *info == nullptr) return kResultUnknownError;
  return InProgressWindow(link, [&] { return ReadFileList(link, interface, **info); });
}

constexpr int kOperationCount = 21;

const std::array<OperationFn, kOperationCount>& OperationTable() {
  static const std::array<OperationFn, kOperationCount> table = [] {
    std::array<OperationFn, kOperationCount> t;
    t[kOpQueryStatus] = WithRecord<StatusFlags*>(QueryStatusWith);
    t[kOpReadConfiguration] = ReadConfigurationWith;
    t[kOpWriteConfiguration] = WriteConfigurationWith;
    t[kOpFactoryDefault] = Plain(FactoryDefault);
    t[kOpPrintConfigurationPage] = Plain(PrintConfigurationPage);
    t[kOpResetPrinter] = Plain(ResetPrinter);
    t[kOpReadFileList] = ReadFileListWith;
    t[kOpDownloadFile] = OnRecord<DownloadRequest>(DownloadFile);
    t[kOpSendRawBlock] = WithRecord<RawBlock>(SendRawBlock);
    t[kOpFormatMemory] = WithRecord<MemoryDevice>(FormatMemory);
    t[kOpIgnoreAutoBas] = Plain(IgnoreAutoBas);
    t[kOpSetNetworkAddress] = OnRecord<NetSettings>(SetNetworkAddress);
    t[kOpSetNetworkName] = OnRecord<NetSettings>(SetNetworkName);
    t[kOpReadNetworkSettings] = OnRecord<NetSettings>(ReadNetworkSettings);
    t[kOpProbeLink] = Plain(ProbeLink);
    t[kOpLoadFile] = OnRecord<LoadRequest>(LoadFile);
    t[kOpDumpText] = OnRecord<DumpRequest>(DumpText);
    t[kOpSetClock] = OnRecord<ClockSettings>(SetClock);
    t[kOpReadClock] = OnRecord<ClockSettings>(ReadClock);
    t[kOpCalibrateSensor] = OnRecord<CalibrationRequest>(CalibrateSensor);
    t[kOpPrintTestPage] = OnRecord<TestPageRequest>(PrintTestPage);
    return t;
  }();
  return table;
}

}  // namespace

LinkFailure RunPrinterOperation(LinkLayer& link, int op, InterfaceKind interface,
                                OperationRecord record, int extra) {
  if (op < 0 || op >= kOperationCount) return {kResultUnknownError, 0, {}};
  // The parallel port cannot answer, so the two reading operations are refused before it is opened.
  if (interface == kInterfaceLpt && (op == kOpQueryStatus || op == kOpReadConfiguration)) {
    return {kResultReceivingError, 0, {}};
  }
  const OperationFn& operation = OperationTable()[static_cast<std::size_t>(op)];
  if (!operation) return {kResultUnknownError, 0, {}};
  link.ForgetFailure();
  return link.TakeFailure(operation(link, interface, record, extra));
}

LinkFailure RunPageReadBack(LinkLayer& link, InterfaceKind interface, ConfigPage page,
                            std::size_t tolerated_answers, PrinterConfig& config) {
  if (interface == kInterfaceLpt) return {kResultReceivingError, 0, {}};
  link.ForgetFailure();
  return link.TakeFailure(ReadConfigurationPage(link, interface, page, tolerated_answers, config));
}

}  // namespace vantrel
