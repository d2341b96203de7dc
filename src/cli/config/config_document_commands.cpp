// config export / import / set: a configuration document as reviewable text, and edits to a
// document of either form without the window.
#include "cli/config/config_document_commands.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/common/report.h"
#include "cli/config/config_document.h"
#include "cli/config/config_text.h"
#include "config/config_document_text.h"
#include "config/config_item_edit.h"

namespace vantrel::cli {
namespace {

struct DocumentOptions {
  std::string document;
  std::string out;
  std::string unit;  // empty: the document's own
  std::vector<std::string> assignments;
};

int Export(const DocumentOptions& options) {
  ConfigDocument document;
  if (const int code = Report(ReadConfigDocument(options.document, document)); code != 0) {
    return code;
  }
  const LengthUnit unit = options.unit.empty() ? document.unit : UnitNamed(options.unit);
  if (!options.out.empty()) return Report(SaveConfigText(options.out, document.contents, unit));
  const ConfigTextExport exported = ExportConfigText(document.contents, unit);
  if (!exported.error.empty()) return Refuse(options.document + ": " + exported.error);
  std::cout << exported.text;
  return 0;
}

int Import(const DocumentOptions& options) {
  ConfigFileContents contents;
  if (const int code = Report(LoadConfigDocument(options.document, contents)); code != 0) {
    return code;
  }
  return Report(SaveConfigFile(options.out, contents));
}

// All the edits or none, and the file keeps its form and unit.
int Set(const DocumentOptions& options) {
  ConfigDocument document;
  if (const int code = Report(ReadConfigDocument(options.document, document)); code != 0) {
    return code;
  }
  if (std::string refusal = ApplyConfigEdits(document.contents.config, options.assignments);
      !refusal.empty()) {
    return Refuse(options.document + ": " + refusal);
  }
  return Report(SaveConfigDocument(options.document, document));
}

std::string NonEmpty(const std::string& name) {
  return name.empty() ? std::string("--out needs a file name") : std::string();
}

void OnChosen(CLI::App* command, CliContext& context, int (*run)(const DocumentOptions&),
              const std::shared_ptr<DocumentOptions>& options) {
  command->callback(
      [&context, run, options] { context.action = [run, options] { return run(*options); }; });
}

}  // namespace

void AddConfigDocumentCommands(CLI::App& config, CliContext& context) {
  auto options = std::make_shared<DocumentOptions>();

  auto* exported = config.add_subcommand(
      "export", "Print a configuration document as text: one item a line, for review and diff");
  exported->add_option("DOC", options->document, "configuration file or its text")->required();
  exported
      ->add_option("--unit", options->unit, "unit of the lengths; the document's own by default")
      ->check(CLI::IsMember({"inch", "mm"}));
  exported->add_option("--out", options->out, "write the text to this file instead")
      ->check(NonEmpty);
  OnChosen(exported, context, Export, options);

  auto* imported =
      config.add_subcommand("import", "Turn a configuration text into a configuration file");
  imported->add_option("TEXT", options->document, "configuration text")->required();
  imported->add_option("--out", options->out, "the configuration file to write")
      ->required()
      ->check(NonEmpty);
  OnChosen(imported, context, Import, options);

  auto* set = config.add_subcommand(
      "set",
      "Change items of a configuration document in place, with the window's checks: all of "
      "them or none; the document keeps its form");
  set->add_option("DOC", options->document, "configuration file or its text")->required();
  set->add_option("KEY=VALUE", options->assignments,
                  "Common.PaperWidth=4.00in, Z.PrintWidth=812dots, Common.MediaSensor=Gap; "
                  "KEY= unsets the item")
      ->required();
  OnChosen(set, context, Set, options);
}

}  // namespace vantrel::cli
