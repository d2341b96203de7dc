#pragma once

#include "doctor/doctor_check.h"

namespace vantrel::cli {

// One line per check ("usb  access  FAIL  detail"), its fix indented on the next line.
void PrintDoctorText(const DoctorReport& report);
// One JSON array of {"interface", "check", "ok", "detail", "fix"}.
void PrintDoctorJson(const DoctorReport& report);

}  // namespace vantrel::cli
