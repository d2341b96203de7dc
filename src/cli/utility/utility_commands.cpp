// calibrate, dump and test-page (operations 8, 4 and 14).
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "cli/common/commands.h"
#include "cli/common/decimal_integer.h"
#include "cli/common/report.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {
namespace {

constexpr std::int32_t kDefaultDotsPerUnit = 203;

struct CalibrateOptions {
  std::int32_t media = kMediaGap;
  bool manual = false;
  std::string height = "0";  // as typed: the digits are multiplied exactly
  std::string gap = "0";
  std::int32_t dots_per_unit = kDefaultDotsPerUnit;
  std::int32_t reference = 512;
  std::int32_t intensity = 2;
};

// The request, or the refusal text.
std::string ToCalibrationRequest(const CalibrateOptions& options, CalibrationRequest& request) {
  request.Confirmed = 1;
  request.MediaType = options.media;
  request.DotsPerUnit = options.dots_per_unit;
  request.Kind = options.manual ? kCalibrateManual : kCalibrateAutomatic;
  request.Reference = options.reference;
  request.Intensity = options.intensity;
  const auto height = LengthInDots(options.height, options.dots_per_unit);
  const auto gap = LengthInDots(options.gap, options.dots_per_unit);
  if (!height || !gap) return "The paper height or gap is not a decimal length that fits";
  request.PaperHeight = *height;
  request.GapHeight = *gap;
  return CalibrationRefusal(request);
}

int Calibrate(CliContext& context, const CalibrateOptions& options) {
  CalibrationRequest request;
  if (const std::string refusal = ToCalibrationRequest(options, request); !refusal.empty()) {
    return Refuse(refusal);
  }
  return context.Run(kOpCalibrateSensor, &request);
}

void AddCalibrateCommand(CLI::App& app, CliContext& context) {
  auto* calibrate = app.add_subcommand("calibrate", "Calibrate the media sensor (operation 8)");
  auto options = std::make_shared<CalibrateOptions>();
  const std::map<std::string, std::int32_t> media = {
      {"gap", kMediaGap}, {"bline", kMediaBlackMark}, {"continuous", kMediaContinuous}};
  calibrate->add_option("--media", options->media, "gap, bline or continuous")
      ->required()
      ->transform(CLI::CheckedTransformer(media, CLI::ignore_case));
  auto* manual = calibrate->add_flag("--manual", options->manual,
                                     "set the sensor reference and intensity yourself");
  auto* height = calibrate->add_option("--height", options->height,
                                       "label height, in the unit of --dots-per-unit");
  auto* gap = calibrate->add_option("--gap", options->gap, "gap height, in the same unit");
  auto* dots = calibrate
                   ->add_option("--dots-per-unit", options->dots_per_unit,
                                "printer dots in one unit of the lengths")
                   ->transform(DecimalInteger())
                   ->capture_default_str();
  auto* reference = calibrate->add_option("--reference", options->reference, "sensor reference")
                        ->transform(DecimalInteger())
                        ->capture_default_str();
  auto* intensity = calibrate->add_option("--intensity", options->intensity, "sensor intensity")
                        ->transform(DecimalInteger())
                        ->capture_default_str();
  manual->excludes(height, gap, dots);
  reference->needs(manual);
  intensity->needs(manual);
  calibrate->callback([&context, options] {
    context.action = [&context, options] { return Calibrate(context, *options); };
  });
}

int Dump(CliContext& context, DumpRequest request) {
  request.Confirmed = 1;
  if (const std::string refusal = DumpRefusal(request); !refusal.empty()) return Refuse(refusal);
  return context.Run(kOpDumpText, &request);
}

// Why `out` cannot be written, or empty: found before the printer starts its dump.
std::string DumpTargetProblem(const std::string& out) {
  std::error_code error;
  if (std::filesystem::is_directory(out, error)) return out + " is a folder";
  const std::filesystem::path parent = std::filesystem::path(out).parent_path();
  const std::filesystem::path folder = parent.empty() ? "." : parent;
  if (::access(folder.c_str(), W_OK) != 0) {
    return "cannot write in " + folder.string() + ": " + std::generic_category().message(errno);
  }
  if (!std::filesystem::is_directory(folder, error)) return folder.string() + " is not a folder";
  return {};
}

// The dump saved in the printer, loaded back and written to `out`; no question is asked, the
// command is its own confirmation.
int DumpToFile(CliContext& context, const std::string& out) {
  if (const std::string cause = DumpTargetProblem(out); !cause.empty()) {
    return Report(HostFileResult{HostFileError::kOpen, 0, cause});
  }
  if (const int code = Dump(context, {kDumpToFile, std::string(kDumpFileName), 1}); code != 0) {
    return code;
  }
  LoadRequest load = DumpFileLoadRequest();
  if (const int code = context.Run(kOpLoadFile, &load); code != 0) return code;
  const bool cut = CutToDumpLimit(load.received);
  if (const HostFileResult saved = ReplaceHostFile(out, load.received); !saved.ok()) {
    return Report(saved);
  }
  if (cut) std::cerr << "The dump was cut at " << kDumpFileLimit << " bytes\n";
  std::cout << load.received.size() << " bytes saved to " << out << '\n';
  return 0;
}

void AddDumpCommands(CLI::App& app, CliContext& context) {
  auto* dump = app.add_subcommand("dump", "Start the printer's text dump mode (operation 4)");
  dump->require_subcommand(1);
  dump->add_subcommand("print", "Print what the printer receives as text")->callback([&context] {
    context.action = [&context] { return Dump(context, {}); };
  });
  auto* card = dump->add_subcommand("card", "Save the dump on the memory card under NAME");
  auto name = std::make_shared<std::string>();
  card->add_option("NAME", *name, "the file name on the card")->required();
  card->callback([&context, name] {
    context.action = [&context, name] { return Dump(context, {kDumpToCard, *name, 1}); };
  });
  auto* file = dump->add_subcommand("file", "Save the dump in the printer and load it back");
  auto out = std::make_shared<std::string>();
  auto wait_ms = std::make_shared<int>(0);
  file->add_option("--out", *out, "where the dump is saved")->required();
  AddLoadWaitOption(*file, *wait_ms);
  file->callback([&context, out, wait_ms] {
    context.action = [&context, out, wait_ms] {
      context.SetReadWait(*wait_ms);
      return DumpToFile(context, *out);
    };
  });
}

void AddTestPageCommand(CLI::App& app, CliContext& context) {
  auto* page = app.add_subcommand("test-page", "Print a test label of this size (operation 14)");
  auto request = std::make_shared<TestPageRequest>();
  page->add_option("--width", request->LabelWidth, "label width in mm")->required();
  page->add_option("--height", request->LabelHeight, "label height in mm")->required();
  page->add_option("--dots-per-mm", request->DotsPerMm, "print head dots per mm")->required();
  page->callback([&context, request] {
    context.action = [&context, request] {
      if (const std::string refusal = TestPageRefusal(*request); !refusal.empty()) {
        return Refuse(refusal);
      }
      return context.Run(kOpPrintTestPage, request.get());
    };
  });
}

}  // namespace

void AddUtilityCommands(CLI::App& app, CliContext& context) {
  AddCalibrateCommand(app, context);
  AddDumpCommands(app, context);
  AddTestPageCommand(app, context);
}

}  // namespace vantrel::cli
