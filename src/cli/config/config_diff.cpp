// config diff: two configuration files, or a file and the printer, item by item.
#include "cli/config/config_diff.h"

#include <iomanip>
#include <iostream>
#include <memory>

#include "cli/common/json.h"
#include "cli/common/report.h"
#include "cli/config/config_document.h"
#include "cli/config/config_items.h"
#include "cli/config/config_text.h"
#include "config/config_compare.h"
#include "config/config_file.h"
#include "config/config_resolution.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {
namespace {

struct DiffOptions {
  std::vector<std::string> files;
  bool printer = false;
  std::string block = "all";
  std::string unit = "inch";
  bool json = false;
};

// With --printer only the file's items are compared: a page it sets nothing on compares nothing.
std::string NothingToCompare(const PrinterConfig& a, const std::vector<ConfigPage>& pages,
                             const std::string& file) {
  if (pages.size() == 1) return PageRefusal(a, pages[0], file);
  for (const ConfigPage page : pages) {
    if (PageSetsAnything(a, page)) return {};
  }
  return file + " sets nothing on any page";
}

nlohmann::json ItemJson(const ConfigItem& item) {
  return {{"page", ConfigPageName(item.page)}, {"item", item.label}};
}

void PrintDifferences(const DiffOptions& options, const PrinterConfig& a, const PrinterConfig& b,
                      const ConfigDifferences& found) {
  const LengthUnit unit = UnitNamed(options.unit);
  if (options.json) {
    nlohmann::json differences = nlohmann::json::array();
    for (const ConfigItem* item : found.differing) {
      nlohmann::json entry = ItemJson(*item);
      entry["a"] = ItemCell(*item, a, unit);
      entry["b"] = ItemCell(*item, b, unit);
      differences.push_back(entry);
    }
    nlohmann::json unreported = nlohmann::json::array();
    for (const ConfigItem* item : found.unreported) unreported.push_back(ItemJson(*item));
    PrintJson({{"equal", found.differing.empty()},
               {"unit", options.unit},
               {"differences", differences},
               {"not_reported", unreported}});
    return;
  }
  const std::string b_name = options.printer ? "the printer" : options.files[1];
  std::cout << "Comparing " << options.files[0] << " (" << ResolutionText(a) << ") with " << b_name
            << " (" << ResolutionText(b) << ")\n";
  std::optional<ConfigPage> shown_page;
  for (const ConfigItem* item : found.differing) {
    if (shown_page != item->page) std::cout << ConfigPageTitle(item->page) << '\n';
    shown_page = item->page;
    std::cout << "  " << std::left << std::setw(22) << item->label << std::setw(28)
              << ItemCell(*item, a, unit) << ' ' << ItemCell(*item, b, unit) << '\n';
  }
  std::cout << found.differing.size()
            << (found.differing.size() == 1 ? " item differs" : " items differ") << '\n';
  if (!found.unreported.empty()) {
    std::cout << "Not reported by the printer, not compared: " << ItemList(found.unreported)
              << '\n';
  }
}

// Reads one file of the comparison; the exit status of its failure, or 0.
int LoadSide(const std::string& file, PrinterConfig& config) {
  ConfigFileContents contents;
  const ConfigFileResult loaded = LoadConfigDocument(file, contents);
  if (loaded.ok()) config = contents.config;
  return Report(loaded);
}

int Diff(CliContext& context, const DiffOptions& options) {
  const std::size_t wanted_files = options.printer ? 1 : 2;
  if (options.files.size() != wanted_files) {
    std::cerr << (options.printer ? "config diff --printer takes one file"
                                  : "config diff takes two files, or one file and --printer")
              << "\nRun with --help for usage.\n";
    return kExitUsage;
  }
  PrinterConfig a;
  PrinterConfig b;
  if (const int code = LoadSide(options.files[0], a); code != 0) return code;
  const std::vector<ConfigPage> pages = ConfigPagesNamed(options.block);
  if (options.printer) {
    if (const std::string refusal = NothingToCompare(a, pages, options.files[0]);
        !refusal.empty()) {
      return Refuse(refusal);
    }
    ResetConfig(b);
    if (const int code = context.Run(kOpReadConfiguration, &b, 1); code != 0) return code;
  } else if (const int code = LoadSide(options.files[1], b); code != 0) {
    return code;
  }
  const ConfigDifferences found =
      options.printer ? CompareWithPrinter(a, b, pages) : CompareDocuments(a, b, pages);
  PrintDifferences(options, a, b, found);
  return found.differing.empty() ? 0 : kExitDiffers;
}

}  // namespace

void AddConfigDiffCommand(CLI::App& config, CliContext& context) {
  auto options = std::make_shared<DiffOptions>();
  auto* diff = config.add_subcommand(
      "diff",
      "Compare two configuration files, or a file and the printer (--printer), item by item; "
      "exit 0 when nothing differs, 10 when something does");
  diff->add_option("FILE", options->files,
                   "configuration files or their text: A B, or A with --printer")
      ->required();
  diff->add_flag("--printer", options->printer,
                 "compare FILE with the configuration the printer reports now");
  diff->add_option("--block", options->block, "the page to compare: common, z, d or all")
      ->check(CLI::IsMember({"common", "z", "d", "all"}))
      ->capture_default_str();
  diff->add_option("--unit", options->unit, "unit of the shown lengths")
      ->check(CLI::IsMember({"inch", "mm"}))
      ->capture_default_str();
  diff->add_flag("--json", options->json, "print one JSON document");
  diff->callback([&context, options] {
    context.action = [&context, options] { return Diff(context, *options); };
  });
}

}  // namespace vantrel::cli
