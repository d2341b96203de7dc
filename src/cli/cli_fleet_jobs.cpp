#include "cli/cli_fleet_jobs.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "cli/cli_clock_text.h"
#include "cli/cli_json.h"
#include "cli/cli_status_json.h"
#include "cli/cli_terminal_text.h"
#include "config/config_file.h"
#include "ops/config_write_check.h"
#include "ops/dispatcher.h"
#include "ops/status_labels.h"
#include "ops/write_configuration.h"

namespace vantrel::cli {
namespace {

// One printer's exchanges: its own link settings, and the result they are reported into.
class FleetExchange {
 public:
  FleetExchange(const FleetTarget& target, LinkLayer& link, FleetResult& result)
      : network_(target.network), unresolved_(target.unresolved), link_(link), result_(result) {
    result_.target = target.text;
    result_.name = target.name;
    link_.BindLinkSettings(&serial_, &parallel_, &network_);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  // Runs one operation and returns its failure; a success shows that the printer was reached.
  LinkFailure Try(int op, OperationRecord record, int extra = 0) {
    LinkFailure failure = unresolved_.ok()
                              ? RunPrinterOperation(link_, op, kInterfaceEthernet, record, extra)
                              : unresolved_;
    if (failure.ok()) reached_ = true;
    return failure;
  }

  // Runs one operation; on a failure marks the result and returns false.
  bool Run(int op, OperationRecord record, int extra = 0) {
    const LinkFailure failure = Try(op, record, extra);
    if (!failure.ok()) Fail(failure);
    return failure.ok();
  }

  void Fail(const LinkFailure& failure) {
    result_.code = failure.code;
    const std::string headline(ResultMessage(failure.code));
    result_.detail = failure.detail.empty() ? headline : headline + ": " + failure.detail;
    // A connection attempt cut by the second interrupt does not tell that the printer is gone.
    const bool unreachable =
        !reached_ && failure.code == kResultPortOpenError && failure.os_error != ECANCELED;
    result_.outcome = unreachable ? FleetOutcome::kUnreachable : FleetOutcome::kFailed;
  }

  // The configuration; the serial number names a printer the discovery did not.
  bool ReadConfig(PrinterConfig& config) {
    ResetConfig(config);
    if (!Run(kOpReadConfiguration, &config)) return false;
    if (result_.name.empty()) result_.name = PrinterText(TextView(config.SerialNo));
    return true;
  }

  // Only the questions of the page just written.
  bool ReadBack(ConfigPage page, PrinterConfig& config) {
    ResetConfig(config);
    const LinkFailure failure = RunPageReadBack(link_, kInterfaceEthernet, page, config);
    if (!failure.ok()) Fail(failure);
    return failure.ok();
  }

 private:
  NetworkTarget network_;
  LinkFailure unresolved_;
  SerialSettings serial_;
  ParallelPortName parallel_;
  LinkLayer& link_;
  FleetResult& result_;
  bool reached_ = false;
};

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

FleetJob IdentityJob() {
  return [](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    result.values = nullptr;
    FleetExchange exchange(target, link, result);
    PrinterConfig config;
    if (!exchange.ReadConfig(config)) return result;
    const std::array<std::pair<const char*, std::string_view>, 4> fields = {
        {{"version", TextView(config.Version)},
         {"serial", TextView(config.SerialNo)},
         {"checksum", TextView(config.Checksum)},
         {"mileage", TextView(config.Milage)}}};
    result.values = nlohmann::json::object();
    for (const auto& [key, text] : fields) {
      (*result.values)[key] = PrinterText(text);
      result.values_text +=
          (result.values_text.empty() ? "" : ", ") + std::string(key) + ' ' + PrintableText(text);
    }
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
