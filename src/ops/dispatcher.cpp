#include "ops/dispatcher.h"

#include <array>
#include <functional>

#include "ops/send_raw_block.h"
#include "ops/status_control.h"

namespace vantrel {
namespace {

using OperationFn = std::function<ResultCode(LinkLayer&, int interface, OperationRecord&, int extra)>;

// Wraps an operation that takes no record.
OperationFn Plain(ResultCode (*fn)(LinkLayer&, int)) {
  return [fn](LinkLayer& link, int interface, OperationRecord&, int) { return fn(link, interface); };
}

// Wraps an operation whose record must be of type R.
template <typename R>
OperationFn WithRecord(ResultCode (*fn)(LinkLayer&, int, R)) {
  return [fn](LinkLayer& link, int interface, OperationRecord& record, int) -> ResultCode {
    auto* typed = std::get_if<R>(&record);
    if (typed == nullptr) return kResultUnknownError;
    return fn(link, interface, *typed);
  };
}

ResultCode QueryStatusWith(LinkLayer& link, int interface, StatusFlags* flags) {
  return flags == nullptr ? kResultUnknownError : QueryStatus(link, interface, *flags);
}

constexpr int kOperationCount = 21;

const std::array<OperationFn, kOperationCount>& OperationTable() {
  static const std::array<OperationFn, kOperationCount> table = [] {
    std::array<OperationFn, kOperationCount> t;
    t[kOpQueryStatus] = WithRecord<StatusFlags*>(QueryStatusWith);
    t[kOpFactoryDefault] = Plain(FactoryDefault);
    t[kOpPrintConfigurationPage] = Plain(PrintConfigurationPage);
    t[kOpResetPrinter] = Plain(ResetPrinter);
    t[kOpSendRawBlock] = WithRecord<RawBlock>(SendRawBlock);
    t[kOpIgnoreAutoBas] = Plain(IgnoreAutoBas);
    t[kOpProbeLink] = Plain(ProbeLink);
    return t;
  }();
  return table;
}

}  // namespace

ResultCode RunPrinterOperation(LinkLayer& link, int op, int interface, OperationRecord record,
                               int extra) {
  if (op < 0 || op >= kOperationCount) return kResultUnknownError;
  // The parallel port cannot answer, so the two reading operations are refused before it is opened.
  if (interface == kInterfaceLpt && (op == kOpQueryStatus || op == kOpReadConfiguration)) {
    return kResultReceivingError;
  }
  const OperationFn& operation = OperationTable()[static_cast<std::size_t>(op)];
  if (!operation) return kResultUnknownError;
  return operation(link, interface, record, extra);
}

}  // namespace vantrel
