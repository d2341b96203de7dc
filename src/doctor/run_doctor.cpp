#include "doctor/run_doctor.h"

#include <array>
#include <future>

#include "doctor/network_checks.h"
#include "doctor/parallel_checks.h"
#include "doctor/serial_checks.h"
#include "doctor/usb_checks.h"

namespace vantrel {

DoctorReport RunDoctor(const DoctorRequest& request, std::optional<InterfaceKind> only) {
  using Checks = DoctorReport (*)(const DoctorRequest&);
  // Indexed by InterfaceKind.
  constexpr std::array<Checks, 4> kChecks = {CheckUsb, CheckSerial, CheckParallel, CheckNetwork};
  std::vector<std::future<DoctorReport>> running;
  for (std::size_t kind = 0; kind < kChecks.size(); ++kind) {
    if (only && *only != static_cast<InterfaceKind>(kind)) continue;
    running.push_back(std::async(std::launch::async, kChecks[kind], std::cref(request)));
  }
  DoctorReport report;
  for (auto& checks : running) {
    for (DoctorCheck& check : checks.get()) report.push_back(std::move(check));
  }
  return report;
}

}  // namespace vantrel
