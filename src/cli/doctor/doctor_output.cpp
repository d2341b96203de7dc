#include "cli/doctor/doctor_output.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

namespace vantrel::cli {

void PrintDoctorText(const DoctorReport& report) {
  for (const DoctorCheck& check : report) {
    char head[64];
    std::snprintf(head, sizeof head, "%-4s %-14s %-5s ", check.interface.c_str(),
                  check.check.c_str(), check.ok ? "ok" : "FAIL");
    std::cout << head << check.detail << '\n';
    if (!check.fix.empty()) std::cout << std::string(26, ' ') << "fix: " << check.fix << '\n';
  }
}

void PrintDoctorJson(const DoctorReport& report) {
  nlohmann::json document = nlohmann::json::array();
  for (const DoctorCheck& check : report) {
    document.push_back({{"interface", check.interface},
                        {"check", check.check},
                        {"ok", check.ok},
                        {"detail", check.detail},
                        {"fix", check.fix}});
  }
  // Names read from the system (programs, users) need not be UTF-8: replace what is not.
  std::cout << document.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace vantrel::cli
