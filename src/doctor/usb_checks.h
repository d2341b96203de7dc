#pragma once

#include "doctor/doctor_check.h"

namespace vantrel {

// The printer the USB link would open: present, its udev rule, access to its node, the kernel
// driver on its printer interface, and other programs holding it.
DoctorReport CheckUsb(const DoctorRequest& request);

}  // namespace vantrel
