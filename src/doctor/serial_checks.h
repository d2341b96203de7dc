#pragma once

#include <chrono>

#include "doctor/doctor_check.h"

namespace vantrel {

// The serial ports and the one the settings name: present, access, other users, and whether a
// printer answers a status question with the record's line settings (and, when not, at which
// speed it does).
DoctorReport CheckSerial(const DoctorRequest& request);

// The wait for one status question, so that a speed search over every rate fits `timeout`.
std::chrono::milliseconds SerialQuestionWait(std::chrono::milliseconds timeout);

}  // namespace vantrel
