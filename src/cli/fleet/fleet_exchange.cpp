#include "cli/fleet/fleet_exchange.h"

#include <cerrno>

#include "cli/common/json.h"
#include "ops/config_report_steps.h"

namespace vantrel::cli {

FleetExchange::FleetExchange(const FleetTarget& target, LinkLayer& link, FleetResult& result)
    : network_(target.network), unresolved_(target.unresolved), link_(link), result_(result) {
  result_.target = target.text;
  result_.name = target.name;
  link_.BindLinkSettings(&serial_, &parallel_, &network_);
  link_.progress().SetEndDelay(std::chrono::milliseconds(0));
}

LinkFailure FleetExchange::Try(int op, OperationRecord record, int extra) {
  LinkFailure failure = unresolved_.ok()
                            ? RunPrinterOperation(link_, op, kInterfaceEthernet, record, extra)
                            : unresolved_;
  if (failure.ok()) reached_ = true;
  return failure;
}

bool FleetExchange::Run(int op, OperationRecord record, int extra) {
  const LinkFailure failure = Try(op, record, extra);
  if (!failure.ok()) Fail(failure);
  return failure.ok();
}

bool FleetExchange::RunOptional(int op, OperationRecord record, bool& answered) {
  const LinkFailure failure = Try(op, record);
  answered = failure.ok();
  if (failure.ok() || link_.AnswerMissing(failure.code)) return true;
  Fail(failure);
  return false;
}

void FleetExchange::Fail(const LinkFailure& failure) {
  result_.code = failure.code;
  const std::string headline(ResultMessage(failure.code));
  result_.detail = failure.detail.empty() ? headline : headline + ": " + failure.detail;
  // A connection attempt cut by the second interrupt does not tell that the printer is gone.
  const bool unreachable =
      !reached_ && failure.code == kResultPortOpenError && failure.os_error != ECANCELED;
  result_.outcome = unreachable ? FleetOutcome::kUnreachable : FleetOutcome::kFailed;
}

bool FleetExchange::ReadConfig(PrinterConfig& config) {
  ResetConfig(config);
  if (!Run(kOpReadConfiguration, &config)) return false;
  if (result_.name.empty()) result_.name = PrinterText(TextView(config.SerialNo));
  return true;
}

bool FleetExchange::ReadBack(ConfigPage page, const PrinterConfig& before, PrinterConfig& config) {
  ResetConfig(config);
  const LinkFailure failure =
      RunPageReadBack(link_, kInterfaceEthernet, page, ToleratedAnswers(before), config);
  if (!failure.ok()) Fail(failure);
  return failure.ok();
}

}  // namespace vantrel::cli
