#pragma once

#include <optional>

#include "common/interface_kind.h"
#include "doctor/doctor_check.h"

namespace vantrel {

// Runs the checks of one interface, or of all four when none is given, each interface on its
// own thread; the findings come back in the order usb, com, lpt, net.
DoctorReport RunDoctor(const DoctorRequest& request, std::optional<InterfaceKind> only);

}  // namespace vantrel
