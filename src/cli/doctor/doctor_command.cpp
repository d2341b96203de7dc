// doctor: read-only checks of the chosen interface (or all four), each naming its fix.
#include <unistd.h>

#include <memory>

#include "cli/common/commands.h"
#include "cli/common/decimal_integer.h"
#include "cli/doctor/doctor_output.h"
#include "doctor/run_doctor.h"

namespace vantrel::cli {
namespace {

struct DoctorOptions {
  bool json = false;
  int timeout_ms = 1500;
};

int RunDoctorCommand(const CliContext& context, const LinkOptions& link_options,
                     bool interface_given, const DoctorOptions& options) {
  LinkSettingsRecords records;
  ToLinkSettings(link_options, records);
  DoctorRequest request{records.serial,  records.parallel,
                        records.network, {},
                        CurrentUser(),   std::chrono::milliseconds(options.timeout_ms),
                        ::getpid()};
  std::optional<InterfaceKind> only;
  if (interface_given) only = context.interface();
  const DoctorReport report = RunDoctor(request, only);
  if (options.json) {
    PrintDoctorJson(report);
  } else {
    PrintDoctorText(report);
  }
  for (const DoctorCheck& check : report) {
    if (!check.ok) return 1;
  }
  return 0;
}

}  // namespace

void AddDoctorCommand(CLI::App& app, CliContext& context) {
  auto* doctor = app.add_subcommand(
      "doctor", "Check the interface (all four without -i) and name the fix for each fault");
  auto options = std::make_shared<DoctorOptions>();
  doctor->add_flag("--json", options->json, "print one JSON document");
  doctor
      ->add_option("--timeout", options->timeout_ms,
                   "milliseconds for the network checks and for the serial speed search")
      ->transform(DecimalInteger())
      ->check(CLI::Range(100, 60000))
      ->capture_default_str();
  doctor->footer("Exit status: 0 when every check passed, 1 otherwise. Nothing is changed.");
  doctor->callback([&app, &context, options] {
    const bool interface_given = app.get_option("--interface")->count() > 0;
    context.action = [&context, options, interface_given] {
      return RunDoctorCommand(context, context.link_options(), interface_given, *options);
    };
  });
}

}  // namespace vantrel::cli
