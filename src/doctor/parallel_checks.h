#pragma once

#include "doctor/doctor_check.h"

namespace vantrel {

// The parallel port the settings name: present, writable, and not held by another program.
DoctorReport CheckParallel(const DoctorRequest& request);

}  // namespace vantrel
