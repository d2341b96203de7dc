#include "cli/fleet/fleet_jobs.h"

#include <algorithm>

#include "cli/clock/clock_text.h"
#include "cli/common/exit_codes.h"
#include "cli/common/json.h"
#include "cli/common/terminal_text.h"
#include "cli/fleet/fleet_exchange.h"
#include "cli/fleet/planned_changes.h"
#include "cli/status/status_json.h"
#include "config/config_file.h"
#include "config/config_item_edit.h"
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

// A refusal of this printer's document: "failed", 6.
void Refused(FleetResult& result, std::string detail) {
  result.outcome = FleetOutcome::kFailed;
  result.code = kExitRefused;
  result.detail = std::move(detail);
}

// Saves a configuration as read, as `config read --out` does, in the printer's file of `files`;
// the file, or none when it could not be saved, with the result failed (4).
std::optional<std::filesystem::path> SaveRead(const PrinterConfig& read, const FleetTarget& target,
                                              FleetFileNames& files, FleetResult& result) {
  std::filesystem::path file;
  std::string failure = files.Claim(TextView(read.SerialNo), target.text, file).detail;
  if (failure.empty()) {
    ConfigFileContents contents;
    contents.config = read;
    failure = SaveConfigFile(file, contents).detail;
  }
  if (failure.empty()) return file;
  result.outcome = FleetOutcome::kFailed;
  result.code = kResultFileOpenError;
  result.detail = failure;
  return std::nullopt;
}

// After a write: whether the printer now holds what was written; false, with the result
// failed, when it does not. Items it does not report are written and not verified: they are
// added to `unreported`.
bool Verify(FleetExchange& exchange, FleetResult& result, const PrinterConfig& before,
            const DocumentAtPrinter& written, ConfigPage page,
            std::vector<const ConfigItem*>& unreported) {
  PrinterConfig held;
  if (!exchange.ReadBack(page, before, held)) {
    result.detail = Detail({written.conversion, "written, not verified: " + result.detail});
    return false;
  }
  const ConfigDifferences check = CompareWrittenItems(written.config, held, page);
  if (!check.differing.empty()) {
    exchange.Fail({kResultReceivingError, 0, ""});
    result.detail = Detail(
        {written.conversion, "written, not verified; did not take: " + ItemList(check.differing)});
    return false;
  }
  unreported.insert(unreported.end(), check.unreported.begin(), check.unreported.end());
  return true;
}

// The pages a write would change, each with the document at the printer's resolution.
struct PagesToWrite {
  std::vector<std::pair<ConfigPage, DocumentAtPrinter>> pages;
  std::vector<PlannedChange> planned;
};

// Plans each page of `document` that sets anything against what the printer holds; false, with
// the printer failed, when the document cannot be converted to its resolution.
bool PlanPages(FleetExchange& exchange, FleetResult& result, const PrinterConfig& document,
               const PrinterConfig& held, const ConfigWrite& write, PagesToWrite& to_write) {
  for (const ConfigPage page : write.pages) {
    if (!PageSetsAnything(document, page)) continue;
    PageWritePlan plan = PlanPageWrite(document, held, page);
    if (!plan.document.failure.empty()) {
      exchange.Fail({kResultUnknownError, 0, plan.document.failure});
      return false;
    }
    result.detail = plan.document.conversion;
    const std::vector<std::string> labels = ItemLabels(plan.changes);
    if (labels.empty()) continue;
    result.changed.insert(result.changed.end(), labels.begin(), labels.end());
    const std::vector<PlannedChange> changes =
        PlannedChanges(plan.changes, held, plan.document.config, write.unit);
    to_write.planned.insert(to_write.planned.end(), changes.begin(), changes.end());
    to_write.pages.emplace_back(page, std::move(plan.document));
  }
  return true;
}

// Writes, after the backup, the pages of `document` that differ from what the printer holds
// and verifies them, unless the write is a plan.
void WriteDocument(FleetExchange& exchange, FleetResult& result, const FleetTarget& target,
                   const PrinterConfig& document, const PrinterConfig& held,
                   const ConfigWrite& write) {
  PagesToWrite to_write;
  if (!PlanPages(exchange, result, document, held, write, to_write)) return;
  if (write.plan) result.plan = std::move(to_write.planned);
  if (to_write.pages.empty() || write.plan) {
    result.outcome = to_write.pages.empty() ? FleetOutcome::kUnchanged : FleetOutcome::kChanged;
    return;
  }
  if (write.backups) {
    const std::optional<std::filesystem::path> file =
        SaveRead(held, target, *write.backups, result);
    if (!file) return;
    result.backup = file->string();
  }
  std::vector<const ConfigItem*> unreported;
  for (auto& [page, written] : to_write.pages) {
    PrinterConfig record = written.config;
    if (!exchange.Run(kOpWriteConfiguration, &record, ConfigPageBlock(page))) return;
    if (!Verify(exchange, result, held, written, page, unreported)) return;
  }
  result.outcome = unreported.empty() ? FleetOutcome::kVerified : FleetOutcome::kChanged;
  if (!unreported.empty()) {
    result.detail = Detail(
        {result.detail, "not reported by the printer, not verified: " + ItemList(unreported)});
  }
}

// The backup of a printer reporting `serial`: the one file of `index` whose own serial number
// is that one. False, with the printer failed (6), when there is none, when a file named for it
// cannot be read, or when there are more: two printers that reported the same serial number
// were backed up, and a printer must not get the other's configuration.
bool FindBackup(const SerialFileIndex& index, const std::filesystem::path& dir,
                std::string_view serial, FleetResult& result, ConfigFileContents& backup) {
  std::string found;
  int count = 0;
  for (const std::filesystem::path& file : index.Candidates(serial)) {
    ConfigFileContents contents;
    if (const ConfigFileResult loaded = LoadConfigFile(file, contents); !loaded.ok()) {
      Refused(result, std::string(ConfigFileMessage(loaded.code)) + ": " + loaded.detail);
      return false;
    }
    if (TextView(contents.config.SerialNo) != serial) continue;
    found += (count++ == 0 ? "" : ", ") + file.filename().string();
    backup = std::move(contents);
  }
  const std::string of = "serial number " + PrintableText(serial) + " in " + dir.string();
  if (count == 0) Refused(result, "no backup for " + of);
  if (count > 1) {
    Refused(result, std::to_string(count) + " backups of " + of + " (" + found +
                        "): cannot tell which is this printer's");
  }
  return count == 1;
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

FleetJob ConfigReadJob(std::shared_ptr<FleetFileNames> files) {
  return [files = std::move(files)](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    result.values = nullptr;
    FleetExchange exchange(target, link, result);
    PrinterConfig read;
    if (!exchange.ReadConfig(read)) return result;
    const std::optional<std::filesystem::path> file = SaveRead(read, target, *files, result);
    if (!file) return result;
    result.values = {{"file", file->string()}};
    result.values_text = file->string();
    result.outcome = FleetOutcome::kUnchanged;
    return result;
  };
}

FleetJob ConfigApplyJob(const PrinterConfig& wanted, ConfigWrite write) {
  return [wanted, write = std::move(write)](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    FleetExchange exchange(target, link, result);
    PrinterConfig document = wanted;
    if (std::string refusal = ApplyConfigEdits(document, target.overrides); !refusal.empty()) {
      Refused(result, "override " + refusal);
      return result;
    }
    PrinterConfig held;
    if (!exchange.ReadConfig(held)) return result;
    WriteDocument(exchange, result, target, document, held, write);
    return result;
  };
}

FleetJob ConfigRestoreJob(std::filesystem::path dir, ConfigWrite write) {
  auto index = std::make_shared<const SerialFileIndex>(dir);
  return [dir = std::move(dir), index = std::move(index), write = std::move(write)](
             const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    FleetExchange exchange(target, link, result);
    PrinterConfig held;
    if (!exchange.ReadConfig(held)) return result;
    const std::string_view serial = TextView(held.SerialNo);
    if (serial.empty()) {
      Refused(result, "the printer reports no serial number");
      return result;
    }
    ConfigFileContents backup;
    if (!FindBackup(*index, dir, serial, result, backup)) return result;
    WriteDocument(exchange, result, target, backup.config, held, write);
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
