#include "cli/fleet/fleet_jobs.h"

#include <algorithm>

#include "cli/clock/clock_text.h"
#include "cli/common/json.h"
#include "cli/fleet/fleet_exchange.h"
#include "cli/status/status_json.h"
#include "config/config_file.h"
#include "ops/config_write_check.h"
#include "ops/dispatcher.h"
#include "ops/status_labels.h"
#include "ops/write_configuration.h"

namespace vantrel::cli {
namespace {

std::vector<std::string> ItemLabels(const ConfigDifferences& items) {
  std::vector<std::string> labels;
  for (const ConfigItem* item : items.differing) labels.emplace_back(item->label);
  for (const ConfigItem* item : items.unreported) labels.emplace_back(item->label);
  return labels;
}

// "converted from 203 to 300 dpi; not reported ...": the parts that are not empty.
std::string Detail(std::initializer_list<std::string> parts) {
  std::string detail;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!detail.empty()) detail += "; ";
    detail += part;
  }
  return detail;
}

std::string FileNameFor(const std::string& target) {
  std::string name = target;
  for (char& c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       c == '.' || c == '-';
    if (!plain) c = '_';
  }
  return name + ".dcf";
}

// After a write: whether the printer now holds what was written. Items it does not report are
// written and not verified: the printer is "changed".
void Verify(FleetExchange& exchange, FleetResult& result, const DocumentAtPrinter& written,
            ConfigPage page) {
  PrinterConfig held;
  if (!exchange.ReadBack(page, held)) {
    result.detail = Detail({written.conversion, "written, not verified: " + result.detail});
    return;
  }
  const ConfigDifferences check = CompareWrittenItems(written.config, held, page);
  if (!check.differing.empty()) {
    exchange.Fail({kResultReceivingError, 0, ""});
    result.detail = Detail(
        {written.conversion, "written, not verified; did not take: " + ItemList(check.differing)});
    return;
  }
  const bool unreported = !check.unreported.empty();
  result.outcome = unreported ? FleetOutcome::kChanged : FleetOutcome::kVerified;
  result.detail =
      Detail({written.conversion, unreported ? "not reported by the printer, not verified: " +
                                                   ItemList(check.unreported)
                                             : ""});
}

}  // namespace

FleetJob StatusJob() {
  return [](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    result.values = nullptr;
    FleetExchange exchange(target, link, result);
    StatusFlags flags;
    if (!exchange.Run(kOpQueryStatus, &flags)) return result;
    result.values = StatusJson(flags);
    std::string lit;
    for (const auto& caption : (*result.values)["lit"]) {
      lit += (lit.empty() ? "" : ", ") + caption.get<std::string>();
    }
    result.values_text = lit.empty() ? "no label lit" : lit;
    result.ready = LitStatusLabels(flags)[kLabelReady];
    result.outcome = FleetOutcome::kUnchanged;
    return result;
  };
}

FleetJob ConfigReadJob(std::filesystem::path dir) {
  return [dir = std::move(dir)](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    result.values = nullptr;
    FleetExchange exchange(target, link, result);
    ConfigFileContents contents;
    if (!exchange.ReadConfig(contents.config)) return result;
    const std::filesystem::path file = dir / FileNameFor(target.text);
    if (const ConfigFileResult saved = SaveConfigFile(file, contents); !saved.ok()) {
      result.outcome = FleetOutcome::kFailed;
      result.code = kResultFileOpenError;
      result.detail = saved.detail;
      return result;
    }
    result.values = {{"file", file.string()}};
    result.values_text = file.string();
    result.outcome = FleetOutcome::kUnchanged;
    return result;
  };
}

FleetJob ConfigApplyJob(const PrinterConfig& wanted, ConfigPage page, bool dry_run) {
  return [wanted, page, dry_run](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    FleetExchange exchange(target, link, result);
    PrinterConfig held;
    if (!exchange.ReadConfig(held)) return result;
    const PageWritePlan plan = PlanPageWrite(wanted, held, page);
    if (!plan.document.failure.empty()) {
      exchange.Fail({kResultUnknownError, 0, plan.document.failure});
      return result;
    }
    result.detail = plan.document.conversion;
    result.changed = ItemLabels(plan.changes);
    if (result.changed.empty() || dry_run) {
      result.outcome = result.changed.empty() ? FleetOutcome::kUnchanged : FleetOutcome::kChanged;
      return result;
    }
    PrinterConfig record = plan.document.config;
    if (!exchange.Run(kOpWriteConfiguration, &record, ConfigPageBlock(page))) return result;
    Verify(exchange, result, plan.document, page);
    return result;
  };
}

FleetJob ClockSetJob(std::string when) {
  return [when = std::move(when)](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    FleetExchange exchange(target, link, result);
    std::string refusal;
    const std::optional<ClockSettings> clock = ClockFromText(when, refusal);
    if (!clock) {
      exchange.Fail({kResultUnknownError, 0, refusal});
      return result;
    }
    ClockSettings record = *clock;
    if (!exchange.Run(kOpSetClock, &record)) return result;
    result.changed = {ClockText(record)};
    result.outcome = FleetOutcome::kChanged;
    return result;
  };
}

FleetJob FilesDownloadJob(std::vector<PreparedDownload> downloads, DownloadOptions options) {
  return [downloads = std::move(downloads), options = std::move(options)](const FleetTarget& target,
                                                                          LinkLayer& link) {
    FleetResult result;
    FleetExchange exchange(target, link, result);
    // A download succeeds only when the printer lists the file afterwards: a full memory
    // swallows it without a word.
    const DownloadEnd end = SendDownloads(
        downloads, options, true,
        [&exchange](int op, OperationRecord record) { return exchange.Try(op, record); });
    if (!end.failure.ok()) {
      exchange.Fail(end.failure);
      return result;
    }
    if (!end.refusal.empty()) {
      result.code = kExitRefused;
      result.detail = end.refusal;
      return result;
    }
    const bool listed = std::any_of(downloads.begin(), downloads.end(),
                                    [](const PreparedDownload& download) { return !download.raw; });
    for (const PreparedDownload& download : downloads) {
      result.changed.push_back(
          download.raw ? std::filesystem::path(download.request.source_path).filename().string()
                       : download.request.printer_name);
    }
    result.detail = end.note;
    result.outcome = listed ? FleetOutcome::kVerified : FleetOutcome::kChanged;
    return result;
  };
}

}  // namespace vantrel::cli
